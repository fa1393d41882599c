// The module's edits under node: palette pairs, names and .pal files against
// orvista-cli palette and insert --name on the synthetic ROM, refusals in
// English and German, and the ROM an edit starts from left as it was.
import assert from 'node:assert/strict';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, afterEach, describe, it } from 'node:test';
import { cliIn, syntheticRom, tempDir } from './fixtures.mjs';
import { loadModules, wasmBytes } from './load.mjs';

const [orv, labels] = await loadModules('orv', 'labels');
const core = await orv.OrvCore.load(wasmBytes());
const work = tempDir();
after(() => work.remove());
afterEach(() => {
  core.language = 'en';
});

const cli = cliIn(work.dir);
const put = (name, bytes) => {
  writeFileSync(join(work.dir, name), bytes);
  return name;
};
const read = (name) => new Uint8Array(readFileSync(join(work.dir, name)));
const same = (a, b) => Buffer.from(a).equals(Buffer.from(b));
// Offsets where two ROMs differ.
const differences = (a, b) => a.reduce((list, byte, i) => (byte !== b[i] ? [...list, i] : list), []);
const range = (from, length) => Array.from({ length }, (_, i) => from + i);
const CHECKSUM = [0x14e, 0x14f];
const rgb = (c) => c.toString(16).toUpperCase().padStart(6, '0');

const rom = syntheticRom('E');
const romName = put('synth.gbc', rom);
const probe = core.hold(rom, romName);
const slots = probe.slots();
probe.free();
const slotIndex = (label) => slots.findIndex((s) => labels.slotLabel(s) === label);
// The palette word of a slot's colour as the ROM's bytes hold it.
const word = (c) => (c >> 19 & 31) | (c >> 11 & 31) << 5 | (c >> 3 & 31) << 10;

describe('palette pairs', () => {
  // label, the command line's slot options, shiny
  const cases = [
    ['Pokemon 25 front', ['--pokemon', '25'], false],
    ['Pokemon 25 back', ['--pokemon', '25', '--shiny'], true],
    ['Unown 3 front', ['--unown', '3', '--shiny'], true],
    ['Trainer 5', ['--trainer', '5'], false],
  ];
  const colours = [0xf8d030, 0x3070e8];

  for (const [label, options, shiny] of cases) {
    it(`set ${label}'s ${shiny ? 'shiny' : 'normal'} pair as orvista-cli palette --set: 4 bytes and the checksum`, () => {
      put('cli.gbc', rom);
      const expected = cli('palette', 'cli.gbc', ...options, '--set', rgb(colours[0]), rgb(colours[1]));
      assert.equal(expected.code, 0, expected.err);
      const held = core.hold(rom, 'cli.gbc');
      const { rom: changed, edit } = held.setPalette(slotIndex(label), shiny, colours);
      const bytes = changed.bytes();
      assert.ok(same(bytes, read('cli.gbc')), 'the ROM differs from orvista-cli palette --set');
      assert.ok(same(held.bytes(), rom), 'the ROM the edit started from changed');
      assert.equal(edit.length, 4);
      assert.equal(edit.patches, 2);
      const diff = differences(bytes, rom);
      assert.deepEqual(diff.filter((at) => !CHECKSUM.includes(at)), range(edit.offset, 4));
      assert.equal(edit.changed, diff.length);
      // The colours as the game keeps them, in the pair the slot shows.
      const after = changed.slots()[slotIndex(label)];
      assert.deepEqual((shiny ? after.shiny : after.normal).map(word), colours.map(word));
      if (!label.startsWith('Trainer')) // a trainer's one pair is shown as both
        assert.deepEqual(shiny ? after.normal : after.shiny, shiny ? slots[slotIndex(label)].normal
          : slots[slotIndex(label)].shiny, 'the other pair stays');
      changed.free();
      held.free();
    });
  }

  it('snap a colour to the game colour the ROM then shows', () => {
    assert.equal(core.gameColour(0xffffff), 0xffffff);
    assert.equal(core.gameColour(0x000000), 0);
    // Each component divided by 8, then c * 255 / 31: 0x0F -> 1 -> 8, 0x87 -> 16 -> 131.
    assert.equal(core.gameColour(0x0f8707), 0x088300);
    const held = core.hold(rom, romName);
    const index = slotIndex('Pokemon 7 front');
    const chosen = [0x123456, 0xfedcba];
    const { rom: changed } = held.setPalette(index, false, chosen);
    assert.deepEqual(changed.slots()[index].normal, chosen.map((c) => core.gameColour(c)));
    for (const c of [0x123456, 0xfedcba, 0x808080, 0x070707])
      assert.equal(core.gameColour(core.gameColour(c)), core.gameColour(c), 'a game colour is its own snap');
    // Colours that snap alike write the same bytes.
    const { rom: alike } = held.setPalette(index, false, [0x10305f, 0xf8d8bf]);
    const { rom: snapped } = held.setPalette(index, false, [0x103058, 0xf8d8b8]);
    assert.ok(same(alike.bytes(), snapped.bytes()));
    for (const r of [held, changed, alike, snapped]) r.free();
  });

  it('change nothing when the slot holds the pair already, and share one pair among the Unown', () => {
    const held = core.hold(rom, romName);
    const p = slots[slotIndex('Pokemon 30 front')];
    const { rom: unchanged, edit } = held.setPalette(slotIndex('Pokemon 30 back'), true, p.shiny);
    assert.equal(edit.changed, 0);
    assert.ok(same(unchanged.bytes(), rom));
    const { rom: unown, edit: letter } = held.setPalette(slotIndex('Unown 3 back'), false, [0x00f800, 0xf80000]);
    const { edit: first } = held.setPalette(slotIndex('Unown 26 front'), false, [0x00f800, 0xf80000]);
    assert.equal(letter.offset, first.offset, 'every letter sets one pair');
    const after = unown.slots();
    for (const s of after.filter((s) => s.kind === 'unown')) assert.deepEqual(s.normal, [0x00ff00, 0xff0000]);
    for (const r of [held, unchanged, unown]) r.free();
  });

  it('are refused for a trainer shiny pair and a slot out of range, leaving the ROM', () => {
    const held = core.hold(rom, romName);
    assert.throws(() => held.setPalette(slotIndex('Trainer 5'), true, [0, 0]), /status 3/);
    assert.throws(() => held.setPalette(slots.length, false, [0, 0]), /status 3/);
    assert.ok(same(held.bytes(), rom));
    held.free();
  });
});

describe('.pal files', () => {
  it("are written as orvista-cli palette --to writes them and read back to the same pair", () => {
    const held = core.hold(rom, romName);
    for (const [label, options, shiny, file] of [
      ['Pokemon 25 front', ['--pokemon', '25', '--shiny'], true, 'shiny.pal'],
      ['Unown 9 back', ['--unown', '9'], false, 'normal.pal'],
    ]) {
      assert.equal(cli('palette', romName, ...options, '--to', file).code, 0);
      const text = held.palText(slotIndex(label), shiny);
      assert.equal(text, Buffer.from(read(file)).toString('latin1'), label);
      const s = slots[slotIndex(label)];
      assert.deepEqual(core.parsePal(text, file), shiny ? s.shiny : s.normal);
    }
    held.free();
  });

  it('set a pair as orvista-cli palette --from does', () => {
    put('in.pal', '; a comment\n\tRGB 31, 26, 06\n\n  rgb 00, 14, 29 ; blue\n');
    put('cli.gbc', rom);
    assert.equal(cli('palette', 'cli.gbc', '--pokemon', '100', '--from', 'in.pal').code, 0);
    const held = core.hold(rom, 'cli.gbc');
    const colours = core.parsePal(Buffer.from(read('in.pal')).toString('utf8'), 'in.pal');
    const { rom: changed } = held.setPalette(slotIndex('Pokemon 100 front'), false, colours);
    assert.ok(same(changed.bytes(), read('cli.gbc')));
    changed.free();
    held.free();
  });

  it("are refused with the command line's message when wrong", () => {
    const wrong = {
      'three.pal': '\tRGB 1, 2, 3\n\tRGB 4, 5, 6\n\tRGB 7, 8, 9\n',
      'one.pal': '\tRGB 1, 2, 3\n',
      'large.pal': '\tRGB 1, 2, 3\n\tRGB 4, 40, 6\n',
      'words.pal': 'hello\n',
      'empty.pal': '',
      'picture.pal': '\x89PNG\r\n\x1a\n',
    };
    for (const [name, text] of Object.entries(wrong)) {
      put(name, text);
      put('cli.gbc', rom);
      const expected = cli('palette', 'cli.gbc', '--pokemon', '25', '--from', name);
      assert.equal(expected.code, 1, name);
      assert.ok(same(read('cli.gbc'), rom));
      assert.throws(() => core.parsePal(text, name), (e) => e instanceof orv.Refusal && e.message === expected.err,
        name);
    }
  });
});

describe('names', () => {
  // A picture the slot holds already (the synthetic ROM's shapes need --any-shape), so that insert --name
  // changes the name and moves only that picture.
  const cliRename = (number, name) => {
    put('cli.gbc', rom);
    assert.equal(cli('extract', 'cli.gbc', 'own.png', '--pokemon', String(number)).code, 0);
    return cli('insert', 'own.png', 'cli.gbc', '--pokemon', String(number), '--any-shape', '--name', name);
  };

  for (const [number, name] of [[25, 'PIKAPIKA'], [201, 'ABCDEFGHIJ'], [1, 'Mr.X']]) {
    it(`write the name field of insert --name: ${name} for Pokemon ${number}`, () => {
      const expected = cliRename(number, name);
      assert.equal(expected.code, 0, expected.err);
      const held = core.hold(rom, 'cli.gbc');
      const { rom: changed, edit } = held.setName(number, name);
      assert.equal(edit.length, core.nameLength);
      assert.equal(core.nameLength, 10);
      const bytes = changed.bytes();
      const field = range(edit.offset, edit.length);
      assert.ok(same(bytes.subarray(edit.offset, edit.offset + 10), read('cli.gbc').subarray(edit.offset,
        edit.offset + 10)), 'the name field differs from orvista-cli insert --name');
      const diff = differences(bytes, rom);
      assert.ok(diff.every((at) => field.includes(at) || CHECKSUM.includes(at)), `changed ${diff}`);
      assert.ok(diff.some((at) => field.includes(at)));
      assert.equal(edit.changed, diff.length);
      // The checksum is the one of the whole ROM.
      const sum = bytes.reduce((s, b, i) => (CHECKSUM.includes(i) ? s : s + b), 0) & 0xffff;
      assert.equal(bytes[0x14e] << 8 | bytes[0x14f], sum);
      const shown = changed.slots().filter((s) => s.kind === (number === 201 ? 'unown' : 'pokemon') &&
        (number === 201 || s.number === number));
      assert.ok(shown.length > 0 && shown.every((s) => s.name === name));
      assert.ok(same(held.bytes(), rom));
      changed.free();
      held.free();
    });
  }

  it('write the German ROM\'s name table as insert --name does', () => {
    const german = syntheticRom('D');
    put('cli.gbc', german);
    assert.equal(cli('extract', 'cli.gbc', 'own.png', '--pokemon', '1').code, 0);
    const expected = cli('insert', 'own.png', 'cli.gbc', '--pokemon', '1', '--any-shape', '--name', 'BISASAM');
    assert.equal(expected.code, 0, expected.err);
    const held = core.hold(german, 'cli.gbc');
    const { rom: changed, edit } = held.setName(1, 'BISASAM');
    const field = (bytes) => Buffer.from(bytes.subarray(edit.offset, edit.offset + edit.length));
    assert.ok(field(changed.bytes()).equals(field(read('cli.gbc'))));
    assert.ok(!field(changed.bytes()).equals(field(german)));
    assert.equal(changed.slots().find((s) => s.kind === 'pokemon' && s.number === 1).name, 'BISASAM');
    changed.free();
    held.free();
  });

  it("are refused as insert --name refuses them, in English and German, leaving the ROM", () => {
    const held = core.hold(rom, 'cli.gbc');
    for (const name of ['PIKA€', 'ABCDEFGHIJK', '']) {
      const expected = cliRename(25, name);
      assert.equal(expected.code, 1, name);
      assert.throws(() => held.setName(25, name), (e) => e instanceof orv.Refusal && e.message === expected.err, name);
    }
    assert.throws(() => held.setName(252, 'X'), (e) => e instanceof orv.Refusal &&
      /Pokemon number 252 is outside the allowed range 1 to 251/.test(e.message));
    core.language = 'de';
    assert.throws(() => held.setName(25, 'PIKA€'), (e) => e instanceof orv.Refusal && e.message ===
      'Der Name "PIKA€" enthält das Zeichen "€", das im Spiel nicht darstellbar ist. Es wurde nichts geschrieben.');
    assert.throws(() => held.setName(25, ''), (e) => e instanceof orv.Refusal && e.message.startsWith(
      'Der neue Name ist leer.'));
    assert.ok(same(held.bytes(), rom));
    held.free();
  });
});

describe('German messages', () => {
  it('come from every export that refuses, by the language of the call', () => {
    core.language = 'de';
    assert.throws(() => core.parsePal('\tRGB 1, 2, 3\n', 'one.pal'), (e) => e instanceof orv.Refusal && e.message ===
      'Die Datei "one.pal" enthält 1 Farbzeilen; eine Palettendatei enthält zwei (Farbe 1, Farbe 2).');
    const tiny = core.hold(new Uint8Array(100), 'tiny.gbc');
    assert.throws(() => tiny.info(), (e) => e instanceof orv.Refusal && /^Die Datei "tiny.gbc"/.test(e.message));
    tiny.free();
    const held = core.hold(rom, romName);
    const small = { width: 8, height: 4, rgba: new Uint8Array(8 * 4 * 4).fill(255) };
    assert.throws(() => held.insert(slotIndex('Pokemon 25 front'), small, 'tiny.png'),
      (e) => e instanceof orv.Refusal && e.message.endsWith('Es wurde nichts geschrieben.'));
    // The next call in English again: nothing of the last is kept.
    core.language = 'en';
    assert.throws(() => held.insert(slotIndex('Pokemon 25 front'), small, 'tiny.png'),
      (e) => e instanceof orv.Refusal && e.message.endsWith('Nothing was written.'));
    held.free();
  });
});
