// Builds the page into a plain static folder: type-checks the TypeScript,
// bundles it with esbuild and copies the page, its style and the core's
// wasm module.
//   node build.mjs --out ../build-web --wasm ../build-wasm/web/orv_web.wasm
import { execFileSync } from 'node:child_process';
import { copyFileSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import * as esbuild from 'esbuild';

const here = dirname(fileURLToPath(import.meta.url));
const args = process.argv.slice(2);
const option = (name, fallback) => {
  const at = args.indexOf(name);
  return at >= 0 ? args[at + 1] : fallback;
};
const out = resolve(option('--out', join(here, '..', 'build-web')));
const wasm = option('--wasm', null);

execFileSync(process.execPath, [join(here, 'node_modules/typescript/bin/tsc'), '--noEmit', '-p', here],
  { stdio: 'inherit' });
mkdirSync(out, { recursive: true });
await esbuild.build({
  entryPoints: [join(here, 'src/main.ts')],
  bundle: true,
  format: 'esm',
  target: 'es2022',
  minify: true,
  sourcemap: false,
  legalComments: 'none',
  outfile: join(out, 'app.js'),
  logLevel: 'warning',
});
const css = await esbuild.transform(readFileSync(join(here, 'src/style.css'), 'utf8'), { loader: 'css', minify: true });
writeFileSync(join(out, 'style.css'), css.code);
copyFileSync(join(here, 'src/index.html'), join(out, 'index.html'));
copyFileSync(join(here, '..', 'app/wizard/orvista.svg'), join(out, 'favicon.svg'));
if (wasm) copyFileSync(resolve(wasm), join(out, 'orv_web.wasm'));
console.log(`built ${out}`);
