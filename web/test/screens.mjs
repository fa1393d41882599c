// Screenshots of the page with the synthetic ROM open and one picture
// replaced, at 1280 x 800 and 390 x 844, in headless Chromium:
//   node web/test/screens.mjs OUT-DIR
// writes web-1280x800.png, web-390x844.png and web-empty-1280x800.png.
import { mkdirSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { openBrowser } from './browser.mjs';
import { pattern, png, syntheticRom, tempDir } from './fixtures.mjs';

const out = resolve(process.argv[2] ?? '.');
mkdirSync(out, { recursive: true });
const work = tempDir();
const romFile = join(work.dir, 'gold.gbc');
writeFileSync(romFile, syntheticRom('E'));
const pictureFile = join(work.dir, 'hero.png');
writeFileSync(pictureFile, png(56, 56, pattern(56, 56, [0, 2, 1, 3]), [0xffffff, 0xf8a000, 0x3050f8, 0]));

const browser = await openBrowser();
try {
  const { page: empty } = await browser.page();
  await empty.screenshot({ path: join(out, 'web-empty-1280x800.png') });
  await empty.context().close();
  for (const [width, height] of [[1280, 800], [390, 844]]) {
    const { page, errors } = await browser.page({ width, height });
    await page.getByLabel('ROM file').setInputFiles(romFile);
    await page.getByRole('status').filter({ hasText: 'Opened' }).waitFor();
    await page.getByRole('button', { name: 'Pokemon 25 front', exact: true }).click();
    await page.getByLabel('Replace picture').setInputFiles(pictureFile);
    await page.getByRole('status').filter({ hasText: 'went into' }).waitFor();
    if (width > 600) await page.getByRole('button', { name: 'Pokemon 1 front', exact: true }).focus();
    await page.evaluate(() => window.scrollTo(0, 0));
    await page.screenshot({ path: join(out, `web-${width}x${height}.png`) });
    if (errors.length) throw new Error(errors.join('\n'));
    await page.context().close();
  }
} finally {
  await browser.close();
  work.remove();
}
console.log(`screenshots in ${out}`);
