// The core's picture folders, space map and extract-all's files in node,
// against orvista-cli insert-all, space and extract-all on the same ROM and
// folders.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { cpSync, mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { inflateSync } from 'node:zlib';
import { after, before, describe, it } from 'node:test';
import { cliPath, pattern, png, readIndexedPng, syntheticRom, tempDir } from './fixtures.mjs';
import { listFolder, readFolder, readZip } from './folder_fixtures.mjs';
import { loadModules, wasmBytes } from './load.mjs';

const work = tempDir();
const rom = syntheticRom('E');
const romFile = join(work.dir, 'synth.gbc');
writeFileSync(romFile, rom);
const cli = (...args) => spawnSync(cliPath, args, { cwd: work.dir, encoding: 'utf8' });
const put = (path, bytes) => {
  mkdirSync(dirname(join(work.dir, path)), { recursive: true });
  writeFileSync(join(work.dir, path), bytes);
};
const colours = [0xffffff, 0xf8a000, 0x3050f8, 0x000000];
const picture = (side, order = [0, 2, 1, 3], table = colours) => png(side, side, pattern(side, side, order), table);
const grays = [0xffffff, 0xaaaaaa, 0x555555, 0x000000];

// insert-all on a copy of the ROM: its bytes (when it wrote them), lines and messages.
function insertAll(dir) {
  const copy = `cli-${dir.replaceAll('/', '-')}.gbc`;
  writeFileSync(join(work.dir, copy), rom);
  const run = cli('insert-all', dir, copy);
  return {
    status: run.status,
    bytes: new Uint8Array(readFileSync(join(work.dir, copy))),
    out: run.stdout.trim().split('\n').filter(Boolean),
    err: run.stderr.trim().split('\n').filter(Boolean).map((line) => line.replace(/^orvista-cli: /, '')),
  };
}

// The page's listing of a plan in insert-all's order: items, unused, summary.
const listing = (report) => [...report.items.map((item) => `${item.name}: ${item.text}`), ...report.unused,
  ...(report.summary ? [report.summary] : [])];

let core, held;
before(async () => {
  const [orv] = await loadModules('orv');
  core = await orv.OrvCore.load(wasmBytes());
  held = core.hold(rom, 'synth.gbc');
  assert.equal(cli('extract-all', 'synth.gbc', 'extracted-pret', '--layout', 'pret').status, 0);
  assert.equal(cli('extract-all', 'synth.gbc', 'extracted-flat').status, 0);
});
after(() => work.remove());

describe('a picture folder planned', () => {
  it('in the packs\' layout below gfx/ gives what insert-all writes and lists', () => {
    cpSync(join(work.dir, 'extracted-pret'), join(work.dir, 'pack/gfx'), { recursive: true });
    // A Pokemon's front and back in new colours together; grays beside a new normal.pal; a new shiny pair.
    put('pack/gfx/pokemon/pikachu/front.png', picture(56));
    put('pack/gfx/pokemon/pikachu/back.png', picture(48, [2, 0, 1, 3]));
    put('pack/gfx/pokemon/bulbasaur/normal.pal', '\tRGB 31, 20, 04\n\tRGB 10, 02, 20 ; comment\n');
    put('pack/gfx/pokemon/bulbasaur/front.png', picture(56, [0, 1, 2, 3], grays));
    put('pack/gfx/pokemon/chikorita/shiny.pal', 'RGB 1, 2, 3\nrgb 30, 29, 28\n');
    put('pack/gfx/trainers/falkner.png', picture(56, [3, 1, 0, 2]));
    // What the layout leaves out or does not know.
    put('pack/gfx/pokemon/pikachu/front_silver.png', picture(56));
    put('pack/gfx/egg/egg.png', picture(8));
    put('pack/gfx/egg/notes.txt', 'x');
    put('pack/gfx/pokemon/bulbasaur/anim.asm', 'x');
    put('pack/gfx/pokemon/chikorita/anim.asm', 'x');
    put('pack/gfx/trainers/old/falkner.png', picture(56));
    put('pack/README', 'not below the root');

    const expected = insertAll('pack');
    assert.equal(expected.status, 0, expected.err.join('\n'));
    const { entries, layout, read } = readFolder(held, join(work.dir, 'pack'));
    assert.equal(layout, 'pack-gfx');
    assert.equal(read.filter((r) => r === 'picture').length, 618);
    assert.equal(read.filter((r) => r === 'text').length, 253);
    const plan = held.planFolder(entries, 'pack');
    assert.ok(plan.report.ok, plan.report.message);
    assert.ok(Buffer.from(plan.rom.bytes()).equals(Buffer.from(expected.bytes)), 'the ROM differs from insert-all');
    assert.deepEqual(listing(plan.report), expected.out);
    assert.deepEqual(plan.report.notes, expected.err);
    assert.equal(plan.report.pictures + plan.report.palettes, plan.report.changed);
    assert.equal(plan.report.palettes, 2);
    assert.ok(plan.report.items.some((item) => item.outcome === 'moved' || item.outcome === 'in-place'));
    assert.equal(plan.report.bytesChanged,
      expected.bytes.reduce((n, b, i) => n + (b !== rom[i] ? 1 : 0), 0));
    // The held ROM stays as it was.
    assert.ok(Buffer.from(held.bytes()).equals(Buffer.from(rom)));
    plan.rom.free();
  });

  it('speaks German when asked, with the same bytes and facts', () => {
    const { entries } = readFolder(held, join(work.dir, 'pack'));
    const english = held.planFolder(entries, 'pack');
    core.language = 'de';
    try {
      const german = held.planFolder(entries, 'pack');
      assert.ok(Buffer.from(german.rom.bytes()).equals(Buffer.from(english.rom.bytes())));
      const facts = (text) => (text.match(/0x[0-9A-F]+|&H[0-9A-F]+|\d+/g) ?? []).map((n) => Number(n.replace('&H', '0x')));
      assert.deepEqual(german.report.items.map((item) => facts(item.text)),
        english.report.items.map((item) => facts(item.text)));
      assert.ok(german.report.items.some((item) => /^(an seiner Stelle ersetzt|verschoben von)/.test(item.text)));
      assert.ok(german.report.unused.some((line) => line.endsWith('übergangen (nicht Teil des Aufbaus; 2 Dateien)')));
      assert.match(german.report.summary, /^\d+ von \d+ Dateien geändert; freie Bytes \(Bereiche ab 64\) \d+ vorher, \d+ nachher$/);
      assert.deepEqual(facts(german.report.summary), facts(english.report.summary));
      german.rom.free();
    } finally {
      core.language = 'en';
      english.rom.free();
    }
  });

  it('in the flat names, with an own file and ignored names, as insert-all', () => {
    cpSync(join(work.dir, 'extracted-flat'), join(work.dir, 'flat'), { recursive: true });
    put('flat/trainer-10.png', picture(56, [0, 1, 2, 3]));
    put('flat/pokemon-025-front.png', picture(56, [0, 1, 2, 3], [0xffffff, 0x30c030, 0xc03030, 0]));
    assert.equal(cli('extract', 'synth.gbc', 'flat/own.orv', '--pokemon', '3').status, 0);
    rmSync(join(work.dir, 'flat/pokemon-004-front.png'));
    cpSync(join(work.dir, 'flat/own.orv'), join(work.dir, 'flat/pokemon-004-front.orv'));
    put('flat/readme.txt', 'x');
    put('flat/pokemon-999-front.png', picture(8));
    put('flat/.png', picture(8));
    put('flat/old/pokemon-001-front.png', picture(56));

    const expected = insertAll('flat');
    assert.equal(expected.status, 0, expected.err.join('\n'));
    const { entries, layout, read } = readFolder(held, join(work.dir, 'flat'));
    assert.equal(layout, 'flat');
    assert.equal(read.filter((r) => r === 'bytes').length, 1);
    const plan = held.planFolder(entries, 'flat');
    assert.ok(plan.report.ok, plan.report.message);
    assert.ok(Buffer.from(plan.rom.bytes()).equals(Buffer.from(expected.bytes)), 'the ROM differs from insert-all');
    assert.deepEqual(listing(plan.report), expected.out);
    assert.ok(plan.report.unused.includes('old: ignored (not named as extract-all names pictures)'));
    plan.rom.free();
  });

  it('refuses what insert-all refuses, in its words, and makes no ROM', () => {
    const cases = {
      // A back in a front's shape.
      misshapen: { 'pokemon-025-back.png': picture(56), 'trainer-01.png': picture(56) },
      // A .pal file with a component above 31.
      badpal: { 'gfx/pokemon/chikorita/shiny.pal': 'RGB 40, 0, 0\nRGB 0, 0, 0\n', 'gfx/trainers/falkner.png': picture(56) },
      // A front and a back that disagree on the normal pair, without normal.pal.
      conflict: { 'pokemon/pikachu/front.png': picture(56), 'pokemon/pikachu/back.png': picture(48, [0, 1, 2, 3],
        [0xffffff, 0x102030, 0x405060, 0]) },
    };
    for (const [dir, files] of Object.entries(cases)) {
      for (const [path, bytes] of Object.entries(files)) put(`${dir}/${path}`, bytes);
      const expected = insertAll(dir);
      assert.equal(expected.status, 1, dir);
      assert.ok(Buffer.from(expected.bytes).equals(Buffer.from(rom)));
      const plan = held.planFolder(readFolder(held, join(work.dir, dir)).entries, dir);
      assert.equal(plan.rom, null, dir);
      assert.equal(plan.report.ok, false);
      // insert-all names each misshapen picture on a line of its own, then says what happened.
      const lines = [...plan.report.items.map((item) => `${item.name}: ${item.text}`), plan.report.message];
      assert.equal(lines.at(-1), expected.err.at(-1).replace(/ Give --any-shape.*$/, ''), dir);
      assert.deepEqual(lines.slice(0, -1), dir === 'misshapen' ? expected.err.slice(0, -1) : lines.slice(0, -1));
    }
    const misshapen = held.planFolder(readFolder(held, join(work.dir, 'misshapen')).entries, 'misshapen');
    assert.deepEqual(misshapen.report.items.map((item) => [item.name, item.outcome]), [['pokemon-025-back.png', 'refused']]);
    assert.equal(misshapen.report.shapeOnly, true);
    // With any shape the same folder goes in.
    assert.ok(held.planFolder(readFolder(held, join(work.dir, 'misshapen')).entries, 'misshapen', { anyShape: true })
      .report.ok);
    assert.ok(Buffer.from(held.bytes()).equals(Buffer.from(rom)));
  });

  it('reads nothing of a folder of junk and changes nothing', () => {
    put('junk/notes.txt', 'x');
    put('junk/sub/picture.png', 'not a picture');
    put('junk/pokemon-001-front.txt', 'x');
    const { entries, layout, read } = readFolder(held, join(work.dir, 'junk'));
    assert.equal(layout, 'flat');
    assert.ok(read.every((r) => r === 'none'));
    const plan = held.planFolder(entries, 'junk');
    const expected = insertAll('junk');
    assert.deepEqual(listing(plan.report), expected.out);
    assert.equal(plan.report.changed, 0);
    assert.ok(Buffer.from(plan.rom.bytes()).equals(Buffer.from(rom)));
  });

  it('is refused as a bad argument when a file asked for is not given', () => {
    const entries = listFolder(join(work.dir, 'misshapen'));
    assert.throws(() => held.planFolder(entries, 'misshapen'), /orv_folder_plan: status 3/);
  });
});

describe('extract-all\'s files', () => {
  for (const layout of ['flat', 'pret']) {
    it(`in the ${layout} layout: names, shades, colours and .pal bytes as extract-all writes them`, () => {
      const dir = join(work.dir, `extracted-${layout}`);
      const files = held.extractFiles(layout);
      const onDisk = listFolder(dir).filter((e) => e.kind === 'file').map((e) => e.path).sort();
      assert.deepEqual(files.map((f) => f.path).sort(), onDisk);
      for (const file of files) {
        const bytes = readFileSync(join(dir, file.path));
        if (file.type === 'palette') {
          assert.equal(file.text, bytes.toString('latin1'), file.path);
          continue;
        }
        assert.equal(file.type, 'picture', file.path);
        const { width, height, indices } = readIndexedPng(bytes);
        assert.deepEqual([file.width, file.height], [width, height], file.path);
        assert.ok(Buffer.from(file.shades).equals(Buffer.from(indices)), file.path);
        const plte = bytes.subarray(bytes.indexOf('PLTE') + 4);
        const entry = (k) => plte[3 * k] << 16 | plte[3 * k + 1] << 8 | plte[3 * k + 2];
        assert.deepEqual(file.colours, [entry(1), entry(2)], file.path);
      }
    });
  }
});

describe('the space map', () => {
  const table = (path, min) => cli('space', path, ...(min ? ['--min', String(min)] : [])).stdout.trim().split('\n')
    .slice(2).map((line) => line.trim().split(/\s+/));
  const rows = (map) => [...map.banks.map((b) => ['0x' + b.bank.toString(16).toUpperCase(), b.pictures,
    b.pictureBytes, b.runs.length, b.freeBytes, b.largest]), ['total', map.pictures, map.pictureBytes, map.runs,
    map.freeBytes, map.largest]].map(([bank, ...numbers]) => {
    const largest = numbers.pop();
    return [bank, ...numbers.map(String),
      ...(largest ? [String(largest.length), 'at', '0x' + largest.offset.toString(16).toUpperCase()] : ['-'])];
  });

  it('counts banks, pictures and free runs as orvista-cli space, before and after a change', () => {
    assert.deepEqual(rows(held.spaceMap()), table('synth.gbc'));
    const plan = held.planFolder(readFolder(held, join(work.dir, 'pack')).entries, 'pack');
    writeFileSync(join(work.dir, 'changed.gbc'), plan.rom.bytes());
    for (const min of [64, 16]) assert.deepEqual(rows(plan.rom.spaceMap(min)), table('changed.gbc', min));
    const map = plan.rom.spaceMap();
    // Each bank's slots lead into it; every slot with a picture is in one bank.
    const slots = plan.rom.slots();
    for (const bank of map.banks) for (const i of bank.slots) assert.equal(slots[i].bank, bank.bank);
    const listed = map.banks.flatMap((b) => b.slots).sort((a, b) => a - b);
    assert.deepEqual(listed, slots.filter((s) => s.streamBytes > 0).map((s) => s.index));
    assert.equal(map.bankCount, rom.length / 0x4000);
    plan.rom.free();
  });
});

describe('the download\'s PNG and zip writers', () => {
  let png4, zipper;
  before(async () => {
    [png4, zipper] = await loadModules('png', 'zip');
  });

  it('write four-colour PNGs of any width that decode to their shades and table', () => {
    for (const [width, height] of [[56, 56], [13, 3], [1, 1]]) {
      const shades = Uint8Array.from({ length: width * height }, (_, i) => (i * 7 + (i >> 3)) & 3);
      const file = png4.fourColourPng(width, height, shades, [0x123456, 0xabcdef]);
      const decoded = readIndexedPng(file);
      assert.deepEqual([decoded.width, decoded.height], [width, height]);
      assert.ok(Buffer.from(decoded.indices).equals(Buffer.from(shades)), `${width} x ${height}`);
      const at = Buffer.from(file).indexOf('PLTE');
      assert.equal(Buffer.from(file).subarray(at + 4, at + 16).toString('hex'), 'ffffff123456abcdef000000');
    }
    // More than one stored block, each with its own length, and the Adler-32 zlib checks.
    const large = Uint8Array.from({ length: 200_000 }, (_, i) => (i * 31) >>> 3);
    assert.ok(inflateSync(png4.zlibStored(large)).equals(Buffer.from(large)));
    assert.ok(inflateSync(png4.zlibStored(new Uint8Array(0))).length === 0);
  });

  it('write stored zips whose names, bytes and CRC-32 read back', () => {
    const files = [{ name: 'pokemon/nidoran♀/front.png', bytes: Uint8Array.of(1, 2, 3) },
      { name: 'empty.pal', bytes: new Uint8Array(0) }, { name: 'a/b/c.txt', bytes: new TextEncoder().encode('x'.repeat(70_000)) }];
    const read = readZip(zipper.zip(files, new Date(2026, 11, 8, 19, 4, 30)));
    assert.deepEqual([...read.keys()], files.map((f) => f.name));
    for (const f of files) assert.ok(Buffer.from(read.get(f.name)).equals(Buffer.from(f.bytes)), f.name);
    assert.equal(zipper.crc32(new TextEncoder().encode('123456789')), 0xcbf43926);
  });
});
