// The JavaScript module over the wasm core, under node, against orvista-cli
// on the same synthetic ROMs and pictures.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { readdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, describe, it } from 'node:test';
import {
  applyBps, applyIps, bmp, cliIn, cliPath, crc32, gif, pattern, png, readIndexedPng, rgbaOf, syntheticRom, tempDir,
} from './fixtures.mjs';
import { loadModules, wasmBytes } from './load.mjs';

const [orv, wasi, labels, tables] = await loadModules('orv', 'wasi', 'labels', 'colour_table');
const core = await orv.OrvCore.load(wasmBytes());
const work = tempDir();
after(() => work.remove());

const cli = cliIn(work.dir);

const put = (name, bytes) => {
  writeFileSync(join(work.dir, name), bytes);
  return name;
};
const read = (name) => new Uint8Array(readFileSync(join(work.dir, name)));

const WHITE = 0xffffff, BLACK = 0x000000;
// A 4-colour picture whose first-found colour is colours[2], so the colour
// table's order and the first-found order give different roles.
function picture(side, colours = [WHITE, 0xf8a000, 0x3050f8, BLACK], height = side) {
  const indices = pattern(side, height, [0, 2, 1, 3]);
  return { indices, colours, width: side, height, rgba: rgbaOf(indices, colours) };
}
const decoded = (p, file) => ({ width: p.width, height: p.height, rgba: p.rgba, colourTable: tables.colourTable(file) });

const rom = syntheticRom('E');
const romName = put('synth.gbc', rom);

describe('the wasm module', () => {
  it('imports only the WASI calls the page stubs', () => {
    const imports = WebAssembly.Module.imports(new WebAssembly.Module(wasmBytes()));
    for (const entry of imports) {
      assert.equal(entry.module, 'wasi_snapshot_preview1', entry.name);
      assert.ok(wasi.WASI_CALLS.includes(entry.name), `unstubbed import ${entry.name}`);
    }
  });

  it('lists the slots in extract-all order with the gallery names', () => {
    const held = core.hold(rom, romName);
    const slots = held.slots();
    held.free();
    // Pokemon 201 is the Unown table's first entry: listed once, as Unown 1.
    assert.equal(core.slotCount, 618);
    assert.equal(slots.length, 618);
    const names = slots.map(labels.slotLabel);
    assert.deepEqual(names.slice(0, 3), ['Pokemon 1 front', 'Pokemon 1 back', 'Pokemon 2 front']);
    assert.deepEqual(names.slice(398, 402), ['Pokemon 200 front', 'Pokemon 200 back', 'Pokemon 202 front',
      'Pokemon 202 back']);
    assert.deepEqual(names.slice(500, 504), ['Unown 1 front', 'Unown 1 back', 'Unown 2 front', 'Unown 2 back']);
    assert.equal(names[617], 'Trainer 66');
    assert.equal(new Set(names).size, 618);
  });
});

describe('ROM info', () => {
  it('tells the checksums, identity and free bytes as the command line does', () => {
    const held = core.hold(rom, romName);
    const info = held.info();
    held.free();
    assert.equal(info.size, 0x200000);
    assert.equal(info.language, 'English');
    assert.equal(info.crc32, crc32(rom));
    assert.equal(info.sha1, createHash('sha1').update(rom).digest('hex'));
    assert.equal(info.retail, false);
    assert.equal(info.soundPictures, 618);
    const text = cli('info', romName).out;
    const checksum = (what) => {
      const [, stored, computed] = new RegExp(`${what} checksum: 0x(\\w+), wrong \\(should be 0x(\\w+)\\)`).exec(text);
      return { stored: parseInt(stored, 16), computed: parseInt(computed, 16) };
    };
    assert.deepEqual(info.headerChecksum, checksum('header'));
    assert.deepEqual(info.globalChecksum, checksum('global'));
    const total = /^total\s+\d+\s+\d+\s+(\d+)\s+(\d+)/m.exec(cli('space', romName).out);
    assert.equal(info.freeRuns, Number(total[1]));
    assert.equal(info.freeBytes, Number(total[2]));
  });

  it('names the edition from the header', () => {
    for (const [title, code, edition] of [['POKEMON_GLD', 'AAUE', 'Gold'], ['POKEMON_SLV', 'AAXE', 'Silver']]) {
      const bytes = Uint8Array.from(rom);
      bytes.set(Buffer.from(title + code, 'latin1'), 0x134); // the code's last letter is the language byte
      bytes[0x143] = 0x80; // a colour cartridge
      const held = core.hold(bytes, 'edition.gbc');
      const info = held.info();
      held.free();
      assert.equal(info.edition, edition);
      assert.equal(info.title, title);
      assert.equal(info.gameCode, code);
    }
  });

  it("refuses what is no ROM of these games with info's message", () => {
    const noLanguage = Uint8Array.from(rom);
    noLanguage[0x142] = 0x58;
    const noPictures = new Uint8Array(0x200000);
    noPictures[0x142] = 0x45;
    const cases = { 'no-language.gbc': noLanguage, 'no-pictures.gbc': noPictures, 'tiny.gbc': new Uint8Array(100) };
    for (const [name, bytes] of Object.entries(cases)) {
      put(name, bytes);
      const expected = cli('info', name);
      assert.equal(expected.code, 1, name);
      const held = core.hold(bytes, name);
      assert.throws(() => held.info(), (e) => e instanceof orv.Refusal && e.message === expected.err, name);
      held.free();
    }
  });
});

describe('slots and pictures', () => {
  let held, slots;
  before(() => {
    held = core.hold(rom, romName);
    slots = held.slots();
  });
  after(() => held.free());

  it('match info --slots: offsets, stream bytes, tiles, names and palette words', () => {
    const lines = cli('info', romName, '--slots').out.trim().split('\n');
    assert.equal(lines.length, slots.length);
    const word = (c) => (c >> 19 & 31) | (c >> 11 & 31) << 5 | (c >> 3 & 31) << 10;
    const paletteText = ([c1, c2]) => [word(c1), word(c2)]
      .map((w) => [w & 255, w >> 8].map((b) => b.toString(16).toUpperCase().padStart(2, '0')).join('')).join('');
    lines.forEach((line, i) => {
      const [, number, name, offset, bytes, tiles, palette] = line.split('\t');
      const s = slots[i];
      assert.equal(s.number, Number(number), line);
      assert.equal(s.name || '-', s.kind === 'trainer' ? '-' : name, line);
      assert.equal(s.offset, parseInt(offset, 16), line);
      assert.equal(s.bank, s.offset >> 14, line);
      assert.equal(s.streamBytes, Number(bytes), line);
      assert.equal(`${s.width / 8}x${s.height / 8}`, tiles, line);
      assert.equal(paletteText(s.normal), palette, line);
    });
    const [p25] = slots.filter((s) => s.kind === 'pokemon' && s.number === 25);
    assert.notDeepEqual(p25.shiny, p25.normal);
  });

  it("draw the shades of extract-all's pictures", () => {
    execFileSync(cliPath, ['extract-all', romName, 'pictures', '--format', 'png'], { cwd: work.dir, stdio: 'pipe' });
    const files = readdirSync(join(work.dir, 'pictures')).sort();
    assert.equal(files.length, 620); // with Pokemon 201, which the gallery shows as Unown 1
    const byName = new Map(files.map((f) => [f, readIndexedPng(read(join('pictures', f)))]));
    const pictures = held.pictures();
    assert.deepEqual(held.pictures(100, 3), pictures.slice(100, 103));
    slots.forEach((s, i) => {
      const name = s.kind === 'trainer' ? `trainer-${String(s.number).padStart(2, '0')}.png`
        : s.kind === 'unown' ? `unown-${String(s.number).padStart(2, '0')}-${s.back ? 'back' : 'front'}.png`
        : `pokemon-${String(s.number).padStart(3, '0')}-${s.back ? 'back' : 'front'}.png`;
      const expected = byName.get(name);
      const shades = pictures[i];
      assert.equal(shades.width, expected.width, name);
      assert.equal(shades.height, expected.height, name);
      assert.ok(Buffer.from(shades.shades).equals(Buffer.from(expected.indices)), name);
    });
  });

  it('have none where no complete picture lies', () => {
    const broken = Uint8Array.from(rom);
    broken.fill(0x01, 0x7d000, 0x7d000 + 0x1000); // Pokemon 25 front: copies before any output
    const b = core.hold(broken, 'broken.gbc');
    const index = slots.findIndex((s) => s.kind === 'pokemon' && s.number === 25 && !s.back);
    assert.equal(b.pictures(index, 1)[0], null);
    assert.equal(b.slots()[index].streamBytes, -1);
    b.free();
  });
});

describe('insertion', () => {
  const slotIndex = (label) => {
    const held = core.hold(rom, romName);
    const index = held.slots().findIndex((s) => labels.slotLabel(s) === label);
    held.free();
    return index;
  };
  const cases = [
    // label, option, file maker, picture
    ['Pokemon 25 front', ['--pokemon', '25'], 'rgb.png', (p) => png(p.width, p.height, p.indices, p.colours), picture(56)],
    ['Trainer 5', ['--trainer', '5'], 'indexed.png',
      (p) => png(p.width, p.height, p.indices, p.colours, { indexed: true }), picture(56)],
    ['Unown 3 back', ['--unown', '3', '--back'], 'table.bmp', (p) => bmp(p.width, p.height, p.indices, p.colours),
      picture(48)],
    ['Pokemon 7 front', ['--pokemon', '7'], 'small.gif', (p) => gif(p.width, p.height, p.indices, p.colours),
      picture(40, [WHITE, 0x10c040, 0x905020, BLACK])],
  ];

  for (const [label, option, name, make, p] of cases) {
    it(`writes the bytes of orvista-cli insert: ${name} into ${label}`, () => {
      const file = make(p);
      put(name, file);
      put('cli.gbc', rom);
      const expected = cli('insert', name, 'cli.gbc', ...option);
      assert.equal(expected.code, 0, expected.err);
      const held = core.hold(rom, 'cli.gbc');
      const { rom: changed, insertion } = held.insert(slotIndex(label), decoded(p, file), name);
      assert.ok(Buffer.from(changed.bytes()).equals(Buffer.from(read('cli.gbc'))), 'ROM bytes differ');
      // The report holds what insert prints, its notes included.
      const notes = expected.err.split('\n').filter((l) => l.includes('note: ')).map((l) => l.replace(/^orvista-cli: /, ''));
      assert.equal(insertion.report.trim(), [expected.out.trim(), ...notes].join('\n'));
      assert.ok(Buffer.from(held.bytes()).equals(Buffer.from(rom)), 'the source ROM changed');
      changed.free();
      held.free();
    });
  }

  it('puts a picture back in the slot colours it was extracted with', () => {
    put('cli.gbc', rom);
    execFileSync(cliPath, ['extract', 'cli.gbc', 'p1.png', '--pokemon', '1'], { cwd: work.dir });
    const extracted = readIndexedPng(read('p1.png'));
    const held = core.hold(rom, 'cli.gbc');
    const index = slotIndex('Pokemon 1 front');
    const s = held.slots()[index];
    const colours = [WHITE, ...s.normal, BLACK];
    // Re-encoded as true colour: only the slot's own colours give the roles.
    const file = png(extracted.width, extracted.height, extracted.indices, colours);
    put('p1-rgb.png', file);
    assert.equal(cli('insert', 'p1-rgb.png', 'cli.gbc', '--pokemon', '1').code, 0);
    const { rom: changed } = held.insert(index, decoded({ ...extracted, rgba: rgbaOf(extracted.indices, colours) },
      file), 'p1-rgb.png');
    assert.ok(Buffer.from(changed.bytes()).equals(Buffer.from(read('cli.gbc'))));
    assert.deepEqual(changed.slots()[index].normal, s.normal);
    changed.free();
    held.free();
  });

  it('plans a second picture on the first one as the command line does', () => {
    const a = picture(56), b = picture(48, [WHITE, 0x00a0f8, 0xf80060, BLACK]);
    put('a.png', png(56, 56, a.indices, a.colours));
    put('b.png', png(48, 48, b.indices, b.colours));
    put('cli.gbc', rom);
    assert.equal(cli('insert', 'a.png', 'cli.gbc', '--pokemon', '25').code, 0);
    assert.equal(cli('insert', 'b.png', 'cli.gbc', '--pokemon', '25', '--back').code, 0);
    const held = core.hold(rom, 'cli.gbc');
    const first = held.insert(slotIndex('Pokemon 25 front'), decoded(a, read('a.png')), 'a.png').rom;
    const second = first.insert(slotIndex('Pokemon 25 back'), decoded(b, read('b.png')), 'b.png').rom;
    assert.ok(Buffer.from(second.bytes()).equals(Buffer.from(read('cli.gbc'))));
    for (const r of [held, first, second]) r.free();
  });

  it('takes only the shapes the game draws, as the command line, and changes nothing', () => {
    const held = core.hold(rom, 'cli.gbc');
    put('cli.gbc', rom);
    const odd = [
      ['Pokemon 25 front', ['--pokemon', '25'], picture(64)],
      ['Pokemon 25 front', ['--pokemon', '25'], picture(56, undefined, 48)],
      ['Pokemon 25 back', ['--pokemon', '25', '--back'], picture(56)],
      ['Unown 3 front', ['--unown', '3'], picture(56)],
      ['Trainer 10', ['--trainer', '10'], picture(48)],
    ];
    for (const [label, option, p] of odd) {
      const file = png(p.width, p.height, p.indices, p.colours);
      put('odd.png', file);
      const expected = cli('insert', 'odd.png', 'cli.gbc', ...option);
      assert.equal(expected.code, 1, label);
      assert.match(expected.err, /the game draws only pictures of/, label);
      // The page offers no --any-shape, so its message stops before the command line's hint.
      const message = expected.err.replace(/ Give --any-shape.*$/, '');
      assert.throws(() => held.insert(slotIndex(label), decoded(p, file), 'odd.png'),
        (e) => e instanceof orv.Refusal && e.message === message, label);
    }
    assert.ok(Buffer.from(held.bytes()).equals(Buffer.from(rom)));
    assert.ok(Buffer.from(read('cli.gbc')).equals(Buffer.from(rom)));
    held.free();
  });

  it("refuses what the command line refuses, with its message", () => {
    // 300 colours besides black and white, more than a picture may have.
    const colours = Array.from({ length: 300 }, (_, i) => 0x100000 + i * 0x0101);
    const many = { width: 56, height: 56, colours, indices: Uint16Array.from({ length: 56 * 56 }, (_, i) => i % 300) };
    const tiny = picture(8, undefined, 4);
    for (const [name, p, file] of [
      ['many.png', many, png(56, 56, many.indices, colours)],
      ['tiny.png', tiny, png(8, 4, tiny.indices, tiny.colours)],
    ]) {
      put(name, file);
      put('cli.gbc', rom);
      const expected = cli('insert', name, 'cli.gbc', '--pokemon', '25');
      assert.equal(expected.code, 1, name);
      const held = core.hold(rom, 'cli.gbc');
      assert.throws(() => held.insert(slotIndex('Pokemon 25 front'), { ...decoded(p, file), rgba: rgbaOf(p.indices,
        p.colours) }, name), (e) => e instanceof orv.Refusal && e.message === expected.err, name);
      held.free();
    }
  });
});

describe('patches', () => {
  it("equal the command line's --patch files and apply to the changed ROM", () => {
    const p = picture(56);
    put('pic.png', png(56, 56, p.indices, p.colours));
    put('cli.gbc', rom);
    for (const format of ['bps', 'ips'])
      assert.equal(cli('insert', 'pic.png', 'cli.gbc', '--pokemon', '25', '--patch', `cli.${format}`).code, 0);
    const held = core.hold(rom, 'cli.gbc');
    const { rom: changed } = held.insert(2 * 24, decoded(p, read('pic.png')), 'pic.png');
    const target = changed.bytes();
    const bps = held.patch('bps', changed), ips = held.patch('ips', changed);
    assert.ok(Buffer.from(bps).equals(Buffer.from(read('cli.bps'))));
    assert.ok(Buffer.from(ips).equals(Buffer.from(read('cli.ips'))));
    assert.ok(Buffer.from(applyBps(bps, rom)).equals(Buffer.from(target)));
    assert.ok(Buffer.from(applyIps(ips, rom)).equals(Buffer.from(target)));
    assert.equal(held.patch('bps', held).length < 40, true, 'a patch of no change is small');
    changed.free();
    held.free();
  });
});

describe('colour tables of picture files', () => {
  const p = picture(16);
  it("read an indexed PNG's and a BMP's table in file order", () => {
    assert.deepEqual(tables.colourTable(png(16, 16, p.indices, p.colours, { indexed: true })), p.colours);
    assert.deepEqual(tables.colourTable(bmp(16, 16, p.indices, p.colours)), p.colours);
  });
  it('find none in true-colour PNGs, GIFs, other and broken files', () => {
    const indexed = png(16, 16, p.indices, p.colours, { indexed: true });
    for (const file of [png(16, 16, p.indices, p.colours), gif(16, 16, p.indices, p.colours), indexed.subarray(0, 40),
      new Uint8Array([0x42, 0x4d, 1, 2]), new Uint8Array(0)])
      assert.equal(tables.colourTable(file), undefined);
  });
});

describe('the filter', () => {
  const slot = (kind, number, name, back = false) => ({ kind, number, name, back });
  it('matches numbers whole and names by any part', () => {
    const pikachu = slot('pokemon', 25, 'PIKACHU'), raichu = slot('pokemon', 125, 'RAICHU', true);
    assert.ok(labels.matchesFilter(pikachu, '25') && labels.matchesFilter(pikachu, '#025'));
    assert.ok(!labels.matchesFilter(raichu, '25'));
    assert.ok(labels.matchesFilter(pikachu, 'pika') && !labels.matchesFilter(raichu, 'pika'));
    assert.ok(labels.matchesFilter(raichu, 'chu back') && !labels.matchesFilter(pikachu, 'chu back'));
    assert.ok(labels.matchesFilter(slot('unown', 3, 'UNOWN', true), 'unown c'));
    assert.ok(labels.matchesFilter(slot('trainer', 10, ''), 'trainer'));
    assert.ok(labels.matchesFilter(slot('unown', 3, 'UNOWN'), '201'), 'the Unown are Pokemon 201');
  });
});
