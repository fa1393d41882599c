// Changes taken back and made again, the page's languages, and a ROM with
// changes not downloaded that is not dropped unasked: in headless Chromium,
// through the accessible names, against the bytes downloaded.
import assert from 'node:assert/strict';
import { describe, it } from 'node:test';
import { browserForTests, downloadOf } from './browser.mjs';
import { pattern, png, syntheticRom, workspace } from './fixtures.mjs';
import { loadModules } from './load.mjs';

const [history] = await loadModules('history');
const { work, rom, file, romFile } = workspace();
const colours = [0xffffff, 0xf8a000, 0x3050f8, 0x000000];
const picture = (name, side, order) => file(name, png(side, side, pattern(side, side, order), colours));
const same = (a, b) => Buffer.from(a).equals(Buffer.from(b));

describe('byte ranges of a change', () => {
  const random = (n, seed) => Uint8Array.from({ length: n }, (_, i) => (i * 2654435761 + seed) >>> 24);

  it('take a ROM there and back exactly, near runs joined, far ones apart', () => {
    const a = random(4096, 7);
    const b = a.slice();
    for (const at of [0, 1, 12, 13, 300, 4095]) b[at] ^= 0x5a;
    const ranges = history.diffRanges(a, b);
    assert.deepEqual(ranges.map((r) => [r.offset, r.after.length]), [[0, 14], [300, 1], [4095, 1]]);
    assert.equal(history.differingBytes(ranges), 6);
    assert.ok(same(history.applyRanges(a.slice(), ranges, 'after'), b));
    assert.ok(same(history.applyRanges(b.slice(), ranges, 'before'), a));
    assert.deepEqual(history.diffRanges(a, a.slice()), []);
    // Views that do not start on a word: the same ranges, one byte earlier.
    assert.deepEqual(history.diffRanges(a.subarray(1), b.subarray(1)).map((r) => [r.offset, r.after.length]),
      [[0, 13], [299, 1], [4094, 1]]);
    const tail = random(4099, 3), changedTail = tail.slice();
    changedTail[4098] ^= 1;
    assert.deepEqual(history.diffRanges(tail, changedTail).map((r) => r.offset), [4098], 'a byte after the last word');
  });

  it('keep a change of size whole', () => {
    const a = random(64, 1), b = random(80, 2);
    const ranges = history.diffRanges(a, b);
    assert.ok(same(history.applyRanges(a.slice(), ranges, 'after'), b));
    assert.ok(same(history.applyRanges(b.slice(), ranges, 'before'), a));
  });

  it('know whether the ROM as it stands was downloaded', () => {
    const h = new history.History();
    const change = (n) => ({ slot: n, what: 'change.picture', bytes: 1, ranges: [] });
    assert.equal(h.dirty, false);
    h.record(change(1));
    assert.equal(h.dirty, true);
    h.markSaved();
    assert.equal(h.dirty, false);
    h.undoneTop();
    assert.equal(h.dirty, true, 'the downloaded state was undone');
    h.redoneTop();
    assert.equal(h.dirty, false, 'and made again');
    h.undoneTop();
    h.record(change(2));
    assert.equal(h.canRedo, false, 'a new change drops what was undone');
  });
});

const browser = browserForTests(work.remove);
const opened = (options) => browser.withRom(romFile, undefined, options);
const downloaded = async (page, name = 'Download ROM') => (await downloadOf(page, name)).bytes;

async function replace(page, slot, file) {
  await page.getByRole('button', { name: slot, exact: true }).click();
  await page.getByLabel('Replace picture').setInputFiles(file);
  await page.getByRole('status').filter({ hasText: `went into ${slot}` }).waitFor();
}

describe('undo and redo', () => {
  it('take every change back to the ROM as opened and make them again', async () => {
    const { page, errors } = await opened();
    await page.getByRole('button', { name: 'Pokemon 25 front', exact: true }).click();
    const offset = await page.locator('[data-fact="offset"]').textContent();
    await replace(page, 'Pokemon 25 front', picture('a.png', 56, [0, 2, 1, 3]));
    const first = await downloaded(page);
    await replace(page, 'Trainer 10', picture('b.png', 56, [3, 1, 2, 0]));
    const second = await downloaded(page);
    const changes = page.getByRole('list', { name: 'Changes' }).getByRole('listitem');
    assert.deepEqual(await changes.allTextContents(), [
      `Pokemon 25 front: picture replaced, ${bytesBetween(rom, first)} bytes`,
      `Trainer 10: picture replaced, ${bytesBetween(first, second)} bytes · downloaded`]);

    await page.getByRole('button', { name: 'Undo' }).click();
    await page.getByRole('status').filter({ hasText: 'Undone: Trainer 10' }).waitFor();
    assert.ok(same(await downloaded(page), first));
    // The keys, outside a text field.
    await page.getByRole('button', { name: 'Pokemon 1 front', exact: true }).focus();
    await page.keyboard.press('Control+z');
    await page.getByRole('status').filter({ hasText: 'Undone: Pokemon 25 front' }).waitFor();
    assert.ok(same(await downloaded(page), rom), 'not the ROM as opened');
    assert.equal(await page.getByRole('button', { name: 'Undo' }).isDisabled(), true);
    // The picture shown is the ROM's again.
    await page.getByRole('button', { name: 'Pokemon 25 front', exact: true }).click();
    assert.equal(await page.locator('[data-fact="offset"]').textContent(), offset);

    await page.keyboard.press('Control+Shift+Z');
    await page.getByRole('status').filter({ hasText: 'Redone: Pokemon 25 front' }).waitFor();
    await page.keyboard.press('Control+y');
    await page.getByRole('status').filter({ hasText: 'Redone: Trainer 10' }).waitFor();
    assert.ok(same(await downloaded(page), second));
    const patch = await downloaded(page, 'Download BPS patch');
    assert.ok(patch.length > 0);
    assert.deepEqual(errors, []);
    await page.context().close();
  });

  it('leave a text field its own undo', async () => {
    const { page } = await opened();
    await replace(page, 'Pokemon 25 front', picture('c.png', 56, [0, 2, 1, 3]));
    const filter = page.getByRole('searchbox', { name: 'Filter by name or number' });
    await filter.fill('25');
    await filter.press('Control+z');
    assert.equal(await page.getByRole('button', { name: 'Undo' }).isDisabled(), false, 'the ROM change was undone');
    await page.context().close();
  });
});

describe('a ROM with changes not downloaded', () => {
  it('is dropped for another only when the user says so', async () => {
    const { page } = await opened();
    const other = file('other.gbc', syntheticRom('D'));
    await replace(page, 'Pokemon 25 front', picture('d.png', 56, [0, 2, 1, 3]));
    const changed = await downloaded(page);
    await replace(page, 'Pokemon 26 front', picture('e.png', 56, [0, 1, 2, 3]));
    const kept = await downloaded(page);
    assert.ok(!same(kept, changed));
    await replace(page, 'Pokemon 27 front', picture('f.png', 56, [3, 2, 1, 0]));

    const questions = [];
    page.once('dialog', (dialog) => { questions.push(dialog.message()); dialog.dismiss(); });
    await page.getByLabel('ROM file').setInputFiles(other);
    await page.getByRole('status').filter({ hasText: 'synth.gbc and its changes are as they were' }).waitFor();
    assert.match(questions[0], /changes to synth\.gbc have not been downloaded\. Open other\.gbc instead/);
    assert.equal(await page.getByRole('list', { name: 'Changes' }).getByRole('listitem').count(), 3);
    await page.getByRole('button', { name: 'Undo' }).click();
    assert.ok(same(await downloaded(page), kept));

    // Downloaded now: no question.
    await page.getByLabel('ROM file').setInputFiles(other);
    await page.getByRole('status').filter({ hasText: 'Opened other.gbc' }).waitFor();
    assert.equal(await page.getByRole('list', { name: 'Changes' }).getByRole('listitem').count(), 0);
    assert.equal(questions.length, 1);
    await page.context().close();
  });

  it('asks before the page is left, until they are downloaded', async () => {
    const { page } = await opened();
    const leaving = () => page.evaluate(() => {
      const event = new Event('beforeunload', { cancelable: true });
      window.dispatchEvent(event);
      return event.defaultPrevented;
    });
    assert.equal(await leaving(), false, 'nothing changed yet');
    await replace(page, 'Pokemon 25 front', picture('g.png', 56, [0, 2, 1, 3]));
    assert.equal(await leaving(), true);
    await downloaded(page, 'Download IPS patch');
    assert.equal(await leaving(), false);
    await page.getByRole('button', { name: 'Undo' }).click();
    assert.equal(await leaving(), true, 'the ROM downloaded was undone');
    await page.context().close();
  });
});

describe('languages', () => {
  it('speaks German to a German browser, and switches', async () => {
    const { page, errors } = await opened({ locale: 'de-DE' });
    await page.getByRole('status').filter({ hasText: 'synth.gbc geöffnet' }).waitFor();
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'de');
    for (const name of ['ROM herunterladen', 'BPS-Patch herunterladen', 'Rückgängig', 'Wiederholen'])
      assert.equal(await page.getByRole('button', { name }).count(), 1, name);
    assert.equal(await page.getByRole('button', { name: 'Pokemon 25 vorn', exact: true }).count(), 1);
    assert.equal(await page.getByRole('searchbox', { name: 'Nach Name oder Nummer filtern' }).count(), 1);
    assert.equal(await page.locator('#detail dt').first().textContent(), 'Größe');
    // The core's listing of an insertion in German too.
    await page.getByRole('button', { name: 'Pokemon 25 vorn', exact: true }).click();
    await page.getByLabel('Bild ersetzen').setInputFiles(picture('h.png', 56, [0, 2, 1, 3]));
    await page.getByRole('status').filter({ hasText: 'ist jetzt Pokemon 25 vorn' }).waitFor();
    assert.match(await page.locator('#report').textContent(), /^\d+ Bytes bei 0x[0-9A-F]+ in synth\.gbc eingefügt\n.*Bilddaten/s);
    assert.match(await page.locator('#report').textContent(), /globale Prüfsumme/);

    await page.getByRole('combobox', { name: 'Sprache' }).selectOption('en');
    await page.getByRole('status').filter({ hasText: 'h.png went into Pokemon 25 front' }).waitFor();
    assert.equal(await page.getByRole('button', { name: 'Pokemon 25 front', exact: true }).count(), 1);
    assert.equal(await page.locator('#detail dt').first().textContent(), 'Size');
    // The choice holds on the next visit.
    await page.reload();
    await page.locator('body[data-ready]').waitFor();
    assert.equal(await page.getByRole('button', { name: 'Download ROM' }).count(), 1);
    assert.deepEqual(errors, []);
    await page.context().close();
  });

  it('speaks English to any other browser', async () => {
    const { page } = await opened({ locale: 'fr-FR' });
    await page.getByRole('status').filter({ hasText: 'Opened synth.gbc' }).waitFor();
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'en');
    await page.context().close();
  });
});

function bytesBetween(a, b) {
  let n = 0;
  for (let i = 0; i < a.length; i++) if (a[i] !== b[i]) n++;
  return n.toLocaleString('en');
}
