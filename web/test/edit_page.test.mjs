// The detail's name and colour controls end to end in headless Chromium,
// through their accessible names: the downloaded ROM against orvista-cli
// palette and insert --name, refusals that change nothing.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { describe, it } from 'node:test';
import { browserForTests, downloadOf } from './browser.mjs';
import { cliIn, workspace } from './fixtures.mjs';

const { work, rom, file, romFile } = workspace();
const cli = cliIn(work.dir);
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

const browser = browserForTests(work.remove);

async function opened(slot, options) {
  const { page, errors } = await browser.withRom(romFile, undefined, options);
  await page.getByRole('button', { name: slot, exact: true }).click();
  return { page, errors };
}
const changeList = (page) => page.getByRole('list', { name: 'Changes' }).getByRole('listitem').allTextContents();

const downloaded = (page, name = 'Download ROM') => downloadOf(page, name);

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

  it('takes a .pal file dropped on a pair into that pair', async () => {
    const { page } = await opened('Trainer 10');
    const text = '\tRGB 31, 31, 00\n\tRGB 00, 00, 31\n';
    file('drop.pal', text);
    await page.locator('[data-pair="normal"]').evaluate((target, text) => {
      const transfer = new DataTransfer();
      transfer.items.add(new File([text], 'drop.pal', { type: 'text/plain' }));
      target.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, bubbles: true, cancelable: true }));
    }, text);
    await page.getByRole('status').filter({ hasText: 'Trainer 10: colours from drop.pal' }).waitFor();
    assert.equal(await page.getByLabel('Colour 2', { exact: true }).inputValue(), '#0000ff');
    const { bytes } = await downloaded(page);
    assert.ok(same(bytes, cliRom('palette', 'cli.gbc', '--trainer', '10', '--from', 'drop.pal')));
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

  it("fit a phone's width", async () => {
    const { page } = await browser.page({ width: 390, height: 844 });
    await page.getByLabel('ROM file').setInputFiles(romFile);
    await page.getByRole('status').filter({ hasText: 'Opened synth.gbc' }).waitFor();
    for (const slot of ['Pokemon 25 front', 'Unown 3 front', 'Trainer 10']) {
      await page.getByRole('button', { name: slot, exact: true }).click();
      const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
      assert.ok(overflow <= 0, `${slot}: ${overflow} pixels too wide`);
      const box = await page.getByLabel('Export .pal', { exact: true }).boundingBox();
      assert.ok(box.x >= 0 && box.x + box.width <= 390, slot);
    }
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

describe('the history', () => {
  it('lists each recolour, import and rename as one change, and undo gives the ROM byte for byte', async () => {
    const { page, errors } = await opened('Pokemon 25 back');
    const steps = [rom];
    const colour2 = (await page.getByLabel('Shiny colour 2', { exact: true }).inputValue()).toUpperCase();
    await page.getByLabel('Shiny colour 1', { exact: true }).fill('#3870e8');
    await page.getByRole('status').filter({ hasText: 'Done: Pokemon 25 back: shiny colours' }).waitFor();
    steps.push((await downloaded(page)).bytes);
    await page.getByLabel('Import .pal', { exact: true }).setInputFiles(file('red.pal', '\tRGB 31, 00, 00\n\tRGB 10, 00, 00\n'));
    await page.getByRole('status').filter({ hasText: 'colours from red.pal' }).waitFor();
    steps.push((await downloaded(page)).bytes);
    const name = page.getByRole('textbox', { name: 'Name', exact: true });
    await name.fill('SPARKY');
    await name.press('Enter');
    await page.getByRole('status').filter({ hasText: 'SPARKY' }).waitFor();
    steps.push((await downloaded(page)).bytes);
    const count = (a, b) => differences(a, b).length;
    assert.deepEqual(await changeList(page), [
      `Pokemon 25 back: shiny colours #3973EE ${colour2}, ${count(steps[0], steps[1])} bytes`,
      `Pokemon 25 back: colours from red.pal, ${count(steps[1], steps[2])} bytes`,
      `Pokemon 25 back: name P25 → SPARKY, ${count(steps[2], steps[3])} bytes · downloaded`,
    ]);
    // Undo outside the name field, step by step to the ROM as opened; redo all again.
    for (let i = steps.length - 2; i >= 0; i--) {
      await page.getByRole('button', { name: 'Undo' }).click();
      await page.getByRole('status').filter({ hasText: 'Undone: Pokemon 25 back' }).waitFor();
      assert.ok(same((await downloaded(page)).bytes, steps[i]), `undo to step ${i}`);
    }
    assert.equal(await name.inputValue(), 'P25', 'the controls show the ROM undone');
    assert.equal(await page.getByLabel('Shiny colour 1', { exact: true }).inputValue(),
      await page.evaluate(() => document.querySelector('[data-pair="shiny"] .colour-hex').textContent.toLowerCase()));
    for (let i = 1; i < steps.length; i++) await page.getByRole('button', { name: 'Redo' }).click();
    await page.getByRole('status').filter({ hasText: 'Redone: Pokemon 25 back: name' }).waitFor();
    assert.ok(same((await downloaded(page)).bytes, steps.at(-1)));
    assert.equal(await name.inputValue(), 'SPARKY');
    assert.deepEqual(errors, []);
    await page.context().close();
  });

  it('keeps no change for a colour the ROM holds already, nor for a refusal', async () => {
    const { page } = await opened('Pokemon 25 front');
    const colour = page.getByLabel('Colour 1', { exact: true });
    // Off by less than one step of the game's colours.
    const held = parseInt((await colour.inputValue()).slice(1), 16);
    await colour.fill('#' + (held | 0x030303).toString(16).padStart(6, '0'));
    await page.getByRole('status').filter({ hasText: 'Nothing changed' }).waitFor();
    await page.getByLabel('Import .pal', { exact: true }).setInputFiles(file('bad.pal', 'RGB 1, 2\n'));
    await page.getByRole('status').filter({ hasText: 'bad.pal' }).waitFor();
    assert.deepEqual(await changeList(page), []);
    assert.ok(await page.getByRole('button', { name: 'Undo' }).isDisabled());
    await page.context().close();
  });
});

describe('bad input', () => {
  it('leaves the ROM and its changes as they were: a broken picture, a wrong .pal, an empty name', async () => {
    const { page, errors } = await opened('Pokemon 25 front');
    await page.getByLabel('Colour 2', { exact: true }).fill('#20a040');
    await page.getByRole('status').filter({ hasText: 'Done: Pokemon 25 front: colours' }).waitFor();
    const changed = (await downloaded(page)).bytes;
    const listed = await changeList(page);
    assert.equal(listed.length, 1);
    await page.getByLabel('Replace picture').setInputFiles(file('broken.png', Uint8Array.from([0x89, 0x50, 0x4e, 0x47, 1, 2])));
    await page.getByRole('status').filter({ hasText: 'The file "broken.png" is not a picture this browser can read.' })
      .waitFor();
    await page.getByLabel('Import shiny .pal', { exact: true }).setInputFiles(file('empty.pal', ''));
    await page.getByRole('status').filter({ hasText: 'empty.pal' }).waitFor();
    const name = page.getByRole('textbox', { name: 'Name', exact: true });
    await name.fill('');
    await name.press('Enter');
    await page.getByRole('status').filter({ hasText: 'The new name is empty.' }).waitFor();
    assert.equal(await name.inputValue(), 'P25');
    assert.deepEqual(await changeList(page), listed);
    assert.ok(same((await downloaded(page)).bytes, changed));
    await page.getByRole('button', { name: 'Undo' }).click();
    assert.ok(same((await downloaded(page)).bytes, rom));
    assert.deepEqual(errors, []);
    await page.context().close();
  });
});

describe('German', () => {
  it("names the controls in German and refuses with the core's German texts", async () => {
    const { page } = await opened('Pokemon 25 vorn', { locale: 'de-DE' });
    for (const label of ['Farbe 1', 'Farbe 2', 'Shiny-Farbe 1', 'Shiny-Farbe 2', '.pal importieren',
      'Shiny-.pal importieren'])
      assert.ok(await page.getByLabel(label, { exact: true }).isVisible(), label);
    const name = page.getByRole('textbox', { name: 'Name', exact: true });
    await name.fill('PIKA€');
    await name.press('Enter');
    await page.getByRole('status').filter({ hasText:
      'Der Name "PIKA€" enthält das Zeichen "€", das im Spiel nicht darstellbar ist. Es wurde nichts geschrieben.' })
      .waitFor();
    await page.getByLabel('.pal importieren', { exact: true }).setInputFiles(file('drei.pal',
      '\tRGB 1, 2, 3\n\tRGB 1, 2, 3\n\tRGB 1, 2, 3\n'));
    await page.getByRole('status').filter({ hasText:
      'Die Datei "drei.pal" enthält 3 Farbzeilen; eine Palettendatei enthält zwei (Farbe 1, Farbe 2).' }).waitFor();
    // Switched, the next refusal is English.
    await page.getByRole('combobox', { name: 'Sprache' }).selectOption('en');
    await name.fill('PIKA€');
    await name.press('Enter');
    await page.getByRole('status').filter({ hasText: 'which the game\'s character table cannot encode' }).waitFor();
    assert.ok(same((await downloaded(page)).bytes, rom));
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
