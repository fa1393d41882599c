// The detail's name and colour controls end to end in headless Chromium,
// through their accessible names: the downloaded ROM against orvista-cli
// palette and insert --name, refusals that change nothing.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, describe, it } from 'node:test';
import { openBrowser } from './browser.mjs';
import { cliPath, syntheticRom, tempDir } from './fixtures.mjs';

const work = tempDir();
const rom = syntheticRom('E');
const file = (name, bytes) => {
  writeFileSync(join(work.dir, name), bytes);
  return join(work.dir, name);
};
const romFile = file('synth.gbc', rom);
const cli = (...args) => {
  const run = spawnSync(cliPath, args, { cwd: work.dir, encoding: 'utf8' });
  return { code: run.status, out: run.stdout, err: run.stderr.replace(/^orvista-cli: /, '').trim() };
};
const read = (name) => new Uint8Array(readFileSync(join(work.dir, name)));
const same = (a, b) => Buffer.from(a).equals(Buffer.from(b));
const differences = (a, b) => a.reduce((list, byte, i) => (byte !== b[i] ? [...list, i] : list), []);
// The ROM as orvista-cli leaves it after the arguments, from the synthetic ROM.
function cliRom(...args) {
  file('cli.gbc', rom);
  const run = cli(...args);
  assert.equal(run.code, 0, run.err);
  return read('cli.gbc');
}

let browser;
before(async () => {
  browser = await openBrowser();
});
after(async () => {
  await browser?.close();
  work.remove();
});

async function opened(slot) {
  const { page, errors } = await browser.page();
  await page.getByLabel('ROM file').setInputFiles(romFile);
  await page.getByRole('status').filter({ hasText: 'Opened synth.gbc' }).waitFor();
  await page.getByRole('button', { name: slot, exact: true }).click();
  return { page, errors };
}

async function downloaded(page, name = 'Download ROM') {
  const [download] = await Promise.all([page.waitForEvent('download'), page.getByRole('button', { name }).click()]);
  return { name: download.suggestedFilename(), bytes: new Uint8Array(readFileSync(await download.path())) };
}

// The colours drawn on a canvas, as 0xRRGGBB.
const drawnColours = (locator) => locator.evaluate((canvas) => {
  const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
  const found = new Set();
  for (let i = 0; i < data.length; i += 4) if (data[i + 3]) found.add(data[i] << 16 | data[i + 1] << 8 | data[i + 2]);
  return [...found];
});

describe('colours', () => {
  it('recolours a shiny pair: its 4 bytes and the checksum, as orvista-cli palette --set', async () => {
    const { page, errors } = await opened('Pokemon 25 back');
    const colour1 = page.getByLabel('Shiny colour 1', { exact: true });
    await colour1.fill('#3870e8');
    await page.getByRole('status').filter({ hasText: 'shiny colours' }).waitFor();
    // Snapped to the game's colour: each component divided by 8, then c * 255 / 31.
    assert.equal(await colour1.inputValue(), '#3973ee');
    await page.getByLabel('Shiny colour 2', { exact: true }).fill('#f8d030');
    await page.getByRole('status').filter({ hasText: '#FFD531' }).waitFor();
    assert.equal(await page.getByLabel('Shiny colour 2', { exact: true }).inputValue(), '#ffd531');
    // The detail's shiny picture and the gallery (shiny colours on) draw them.
    const shown = await drawnColours(page.locator('#view-shiny'));
    assert.ok(shown.includes(0x3973ee) && shown.includes(0xffd531), shown.map((c) => c.toString(16)).join());
    await page.getByRole('switch', { name: 'Shiny colours' }).check();
    const tile = await drawnColours(page.getByRole('button', { name: 'Pokemon 25 front', exact: true }).locator('canvas'));
    assert.ok(tile.includes(0x3973ee) && tile.includes(0xffd531));

    const { bytes } = await downloaded(page);
    const expected = cliRom('palette', 'cli.gbc', '--pokemon', '25', '--shiny', '--set', '3870E8', 'F8D030');
    assert.ok(same(bytes, expected), 'the ROM differs from orvista-cli palette --set');
    const diff = differences(bytes, rom);
    const palette = diff.filter((at) => at !== 0x14e && at !== 0x14f);
    assert.equal(palette.length, 4);
    assert.equal(palette[3] - palette[0], 3);
    assert.deepEqual(errors, []);
    await page.context().close();
  });

  it('imports a .pal file into the pair chosen and exports it as the packs name it', async () => {
    const { page } = await opened('Unown 3 front');
    assert.ok(await page.getByRole('note').filter({ hasText: 'Pokemon 201' }).isVisible());
    const pal = file('blue.pal', '\tRGB 02, 10, 28\n\tRGB 30, 30, 00\n');
    await page.getByLabel('Import shiny .pal', { exact: true }).setInputFiles(pal);
    await page.getByRole('status').filter({ hasText: 'blue.pal' }).waitFor();
    const { bytes } = await downloaded(page);
    assert.ok(same(bytes, cliRom('palette', 'cli.gbc', '--unown', '3', '--shiny', '--from', 'blue.pal')));
    const exported = await downloaded(page, 'Export shiny .pal');
    assert.equal(exported.name, 'shiny.pal');
    assert.equal(cli('palette', 'cli.gbc', '--unown', '3', '--shiny', '--to', 'shiny-cli.pal').code, 0);
    assert.ok(same(exported.bytes, read('shiny-cli.pal')));
    assert.equal(cli('palette', 'synth.gbc', '--unown', '3', '--to', 'normal.pal').code, 0);
    const normal = await downloaded(page, 'Export .pal');
    assert.equal(normal.name, 'normal.pal');
    assert.ok(same(normal.bytes, read('normal.pal')));
    await page.context().close();
  });

  it("refuses a broken .pal with the command line's message and keeps the ROM", async () => {
    const { page, errors } = await opened('Pokemon 25 front');
    const broken = file('broken.pal', '\tRGB 02, 10, 28\n\tRGB 30, 40, 00\n');
    const expected = cli('palette', 'synth.gbc', '--pokemon', '25', '--from', 'broken.pal');
    assert.equal(expected.code, 1);
    const before = await page.getByLabel('Colour 1', { exact: true }).inputValue();
    await page.getByLabel('Import .pal', { exact: true }).setInputFiles(broken);
    await page.getByRole('status').filter({ hasText: expected.err }).waitFor();
    assert.equal(await page.getByLabel('Colour 1', { exact: true }).inputValue(), before);
    const { bytes } = await downloaded(page);
    assert.ok(same(bytes, rom), 'a broken .pal changed the ROM');
    assert.deepEqual(errors, []);
    await page.context().close();
  });

  it('offers a trainer one pair and no name, a Pokemon no shared-pair note', async () => {
    const { page } = await opened('Trainer 10');
    assert.ok(await page.getByLabel('Colour 1', { exact: true }).isVisible());
    assert.ok(!(await page.getByLabel('Shiny colour 1', { exact: true }).isVisible()));
    assert.ok(!(await page.getByRole('textbox', { name: 'Name', exact: true }).isVisible()));
    await page.getByRole('button', { name: 'Pokemon 3 front', exact: true }).click();
    assert.ok(await page.getByLabel('Shiny colour 1', { exact: true }).isVisible());
    assert.ok(!(await page.getByRole('note').filter({ hasText: 'Pokemon 201' }).isVisible()));
    await page.context().close();
  });
});

describe('names', () => {
  it('renames on Enter: the name field as orvista-cli insert --name writes it', async () => {
    const { page, errors } = await opened('Pokemon 25 front');
    const name = page.getByRole('textbox', { name: 'Name', exact: true });
    assert.equal(await name.getAttribute('maxlength'), '10');
    await name.fill('PIKAPIKA');
    await name.press('Enter');
    await page.getByRole('status').filter({ hasText: 'PIKAPIKA' }).waitFor();
    assert.match(await page.locator('#detail-title').textContent(), /PIKAPIKA/);
    const { bytes } = await downloaded(page);
    cli('extract', 'synth.gbc', 'own.png', '--pokemon', '25');
    const expected = cliRom('insert', 'own.png', 'cli.gbc', '--pokemon', '25', '--any-shape', '--name', 'PIKAPIKA');
    const diff = differences(bytes, rom).filter((at) => at !== 0x14e && at !== 0x14f);
    assert.ok(diff.length > 0 && diff.at(-1) - diff[0] < 10, `changed ${diff}`);
    for (const at of diff) assert.equal(bytes[at], expected[at], `byte ${at.toString(16)}`);
    const field = diff[0];
    assert.ok(same(bytes.subarray(field, field + 10), expected.subarray(field, field + 10)));
    assert.deepEqual(errors, []);
    await page.context().close();
  });

  it("refuses a character the game can not write with the command line's reason, and shows the ROM's name", async () => {
    const { page } = await opened('Pokemon 25 front');
    const name = page.getByRole('textbox', { name: 'Name', exact: true });
    const before = await name.inputValue();
    cli('extract', 'synth.gbc', 'own.png', '--pokemon', '25');
    file('cli.gbc', rom);
    const expected = cli('insert', 'own.png', 'cli.gbc', '--pokemon', '25', '--any-shape', '--name', 'PIKA€');
    assert.equal(expected.code, 1);
    await name.fill('PIKA€');
    await name.press('Enter');
    await page.getByRole('status').filter({ hasText: expected.err }).waitFor();
    assert.equal(await name.inputValue(), before);
    const { bytes } = await downloaded(page);
    assert.ok(same(bytes, rom), 'a refused name changed the ROM');
    await page.context().close();
  });
});
