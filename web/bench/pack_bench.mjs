// A whole picture folder applied in the page, in headless Chromium on this
// machine, on the 2 MB synthetic ROM: the 620 pictures extract-all writes in
// the flat names, untouched and with the fronts of Pokemon 1..50 edited
// (light and dark shades exchanged, "Any shape" on: the synthetic fronts are
// 32 x 32), and the sprite packs' layout (618 pictures, 252 .pal files) with
// 50 shiny.pal files edited. Times are the page's own measures over fresh
// pages: "orv-folder" from the folder input's change event to the frame that
// shows the plan (files read, pictures decoded, the core's plan), then
// "orv-apply" from the Apply click to the frame that shows the applied
// change (the commit, the history, the gallery updated). The browser's own
// listing of the chosen folder, before the change event, is not counted.
// Run after scripts/web.sh --build-only:
//   node web/bench/pack_bench.mjs [RUNS]
import { spawnSync } from 'node:child_process';
import { cpSync, readdirSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { openBrowser } from '../test/browser.mjs';
import { cliPath, syntheticRom, tempDir } from '../test/fixtures.mjs';

const runs = Number(process.argv[2] ?? 5);
const work = tempDir();
const romFile = join(work.dir, 'bench.gbc');
writeFileSync(romFile, syntheticRom('E'));
const cli = (...args) => {
  const run = spawnSync(cliPath, args, { encoding: 'utf8' });
  if (run.status !== 0) throw new Error(`orvista-cli ${args.join(' ')}: ${run.stderr}`);
};
const at = (name) => join(work.dir, name);
cli('extract-all', romFile, at('flat'));
cpSync(at('flat'), at('flat-edited'), { recursive: true });
for (let n = 1; n <= 50; n++) {
  const name = `pokemon-${String(n).padStart(3, '0')}-front.png`;
  cli('convert', join(at('flat'), name), join(at('flat-edited'), name), '--exchange-light-dark');
}
cli('extract-all', romFile, at('pret'), '--layout', 'pret');
cpSync(at('pret'), at('pret-edited'), { recursive: true });
for (const folder of readdirSync(join(at('pret-edited'), 'pokemon')).filter((f) => !f.startsWith('unown')).slice(0, 50))
  writeFileSync(join(at('pret-edited'), 'pokemon', folder, 'shiny.pal'), '\tRGB 31, 00, 00\n\tRGB 00, 00, 31\n');

const cases = [
  { name: 'flat, 620 pictures untouched', dir: 'flat', anyShape: false },
  { name: 'flat, 620 pictures, 50 edited', dir: 'flat-edited', anyShape: true },
  { name: 'pret, 870 files untouched', dir: 'pret', anyShape: false },
  { name: 'pret, 870 files, 50 shiny.pal', dir: 'pret-edited', anyShape: false },
];

const browser = await openBrowser();
const measure = (page, name) => page.waitForFunction((n) => performance.getEntriesByName(n, 'measure').length > 0,
  name, { timeout: 120_000 }).then(() => page.evaluate((n) => {
  const m = performance.getEntriesByName(n, 'measure').at(-1);
  const marks = ['read', 'plan'].map((s) => performance.getEntriesByName(`${n}:${s}`).at(-1)?.startTime);
  return { total: m.duration, read: marks[0] - m.startTime, plan: marks[1] - marks[0] };
}, name));
const results = new Map(cases.map((c) => [c.name, { plan: [], read: [], core: [], apply: [], summary: '' }]));
try {
  for (let run = 0; run < runs; run++) {
    for (const c of cases) {
      const { page, errors } = await browser.page();
      await page.getByLabel('ROM file').setInputFiles(romFile);
      await page.getByRole('status').filter({ hasText: 'Opened' }).waitFor();
      if (c.anyShape) await page.getByRole('switch', { name: 'Any shape' }).check();
      await page.getByLabel('Picture folder', { exact: true }).setInputFiles(at(c.dir));
      const planned = await measure(page, 'orv-folder');
      const r = results.get(c.name);
      r.plan.push(planned.total);
      r.read.push(planned.read);
      r.core.push(planned.plan);
      r.summary = await page.locator('#folder-summary').textContent();
      const apply = page.getByRole('button', { name: 'Apply', exact: true });
      if (await apply.isEnabled()) {
        await apply.click();
        r.apply.push((await measure(page, 'orv-apply')).total);
      }
      if (errors.length) throw new Error(errors.join('\n'));
      await page.context().close();
    }
  }
} finally {
  await browser.close();
  work.remove();
}

const median = (values) => [...values].sort((a, b) => a - b)[values.length >> 1];
const ms = (values) => values.length ? `${median(values).toFixed(0).padStart(5)} ms` : '    -   ';
console.log(`median of ${runs} fresh pages each; plan = read + decode + core plan, to the frame shown`);
for (const [name, r] of results) {
  const both = r.apply.length ? r.plan.map((p, i) => p + r.apply[i]) : [];
  console.log(`${name.padEnd(32)} plan ${ms(r.plan)} (read and decode ${ms(r.read)}, core ${ms(r.core)})  ` +
    `apply ${ms(r.apply)}  plan + apply ${ms(both)}`);
  console.log(`  ${r.summary}`);
}
