// Screenshots of the picture folders and the space map with the synthetic ROM
// open and an edited pack planned, at 1280 x 800 and 390 x 844, in headless
// Chromium:
//   node web/test/folder_screens.mjs OUT-DIR
// writes folders-plan-*.png (the plan listed), folders-applied-*.png (after
// Apply, with the download choice) and space-*.png (a free bank chosen).
import { spawnSync } from 'node:child_process';
import { cpSync, mkdirSync, writeFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { openBrowser } from './browser.mjs';
import { cliPath, demoPicture, png, syntheticRom, tempDir } from './fixtures.mjs';

const out = resolve(process.argv[2] ?? '.');
mkdirSync(out, { recursive: true });
const work = tempDir();
const romFile = join(work.dir, 'gold.gbc');
writeFileSync(romFile, syntheticRom('E'));
const put = (path, bytes) => {
  mkdirSync(dirname(join(work.dir, path)), { recursive: true });
  writeFileSync(join(work.dir, path), bytes);
};
if (spawnSync(cliPath, ['extract-all', romFile, join(work.dir, 'extracted'), '--layout', 'pret']).status !== 0)
  throw new Error('extract-all failed');
cpSync(join(work.dir, 'extracted'), join(work.dir, 'my-pack/gfx'), { recursive: true });
const shape = (k, side, c1, c2) => png(side, side, demoPicture(k, side), [0xffffff, c1, c2, 0], { indexed: true });
put('my-pack/gfx/pokemon/bulbasaur/front.png', shape(1, 56, 0x58c030, 0x2f7818));
put('my-pack/gfx/pokemon/bulbasaur/back.png', shape(1, 48, 0x58c030, 0x2f7818));
put('my-pack/gfx/pokemon/charmander/front.png', shape(0, 56, 0xf83800, 0xa8a8a8));
put('my-pack/gfx/pokemon/charmander/back.png', shape(0, 48, 0xf83800, 0xa8a8a8));
put('my-pack/gfx/pokemon/squirtle/shiny.pal', 'RGB 12, 20, 31\nRGB 04, 08, 20\n');
put('my-pack/gfx/trainers/falkner.png', shape(2, 56, 0x60a0f8, 0x2050b0));
put('my-pack/gfx/pokemon/pikachu/front_silver.png', shape(3, 56, 0xf8d030, 0xd08010));
put('my-pack/gfx/egg/egg.png', shape(0, 16, 0xf8d030, 0xd08010));

const browser = await openBrowser();
try {
  for (const [width, height] of [[1280, 800], [390, 844]]) {
    const { page, errors } = await browser.withRom(romFile, { width, height });
    await page.getByLabel('Picture folder', { exact: true }).setInputFiles(join(work.dir, 'my-pack'));
    await page.getByRole('status').filter({ hasText: 'would change' }).waitFor();
    await page.locator('#folders').scrollIntoViewIfNeeded();
    await page.locator('#space-total').filter({ hasText: 'All banks' }).waitFor();
    await page.screenshot({ path: join(out, `folders-plan-${width}x${height}.png`) });
    await page.getByRole('button', { name: 'Apply', exact: true }).click();
    await page.getByRole('status').filter({ hasText: 'Applied' }).waitFor();
    await page.getByRole('radio', { name: 'disassembly layout' }).check();
    await page.getByRole('button', { name: 'Download pictures' }).scrollIntoViewIfNeeded();
    await page.screenshot({ path: join(out, `folders-applied-${width}x${height}.png`) });
    await page.locator('#space').scrollIntoViewIfNeeded();
    await page.getByRole('group', { name: 'Banks' }).getByRole('button', { name: /^Bank 0x7D:/ }).click();
    await page.locator('#space').scrollIntoViewIfNeeded();
    await page.getByText('Would fit the run at 0x1F4000').waitFor();
    await page.screenshot({ path: join(out, `space-${width}x${height}.png`) });
    if (errors.length) throw new Error(errors.join('\n'));
    await page.context().close();
  }
} finally {
  await browser.close();
  work.remove();
}
console.log(`screenshots in ${out}`);
