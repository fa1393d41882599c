import { loadModules } from './load.mjs';
import { syntheticRom, pattern, rgbaOf } from './fixtures.mjs';
import { readFileSync } from 'node:fs';
const [orv] = await loadModules('orv');
const rom = syntheticRom('E');
const core = await orv.OrvCore.load(readFileSync('/tmp/wt23-web/orv_web.wasm'));
let held = core.hold(rom, 'x.gbc');
const pic = { width: 56, height: 56, rgba: rgbaOf(pattern(56, 56, [0, 2, 1, 3]), [0xffffff, 0xf8a000, 0x3050f8, 0]) };
for (let k = 0; k < 8; k++) {
  const out = {};
  let t = performance.now();
  const { rom: r } = held.insert(48 + 2 * k, pic, 'p.png'); out.insert = performance.now() - t; t = performance.now();
  r.slots(); out.slots = performance.now() - t; t = performance.now();
  r.info(); out.info = performance.now() - t; t = performance.now();
  r.pictures(48, 1); out.picture = performance.now() - t;
  console.log(Object.entries(out).map(([k, v]) => `${k} ${v.toFixed(1)}`).join('  '));
  held = r;
}
