// Screenshots of the page with the synthetic ROM open and one picture
// replaced, at 1280 x 800 and 390 x 844, in headless Chromium:
//   node web/test/screens.mjs OUT-DIR
// writes web-1280x800.png, web-390x844.png, web-de-1280x800.png and web-empty-1280x800.png.
import { mkdirSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { openBrowser } from './browser.mjs';
import { demoPicture, png, syntheticRom, tempDir } from './fixtures.mjs';

const out = resolve(process.argv[2] ?? '.');
mkdirSync(out, { recursive: true });
const work = tempDir();
const romFile = join(work.dir, 'gold.gbc');
const rom = syntheticRom('E');
rom.set(Buffer.from('POKEMON_GLDAAUE', 'latin1'), 0x134); // a header as the English Gold has it
rom[0x143] = 0x80;
writeFileSync(romFile, rom);
// Friendly shapes for the first slots, so the gallery shows what pictures look like.
const palettes = [[0xf83800, 0xa8a8a8], [0x58c030, 0x2f7818], [0xf8d030, 0xd08010], [0x60a0f8, 0x2050b0],
  [0xf070a0, 0xa03060], [0x9070e0, 0x503090]];
const demos = palettes.map(([c1, c2], k) => {
  const side = [56, 48, 56, 40, 48, 56][k];
  const file = join(work.dir, `demo-${k}.png`);
  writeFileSync(file, png(side, side, demoPicture(k, side), [0xffffff, c1, c2, 0], { indexed: true }));
  return { file };
});

const browser = await openBrowser();
try {
  const { page: empty } = await browser.page();
  await empty.screenshot({ path: join(out, 'web-empty-1280x800.png') });
  await empty.context().close();
  for (const [width, height, locale] of [[1280, 800, 'en-US'], [390, 844, 'en-US'], [1280, 800, 'de-DE']]) {
    const { page, errors } = await browser.page({ width, height }, { locale });
    await page.locator('#rom-input').setInputFiles(romFile);
    await page.locator('#gallery:not([hidden])').waitFor();
    for (const [k, { file }] of demos.entries()) {
      await page.locator(`#gallery .tile:nth-child(${2 * k + 1})`).click();
      await page.locator('#picture-input').setInputFiles(file);
      await page.locator('#changes-list li').nth(k).waitFor();
    }
    await page.locator('#gallery .tile:nth-child(5)').click();
    await page.evaluate(() => window.scrollTo(0, 0));
    const name = locale === 'en-US' ? `web-${width}x${height}.png` : `web-de-${width}x${height}.png`;
    await page.screenshot({ path: join(out, name) });
    if (errors.length) throw new Error(errors.join('\n'));
    await page.context().close();
  }
} finally {
  await browser.close();
  work.remove();
}
console.log(`screenshots in ${out}`);
