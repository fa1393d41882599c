// Screenshots of the detail's name and colour controls with the synthetic ROM
// open, at 1280 x 800 and 390 x 844, in headless Chromium:
//   node web/test/edit_screens.mjs OUT-DIR
// writes edit-pokemon-*.png, edit-unown-*.png and edit-trainer-*.png, and
// edit-german-1280x800.png with a refusal in German.
import { mkdirSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { openBrowser } from './browser.mjs';
import { demoPicture, png, syntheticRom, tempDir } from './fixtures.mjs';

const out = resolve(process.argv[2] ?? '.');
mkdirSync(out, { recursive: true });
const work = tempDir();
const romFile = join(work.dir, 'gold.gbc');
writeFileSync(romFile, syntheticRom('E'));
const demo = join(work.dir, 'demo.png');
writeFileSync(demo, png(56, 56, demoPicture(2, 56), [0xffffff, 0xf8d030, 0xd08010, 0], { indexed: true }));

const browser = await openBrowser();
try {
  for (const [width, height] of [[1280, 800], [390, 844]]) {
    const { page, errors } = await browser.withRom(romFile, { width, height });
    await page.getByRole('button', { name: 'Pokemon 25 front', exact: true }).click();
    await page.getByLabel('Replace picture').setInputFiles(demo);
    await page.getByRole('status').filter({ hasText: 'went into' }).waitFor();
    await page.getByLabel('Shiny colour 1', { exact: true }).fill('#3870e8');
    await page.getByRole('status').filter({ hasText: 'shiny colours' }).waitFor();
    for (const [name, slot] of [['pokemon', 'Pokemon 25 front'], ['unown', 'Unown 3 front'], ['trainer', 'Trainer 10']]) {
      await page.getByRole('button', { name: slot, exact: true }).click();
      // On a phone the detail lies above the gallery: its controls from their top.
      await page.evaluate((phone) => (phone ? document.querySelector('#detail h2').scrollIntoView()
        : window.scrollTo(0, 0)), width < 760);
      await page.screenshot({ path: join(out, `edit-${name}-${width}x${height}.png`) });
    }
    if (errors.length) throw new Error(errors.join('\n'));
    await page.context().close();
  }
  const { page, errors } = await browser.page(undefined, { locale: 'de-DE' });
  await page.getByLabel('ROM-Datei').setInputFiles(romFile);
  await page.getByRole('status').filter({ hasText: 'geöffnet' }).waitFor();
  await page.getByRole('button', { name: 'Icognito 3 vorn', exact: true }).click();
  await page.getByRole('textbox', { name: 'Name' }).fill('ICO€');
  await page.getByRole('textbox', { name: 'Name' }).press('Enter');
  await page.getByRole('status').filter({ hasText: 'nicht darstellbar' }).waitFor();
  await page.screenshot({ path: join(out, 'edit-german-1280x800.png') });
  if (errors.length) throw new Error(errors.join('\n'));
} finally {
  await browser.close();
  work.remove();
}
console.log(`screenshots in ${out}`);
