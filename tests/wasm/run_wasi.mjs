// Runs a wasm32-wasi command module under node's WASI and exits with its
// status; a trap (such as a stack overflow) exits with 1.
//   node --no-warnings run_wasi.mjs MODULE.wasm [ARGS...]
import { readFile } from 'node:fs/promises';
import { WASI } from 'node:wasi';

const [path, ...args] = process.argv.slice(2);
if (!path) {
  console.error('usage: run_wasi.mjs MODULE.wasm [ARGS...]');
  process.exit(2);
}
const wasi = new WASI({ version: 'preview1', args: [path, ...args], env: {}, returnOnExit: true });
try {
  const module = await WebAssembly.compile(await readFile(path));
  const instance = await WebAssembly.instantiate(module, wasi.getImportObject());
  process.exitCode = wasi.start(instance);
} catch (error) {
  console.error(`${path}: ${error}`);
  process.exitCode = 1;
}
