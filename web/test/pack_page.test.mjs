// Picture folders, pictures downloaded and the space map on the page, in
// headless Chromium through the accessible names, against orvista-cli
// insert-all, extract-all and space on the same ROM and folders.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { cpSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { before, describe, it } from 'node:test';
import { browserForTests, downloadOf } from './browser.mjs';
import { cliPath, pattern, png, readIndexedPng, workspace } from './fixtures.mjs';
import { listFolder, readZip } from './folder_fixtures.mjs';

const { work, rom, file: put, romFile } = workspace();
const cli = (...args) => spawnSync(cliPath, args, { cwd: work.dir, encoding: 'utf8' });
const colours = [0xffffff, 0xf8a000, 0x3050f8, 0x000000];
const picture = (side, order = [0, 2, 1, 3]) => png(side, side, pattern(side, side, order), colours);
const same = (a, b) => Buffer.from(a).equals(Buffer.from(b));

// The ROM insert-all makes of the folder.
function insertAll(dir) {
  const copy = `cli-${dir}.gbc`;
  writeFileSync(join(work.dir, copy), rom);
  const run = cli('insert-all', dir, copy);
  assert.equal(run.status, 0, run.stderr);
  return new Uint8Array(readFileSync(join(work.dir, copy)));
}

const browser = browserForTests(work.remove);
before(() => {
  assert.equal(cli('extract-all', 'synth.gbc', 'extracted-pret', '--layout', 'pret').status, 0);
  assert.equal(cli('extract-all', 'synth.gbc', 'extracted-flat').status, 0);
  // A pack in DIR/gfx: a Pokemon's front and back in new colours, a new shiny pair, something unknown.
  cpSync(join(work.dir, 'extracted-pret'), join(work.dir, 'pack/gfx'), { recursive: true });
  put('pack/gfx/pokemon/pikachu/front.png', picture(56));
  put('pack/gfx/pokemon/pikachu/back.png', picture(48, [2, 0, 1, 3]));
  put('pack/gfx/pokemon/chikorita/shiny.pal', 'RGB 1, 2, 3\nRGB 30, 29, 28\n');
  put('pack/gfx/trainers/falkner.png', picture(56, [3, 1, 0, 2]));
  put('pack/gfx/egg/egg.png', picture(8));
});
const opened = (viewport) => browser.withRom(romFile, viewport);
const download = downloadOf;

const chooseFolder = (page, dir) => page.getByLabel('Picture folder', { exact: true }).setInputFiles(join(work.dir, dir));

describe('a picture folder on the page', () => {
  it('is listed, applied as insert-all writes it as one change, undone to the ROM as opened and redone', async () => {
    const expected = insertAll('pack');
    const { page, errors } = await opened();
    await chooseFolder(page, 'pack');
    await page.getByRole('status').filter({ hasText: 'The folder pack would change 4 of 870 files' }).waitFor();
    const list = page.getByRole('list', { name: 'pack (disassembly layout in gfx/)' });
    for (const [name, outcome] of [['pokemon/pikachu/front.png', /in place|moved/], ['pokemon/chikorita/shiny.pal',
      /palette set/], ['egg/', /left out/]])
      assert.match(await list.getByRole('listitem').filter({ hasText: name }).textContent(), outcome, name);
    assert.equal(await list.getByRole('listitem').filter({ hasText: 'unchanged' }).count(), 0);
    await page.getByRole('switch', { name: 'Show unchanged' }).check();
    assert.equal(await list.getByRole('listitem').filter({ hasText: 'unchanged' }).count(), 866);
    // Nothing changes before Apply.
    assert.ok(same((await download(page, 'Download ROM')).bytes, rom));

    await page.getByRole('button', { name: 'Apply', exact: true }).click();
    await page.getByRole('status').filter({ hasText: 'Applied the folder pack: 3 pictures, 1 palettes' }).waitFor();
    assert.ok(same((await download(page, 'Download ROM')).bytes, expected), 'the ROM differs from insert-all');
    const changes = page.getByRole('list', { name: 'Changes' }).getByRole('listitem');
    assert.equal(await changes.count(), 1);
    const bytes = expected.reduce((n, b, i) => n + (b !== rom[i] ? 1 : 0), 0);
    assert.match(await changes.first().textContent(), new RegExp(`^Picture folder: 3 pictures, 1 palettes, ${bytes.toLocaleString('en')} bytes`));

    await page.getByRole('button', { name: 'Undo', exact: true }).click();
    await page.getByRole('status').filter({ hasText: 'Undone: Picture folder' }).waitFor();
    assert.ok(same((await download(page, 'Download ROM')).bytes, rom), 'undo left other bytes');
    await page.getByRole('button', { name: 'Redo', exact: true }).click();
    await page.getByRole('status').filter({ hasText: 'Redone: Picture folder' }).waitFor();
    assert.ok(same((await download(page, 'Download ROM')).bytes, expected));
    assert.deepEqual(errors, []);
    await page.context().close();
  });

  it('is read when dropped on the page, flat names and an own file included', async () => {
    cpSync(join(work.dir, 'extracted-flat'), join(work.dir, 'flat'), { recursive: true });
    put('flat/trainer-10.png', picture(56, [0, 1, 2, 3]));
    assert.equal(cli('extract', 'synth.gbc', 'flat/pokemon-004-front.orv', '--pokemon', '3').status, 0);
    put('flat/notes/readme.txt', 'x');
    const expected = insertAll('flat');
    const files = listFolder(join(work.dir, 'flat')).map((e) => ({ ...e,
      data: e.kind === 'file' ? readFileSync(join(work.dir, 'flat', e.path)).toString('base64') : null }));
    const { page } = await opened();
    // The folder as the browser hands a dropped one over: entries read through their readers.
    await page.evaluate((files) => {
      const made = (name, data) => new File([Uint8Array.from(atob(data), (c) => c.charCodeAt(0))], name);
      const folder = (path) => {
        const children = files.filter((f) => f.path.startsWith(path ? `${path}/` : '') &&
          !f.path.slice(path ? path.length + 1 : 0).includes('/'));
        return {
          isDirectory: true, isFile: false, name: path.split('/').pop() || 'flat',
          createReader() {
            let done = false;
            return { readEntries(ok) { setTimeout(() => ok(done ? [] : (done = true, children.map(entry))), 0); } };
          },
        };
      };
      const entry = (f) => f.kind === 'folder' ? folder(f.path) : { isDirectory: false, isFile: true,
        name: f.path.split('/').pop(), file(ok) { ok(made(f.path.split('/').pop(), f.data)); } };
      const root = folder('');
      const event = new Event('drop', { bubbles: true, cancelable: true });
      Object.defineProperty(event, 'dataTransfer', { value: {
        items: [{ kind: 'file', webkitGetAsEntry: () => root }], files: [new File([], 'flat')] } });
      document.querySelector('main').dispatchEvent(event);
    }, files);
    await page.getByRole('status').filter({ hasText: 'The folder flat would change' }).waitFor();
    assert.match(await page.getByRole('listitem').filter({ hasText: 'notes' }).textContent(),
      /ignored \(not named as extract-all names pictures\)/);
    await page.getByRole('button', { name: 'Apply', exact: true }).click();
    await page.getByRole('status').filter({ hasText: 'Applied the folder flat' }).waitFor();
    assert.ok(same((await download(page, 'Download ROM')).bytes, expected), 'the ROM differs from insert-all');
    await page.context().close();
  });

  it('changes nothing for a folder of junk, a broken picture or a misshapen one, and says why', async () => {
    put('junk/notes.txt', 'x');
    put('junk/more/pokemon-001-front.png', picture(56));
    put('broken/pokemon-001-front.png', 'not a picture at all');
    put('misshapen/pokemon-025-back.png', picture(56));
    const { page, errors } = await opened();
    await chooseFolder(page, 'junk');
    await page.getByRole('status').filter({ hasText: 'The folder junk holds no picture or .pal file named as extract-all' })
      .waitFor();
    assert.ok(await page.getByRole('button', { name: 'Apply', exact: true }).isDisabled());
    await chooseFolder(page, 'extracted-flat');
    await page.getByRole('status').filter({ hasText: 'The folder extracted-flat changes nothing: the ROM holds all of it' })
      .waitFor();
    assert.ok(await page.getByRole('button', { name: 'Apply', exact: true }).isDisabled());

    await chooseFolder(page, 'broken');
    await page.getByRole('status').filter({ hasText: 'The file "broken/pokemon-001-front.png" is not a picture' })
      .waitFor();
    assert.ok(await page.getByRole('button', { name: 'Apply', exact: true }).isHidden());

    await chooseFolder(page, 'misshapen');
    await page.getByRole('status').filter({ hasText: 'The folder misshapen cannot go in as it is' }).waitFor();
    const message = cli('insert-all', 'misshapen', 'synth.gbc').stderr.trim().split('\n')
      .map((line) => line.replace(/^orvista-cli: /, ''));
    assert.match(await page.getByRole('alert').textContent(), new RegExp(`^${message.at(-1).replace(/ Give --any-shape.*/, '')
      .replace(/[.()]/g, '\\$&')}`));
    assert.equal(await page.getByRole('listitem').filter({ hasText: 'refused' }).getByText(message[0].split(': ').slice(1).join(': ')).count(), 1);
    assert.ok(await page.getByRole('button', { name: 'Apply', exact: true }).isDisabled());
    // With any shape, the picture goes in.
    await page.getByRole('switch', { name: 'Any shape' }).check();
    await page.getByRole('status').filter({ hasText: 'The folder misshapen would change 1 of 1 files' }).waitFor();
    await page.getByRole('button', { name: 'Discard', exact: true }).click();

    assert.ok(same((await download(page, 'Download ROM')).bytes, rom));
    assert.equal(await page.getByRole('list', { name: 'Changes' }).getByRole('listitem').count(), 0);
    assert.deepEqual(errors.filter((e) => !/not a picture/.test(e)), []);
    await page.context().close();
  });
});

describe('pictures downloaded', () => {
  for (const [layout, choice] of [['flat', 'flat names'], ['pret', 'disassembly layout']]) {
    it(`as a zip in the ${layout} layout, as extract-all writes them`, async () => {
      const { page } = await opened();
      await page.getByRole('radio', { name: choice }).check();
      const zipped = await download(page, 'Download pictures');
      assert.equal(zipped.name, `synth-${layout === 'pret' ? 'gfx' : 'pictures'}.zip`);
      const files = readZip(zipped.bytes);
      const dir = join(work.dir, `extracted-${layout}`);
      const onDisk = listFolder(dir).filter((e) => e.kind === 'file').map((e) => e.path).sort();
      assert.deepEqual([...files.keys()].sort(), onDisk);
      for (const [name, bytes] of files) {
        const expected = readFileSync(join(dir, name));
        if (name.endsWith('.pal')) {
          assert.ok(same(bytes, expected), name);
          continue;
        }
        const mine = readIndexedPng(bytes), theirs = readIndexedPng(expected);
        assert.deepEqual([mine.width, mine.height], [theirs.width, theirs.height], name);
        assert.ok(same(mine.indices, theirs.indices), name);
        const table = (b) => {
          const at = Buffer.from(b).indexOf('PLTE');
          return Buffer.from(b).subarray(at + 4, at + 4 + 12).toString('hex');
        };
        assert.equal(table(bytes), table(expected), name);
      }
      await page.context().close();
    });
  }
});

describe('the space map', () => {
  // orvista-cli space's rows as the page names its banks: "Bank 0x1F: pictures 1, picture bytes 708, ...".
  const rows = (file) => cli('space', file).stdout.trim().split('\n').slice(2, -1)
    .map((line) => line.trim().split(/\s+/))
    .map(([bank, pictures, bytes, runs, free]) => ({ bank,
      name: `Bank ${bank}: pictures ${pictures}, picture bytes ${Number(bytes).toLocaleString('en')}, free runs ${runs}, free bytes ${Number(free).toLocaleString('en')}` }));
  const total = (file) => {
    const [, pictures, bytes, runs, free, length, , offset] = cli('space', file).stdout.trim().split('\n').at(-1).trim().split(/\s+/);
    return `All banks: pictures ${pictures}, picture bytes ${Number(bytes).toLocaleString('en')}, free runs ${runs}, ` +
      `free bytes ${Number(free).toLocaleString('en')} (runs of 64+ bytes); largest run ${Number(length).toLocaleString('en')} bytes at ${offset}`;
  };
  // The map is drawn once it comes into view.
  const check = async (page, file) => {
    await page.getByRole('region', { name: 'Space map' }).scrollIntoViewIfNeeded();
    await page.locator('#space-total').filter({ hasText: total(file) }).waitFor();
    for (const { name } of rows(file)) assert.equal(await page.getByRole('button', { name, exact: true }).count(), 1, name);
  };

  it('counts as orvista-cli space, after a change and its undo too, and is walked with the keyboard', async () => {
    const { page } = await opened();
    await check(page, 'synth.gbc');
    await chooseFolder(page, 'pack');
    await page.getByRole('status').filter({ hasText: 'would change' }).waitFor();
    await page.getByRole('button', { name: 'Apply', exact: true }).click();
    await page.getByRole('status').filter({ hasText: 'Applied' }).waitFor();
    writeFileSync(join(work.dir, 'applied.gbc'), (await download(page, 'Download ROM')).bytes);
    await check(page, 'applied.gbc');
    await page.getByRole('button', { name: 'Undo', exact: true }).click();
    await check(page, 'synth.gbc');

    // The bank with the largest run holds the tab stop; arrows move and choose.
    const banks = page.getByRole('group', { name: 'Banks' });
    await banks.getByRole('button', { name: /^Bank 0x7C:/ }).focus();
    await page.keyboard.press('ArrowRight');
    const chosen = banks.getByRole('button', { name: /^Bank 0x7D:/ });
    assert.equal(await chosen.getAttribute('aria-pressed'), 'true');
    assert.ok(await chosen.evaluate((b) => b === document.activeElement));
    const run = page.getByRole('button', { name: '0x1F4000: 16,384 bytes' });
    await run.press('Enter');
    assert.equal(await run.getAttribute('aria-pressed'), 'true');
    // The synthetic ROM's pictures all fit a free bank.
    await page.getByText('Would fit the run at 0x1F4000 (16,384 bytes): 618 of 618 pictures').waitFor();
    await banks.getByRole('button', { name: /^Bank 0x40:/ }).click();
    await page.getByText('No free run here: no picture fits.').waitFor();
    await page.context().close();
  });

  it("fits a phone's width with a plan listed", async () => {
    const { page } = await opened({ width: 390, height: 844 });
    await chooseFolder(page, 'pack');
    await page.getByRole('status').filter({ hasText: 'would change' }).waitFor();
    const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
    assert.ok(overflow <= 0, `${overflow} pixels too wide`);
    await page.context().close();
  });
});
