// The page end to end in headless Chromium, through its accessible names:
// open a synthetic ROM, look, filter, replace a picture, download, and
// compare with orvista-cli.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { describe, it } from 'node:test';
import { browserForTests, downloadOf } from './browser.mjs';
import { applyBps, applyIps, cliPath, crc32, pattern, png, readIndexedPng, workspace } from './fixtures.mjs';

const { work, rom, file, romFile } = workspace();
const cli = (...args) => spawnSync(cliPath, args, { cwd: work.dir, encoding: 'utf8' });
const SLOT_NAME = /^(Pokemon \d+ (front|back)|Unown \d+ (front|back)|Trainer \d+)$/;
const colours = [0xffffff, 0xf8a000, 0x3050f8, 0x000000];
const pictureFile = (name, side) => file(name, png(side, side, pattern(side, side, [0, 2, 1, 3]), colours));

const browser = browserForTests(work.remove);

const opened = (viewport) => browser.withRom(romFile, viewport);

// The canvas of a gallery button as 0xRRGGBB words, rows from the top.
const canvasPixels = (page, name) => page.getByRole('button', { name, exact: true }).locator('canvas')
  .evaluate((canvas) => {
    const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    return { width: canvas.width, height: canvas.height,
      rgb: Array.from({ length: data.length / 4 }, (_, i) => data[4 * i] << 16 | data[4 * i + 1] << 8 | data[4 * i + 2]) };
  });

const download = downloadOf;

describe('the page', () => {
  it('opens a ROM and shows every slot with its facts', async () => {
    const { page, errors } = await opened();
    assert.equal(await page.getByRole('button', { name: SLOT_NAME }).count(), 618);
    for (const name of ['Pokemon 25 front', 'Pokemon 25 back', 'Unown 3 front', 'Unown 3 back', 'Trainer 10'])
      assert.equal(await page.getByRole('button', { name, exact: true }).count(), 1, name);
    const field = (f) => page.locator(`#rom-info [data-field="${f}"]`).getAttribute('title');
    assert.equal(await field('crc32'), crc32(rom).toString(16).toUpperCase().padStart(8, '0'));
    // As orvista-cli info says them.
    assert.equal(await field('header'), '0x26, wrong (should be 0x38)');
    assert.equal(await field('global'), '0x2224, wrong (should be 0x25AE)');
    // Nothing moves while the pictures out of view are drawn.
    const boxes = () => page.evaluate(() => ['#detail', '#gallery .tile:last-child', '#gallery .tile:nth-child(300)']
      .map((s) => JSON.stringify(document.querySelector(s).getBoundingClientRect())));
    const before = await boxes();
    await page.waitForFunction(() => performance.getEntriesByName('orv-gallery:all-drawn').length > 0);
    assert.deepEqual(await boxes(), before);
    assert.deepEqual(errors, []);
    await page.context().close();
  });

  it('draws a picture in its normal and shiny colours', async () => {
    const { page } = await opened();
    cli('extract', 'synth.gbc', 'p1.png', '--pokemon', '1');
    const shades = readIndexedPng(readFileSync(join(work.dir, 'p1.png')));
    const table = readFileSync(join(work.dir, 'p1.png'));
    const plte = table.indexOf('PLTE') + 4;
    const normal = [0, 1, 2, 3].map((i) => table[plte + 3 * i] << 16 | table[plte + 3 * i + 1] << 8 | table[plte + 3 * i + 2]);
    const drawn = await canvasPixels(page, 'Pokemon 1 front');
    // A 56-pixel picture fills the 56-pixel box.
    assert.deepEqual([drawn.width, drawn.height], [shades.width, shades.height]);
    assert.deepEqual(drawn.rgb, Array.from(shades.indices, (s) => normal[s]));
    await page.getByRole('switch', { name: 'Shiny colours' }).check();
    const shiny = await canvasPixels(page, 'Pokemon 1 front');
    assert.notDeepEqual(shiny.rgb, drawn.rgb);
    assert.deepEqual(shiny.rgb.map((c, i) => c === 0xffffff || c === 0), drawn.rgb.map((c) => c === 0xffffff || c === 0),
      'white and black stay');
    await page.context().close();
  });

  it('filters by number and name, and walks the gallery with the keyboard', async () => {
    const { page } = await opened();
    const filter = page.getByRole('searchbox', { name: 'Filter by name or number' });
    const shown = () => page.getByRole('button', { name: SLOT_NAME }).evaluateAll((b) => b.map((e) => e.ariaLabel));
    await filter.fill('25');
    assert.deepEqual(await shown(), ['Pokemon 25 front', 'Pokemon 25 back', 'Unown 25 front', 'Unown 25 back',
      'Trainer 25']);
    await filter.fill('P250');
    assert.deepEqual(await shown(), ['Pokemon 250 front', 'Pokemon 250 back']);
    await filter.fill('');
    const first = page.getByRole('button', { name: 'Pokemon 1 front', exact: true });
    await first.focus();
    await page.keyboard.press('ArrowRight');
    assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'Pokemon 1 back');
    assert.match(await page.locator('#detail-title').textContent(), /^Pokemon 1 back/);
    await page.keyboard.press('End');
    assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'Trainer 66');
    await page.context().close();
  });

  it('says why a file is no ROM and keeps the one open', async () => {
    const { page } = await opened();
    const other = file('notes.gbc', new Uint8Array(0x8000).fill(0x41));
    await page.getByLabel('ROM file').setInputFiles(other);
    const expected = cli('info', 'notes.gbc').stderr.replace(/^orvista-cli: /, '').trim();
    await page.getByRole('status').filter({ hasText: expected }).waitFor();
    assert.equal(await page.getByRole('button', { name: SLOT_NAME }).count(), 618);
    const { bytes } = await download(page, 'Download ROM');
    assert.ok(Buffer.from(bytes).equals(Buffer.from(rom)));
    await page.context().close();
  });

  it('replaces a picture and downloads what orvista-cli insert writes', async () => {
    const { page, errors } = await opened();
    const picture = pictureFile('hero.png', 56);
    file('cli.gbc', rom);
    assert.equal(cli('insert', 'hero.png', 'cli.gbc', '--pokemon', '25').status, 0);
    const expected = new Uint8Array(readFileSync(join(work.dir, 'cli.gbc')));

    await page.getByRole('button', { name: 'Pokemon 25 front', exact: true }).click();
    await page.getByLabel('Replace picture').setInputFiles(picture);
    await page.getByRole('status').filter({ hasText: 'hero.png went into Pokemon 25 front' }).waitFor();
    assert.equal(await page.locator('[data-fact="offset"]').textContent(), '0x1F0002');

    const changed = await download(page, 'Download ROM');
    assert.equal(changed.name, 'synth.gbc');
    assert.ok(Buffer.from(changed.bytes).equals(Buffer.from(expected)), 'the ROM differs from orvista-cli insert');
    const bps = await download(page, 'Download BPS patch');
    assert.equal(bps.name, 'synth.bps');
    assert.ok(Buffer.from(applyBps(bps.bytes, rom)).equals(Buffer.from(expected)));
    const ips = await download(page, 'Download IPS patch');
    assert.ok(Buffer.from(applyIps(ips.bytes, rom)).equals(Buffer.from(expected)));
    assert.deepEqual(errors, []);
    await page.context().close();
  });

  it('refuses a shape the game does not show and changes nothing', async () => {
    const { page } = await opened();
    await page.getByRole('button', { name: 'Pokemon 25 back', exact: true }).click();
    await page.getByLabel('Replace picture').setInputFiles(pictureFile('big.png', 56));
    await page.getByRole('status').filter({ hasText: 'the game draws only pictures of 48 x 48 pixels' }).waitFor();
    const { bytes } = await download(page, 'Download ROM');
    assert.ok(Buffer.from(bytes).equals(Buffer.from(rom)));
    await page.context().close();
  });

  it('opens a ROM dropped on the page and takes a picture dropped on the detail', async () => {
    const { page } = await browser.page();
    const drop = (selector, name, bytes) => page.evaluate(async ({ selector, name, data }) => {
      const transfer = new DataTransfer();
      const body = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
      transfer.items.add(new File([body], name, { type: name.endsWith('.png') ? 'image/png' : '' }));
      document.querySelector(selector).dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true,
        cancelable: true }));
    }, { selector, name, data: Buffer.from(bytes).toString('base64') });
    await drop('main', 'dropped.gbc', rom);
    await page.getByRole('status').filter({ hasText: 'Opened dropped.gbc' }).waitFor();
    await page.getByRole('button', { name: 'Trainer 10', exact: true }).click();
    await drop('#detail', 'drop.png', readFileSync(pictureFile('drop.png', 56)));
    await page.getByRole('status').filter({ hasText: 'drop.png went into Trainer 10' }).waitFor();
    await page.context().close();
  });

  it("fits a phone's width", async () => {
    const { page } = await opened({ width: 390, height: 844 });
    const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
    assert.ok(overflow <= 0, `${overflow} pixels too wide`);
    for (const name of ['Download ROM', 'Download BPS patch', 'Download IPS patch'])
      assert.ok(await page.getByRole('button', { name }).isVisible(), name);
    await page.context().close();
  });
});
