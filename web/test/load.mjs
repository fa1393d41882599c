// The page's TypeScript modules for node: bundled by esbuild into a
// temporary folder and imported, with the built wasm module.
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import * as esbuild from 'esbuild';
import { webDir } from './fixtures.mjs';

const src = join(import.meta.dirname, '..', 'src');

export async function loadModules(...names) {
  const out = mkdtempSync(join(tmpdir(), 'orv-web-modules-'));
  try {
    await esbuild.build({
      entryPoints: names.map((name) => join(src, `${name}.ts`)),
      bundle: true, format: 'esm', platform: 'neutral', outdir: out, outExtension: { '.js': '.mjs' },
      logLevel: 'error',
    });
    return await Promise.all(names.map((name) => import(join(out, `${name}.mjs`))));
  } finally {
    rmSync(out, { recursive: true, force: true });
  }
}

export const wasmPath = process.env.ORV_WASM ?? join(webDir, 'orv_web.wasm');
export const wasmBytes = () => readFileSync(wasmPath);
