// The browser edition's speed in headless Chromium on this machine, on the
// 2 MB synthetic ROM, against its goals:
//   open a ROM and show every picture   < 500 ms
//   replace one picture                 <  50 ms
//   the page's files, gzip-compressed   < 500 KB
// Times are the page's own measures, from the file input's change event to
// the frame that shows the result (performance.measure "orv-open" and
// "orv-replace"), over fresh pages. Run after scripts/web.sh --build-only:
//   node web/bench/page_bench.mjs [RUNS]
import { readdirSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { openBrowser } from '../test/browser.mjs';
import { pattern, png, syntheticRom, tempDir, webDir } from '../test/fixtures.mjs';

const runs = Number(process.argv[2] ?? 10);
const work = tempDir();
const romFile = join(work.dir, 'bench.gbc');
writeFileSync(romFile, syntheticRom('E'));
const pictures = [0, 1, 2, 3].map((k) => {
  const file = join(work.dir, `picture-${k}.png`);
  const colours = [0xffffff, 0xf8a000 + k * 0x10, 0x3050f8 - k * 0x10, 0];
  writeFileSync(file, png(56, 56, pattern(56, 56, [0, 2, 1, 3]), colours));
  return file;
});

const browser = await openBrowser();
const measure = (page, name, count) => page.waitForFunction(
  ([n, c]) => performance.getEntriesByName(n, 'measure').length >= c, [name, count])
  .then(() => page.evaluate((n) => performance.getEntriesByName(n, 'measure').at(-1).duration, name));

const open = [], replace = [], steps = {};
const openSteps = ['read', 'info', 'slots', 'pictures', 'gallery'];
const replaceSteps = ['decode', 'insert', 'slots'];
const stepTimes = (page, name, names) => page.evaluate(([name, names]) => {
  const start = performance.getEntriesByName(`${name}:start`).at(-1).startTime;
  const end = performance.getEntriesByName(name, 'measure').at(-1);
  const marks = names.map((n) => performance.getEntriesByName(`${name}:${n}`).at(-1).startTime);
  return [...marks, end.startTime + end.duration].map((t, k, all) => t - (k ? all[k - 1] : start));
}, [name, names]);
const replaceParts = {};
try {
  for (let run = 0; run < runs; run++) {
    const { page, errors } = await browser.page();
    await page.getByLabel('ROM file').setInputFiles(romFile);
    open.push(await measure(page, 'orv-open', 1));
    const marks = await page.evaluate((names) => names.map((n) => performance.getEntriesByName(`orv-open:${n}`)[0]
      ?.startTime ?? NaN).concat(performance.getEntriesByName('orv-open:start')[0].startTime), openSteps);
    let previous = marks.at(-1);
    openSteps.forEach((n, k) => {
      (steps[n] ??= []).push(marks[k] - previous);
      previous = marks[k];
    });
    const slots = ['Pokemon 25 front', 'Trainer 10', 'Pokemon 150 front', 'Trainer 40'];
    for (let k = 0; k < pictures.length; k++) {
      await page.getByRole('button', { name: slots[k], exact: true }).click();
      await page.getByLabel('Replace picture').setInputFiles(pictures[k]);
      replace.push(await measure(page, 'orv-replace', k + 1));
      (await stepTimes(page, 'orv-replace', replaceSteps)).forEach((t, j) => (replaceParts[j] ??= []).push(t));
    }
    if (errors.length) throw new Error(errors.join('\n'));
    await page.context().close();
  }
} finally {
  await browser.close();
  work.remove();
}

const stats = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return { median: sorted[sorted.length >> 1], min: sorted[0], max: sorted.at(-1), n: sorted.length };
};
const line = (what, s, goal) => console.log(
  `${what.padEnd(34)} median ${s.median.toFixed(1).padStart(7)} ms  min ${s.min.toFixed(1).padStart(7)}  ` +
  `max ${s.max.toFixed(1).padStart(7)}  (n=${s.n}, goal < ${goal} ms) ${s.median < goal ? 'met' : 'MISSED'}`);
line('open 2 MB ROM, show 618 pictures', stats(open), 500);
console.log('  steps (median ms): ' + openSteps.map((n) => `${n} ${stats(steps[n]).median.toFixed(1)}`).join(', ') +
  ', then the frame');
line('replace one picture', stats(replace), 50);
const later = replace.filter((_, i) => i % pictures.length > 0);
console.log(`  after the page's first replacement (its code compiled and optimised): median ${stats(later).median.toFixed(1)} ms`);
console.log('  steps (median ms): ' + [...replaceSteps, 'rest and the frame'].map((n, j) =>
  `${n} ${stats(replaceParts[j]).median.toFixed(1)}`).join(', '));

let raw = 0, gzip = 0;
for (const name of readdirSync(webDir).sort()) {
  const bytes = readFileSync(join(webDir, name));
  const packed = gzipSync(bytes, { level: 9 }).length;
  raw += statSync(join(webDir, name)).size;
  gzip += packed;
  console.log(`  ${name.padEnd(16)} ${String(bytes.length).padStart(8)} bytes, gzip ${String(packed).padStart(7)}`);
}
console.log(`page files: ${raw} bytes, gzip ${gzip} bytes (goal < 500 KB) ${gzip < 500 * 1024 ? 'met' : 'MISSED'}`);
