// Picture files and ROMs made by code for the tests: PNG (true colour or
// indexed), BMP (8 bits per pixel) and GIF encoders, a pattern of four
// colours, and the standard synthetic ROM of tests/support.
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { deflateSync, inflateSync } from 'node:zlib';

export const root = resolve(import.meta.dirname, '..', '..');
export const buildDir = process.env.ORV_BUILD_DIR ?? join(root, 'build');
export const cliPath = join(buildDir, 'bin', 'orvista-cli');
export const webDir = process.env.ORV_WEB_DIR ?? join(root, 'build-web');

// orvista-cli run in dir, so that messages name files as the page does: its
// exit code, output, and the message without the program's prefix.
export function cliIn(dir) {
  return (...args) => {
    const run = spawnSync(cliPath, args, { cwd: dir, encoding: 'utf8' });
    return { code: run.status, out: run.stdout, err: run.stderr.replace(/^orvista-cli: /, '').trim() };
  };
}

export function tempDir() {
  const dir = mkdtempSync(join(tmpdir(), 'orv-web-test-'));
  return { dir, remove: () => rmSync(dir, { recursive: true, force: true }) };
}

// A test file's folder with the synthetic ROM in it as synth.gbc; file()
// puts more there (folders made as needed) and returns the path.
export function workspace(language = 'E') {
  const work = tempDir();
  const rom = syntheticRom(language);
  const file = (name, bytes) => {
    const path = join(work.dir, name);
    mkdirSync(dirname(path), { recursive: true });
    writeFileSync(path, bytes);
    return path;
  };
  return { work, rom, file, romFile: file('synth.gbc', rom) };
}

// The standard synthetic ROM (tests/support/synthetic_rom.h) as bytes.
export function syntheticRom(language = 'E') {
  const t = tempDir();
  try {
    const file = join(t.dir, 'rom.gbc');
    execFileSync(join(buildDir, 'bin', 'write_synthetic_rom'), [file, language]);
    return new Uint8Array(readFileSync(file));
  } finally {
    t.remove();
  }
}

// width x height indices into colours (0xRRGGBB): a pattern with every
// index, its first-found order (columns left to right, each from the
// bottom) chosen by `order`.
export function pattern(width, height, order = [0, 1, 2, 3]) {
  const indices = new Uint8Array(width * height);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++)
      indices[y * width + x] = order[((x >> 2) + ((height - 1 - y) >> 3)) % order.length];
  return indices;
}

export function rgbaOf(indices, colours) {
  const rgba = new Uint8Array(indices.length * 4);
  indices.forEach((index, i) => {
    const c = colours[index];
    rgba.set([c >> 16 & 255, c >> 8 & 255, c & 255, 255], 4 * i);
  });
  return rgba;
}

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

export function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = crcTable[(c ^ b) & 255] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function chunk(type, data) {
  const out = Buffer.alloc(12 + data.length);
  out.writeUInt32BE(data.length, 0);
  out.write(type, 4, 'latin1');
  Buffer.from(data).copy(out, 8);
  out.writeUInt32BE(crc32(out.subarray(4, 8 + data.length)), 8 + data.length);
  return out;
}

// A PNG of indices into colours: indexed (PLTE in the given order) or RGB.
export function png(width, height, indices, colours, { indexed = false } = {}) {
  const ihdr = Buffer.alloc(13);
  ihdr.writeUInt32BE(width, 0);
  ihdr.writeUInt32BE(height, 4);
  ihdr[8] = 8;
  ihdr[9] = indexed ? 3 : 2;
  const stride = indexed ? width : width * 3;
  const raw = Buffer.alloc((stride + 1) * height);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) {
      const index = indices[y * width + x];
      const at = y * (stride + 1) + 1;
      if (indexed) raw[at + x] = index;
      else raw.set([colours[index] >> 16 & 255, colours[index] >> 8 & 255, colours[index] & 255], at + 3 * x);
    }
  const parts = [Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]), chunk('IHDR', ihdr)];
  if (indexed) parts.push(chunk('PLTE', Buffer.from(colours.flatMap((c) => [c >> 16 & 255, c >> 8 & 255, c & 255]))));
  parts.push(chunk('IDAT', deflateSync(raw)), chunk('IEND', Buffer.alloc(0)));
  return new Uint8Array(Buffer.concat(parts));
}

// An 8-bit BMP with the colour table in the given order.
export function bmp(width, height, indices, colours) {
  const stride = (width + 3) & ~3;
  const tableBytes = 4 * colours.length;
  const offset = 14 + 40 + tableBytes;
  const out = Buffer.alloc(offset + stride * height);
  out.write('BM', 0, 'latin1');
  out.writeUInt32LE(out.length, 2);
  out.writeUInt32LE(offset, 10);
  out.writeUInt32LE(40, 14);
  out.writeInt32LE(width, 18);
  out.writeInt32LE(height, 22);
  out.writeUInt16LE(1, 26);
  out.writeUInt16LE(8, 28);
  out.writeUInt32LE(stride * height, 34);
  out.writeUInt32LE(colours.length, 46);
  colours.forEach((c, i) => out.set([c & 255, c >> 8 & 255, c >> 16 & 255, 0], 54 + 4 * i));
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) out[offset + (height - 1 - y) * stride + x] = indices[y * width + x];
  return new Uint8Array(out);
}

// A GIF with a global table of 256 entries; LZW codes stay 9 bits wide by
// a clear code every 254 pixels.
export function gif(width, height, indices, colours) {
  const head = Buffer.alloc(13);
  head.write('GIF89a', 0, 'latin1');
  head.writeUInt16LE(width, 6);
  head.writeUInt16LE(height, 8);
  head[10] = 0xf7;
  const table = Buffer.alloc(768);
  colours.forEach((c, i) => table.set([c >> 16 & 255, c >> 8 & 255, c & 255], 3 * i));
  const image = Buffer.alloc(10);
  image[0] = 0x2c;
  image.writeUInt16LE(width, 5);
  image.writeUInt16LE(height, 7);
  const codes = [256];
  indices.forEach((index, i) => {
    if (i > 0 && i % 254 === 0) codes.push(256);
    codes.push(index);
  });
  codes.push(257);
  const bits = [];
  for (const code of codes) for (let b = 0; b < 9; b++) bits.push(code >> b & 1);
  const data = Buffer.alloc(Math.ceil(bits.length / 8));
  bits.forEach((bit, i) => { data[i >> 3] |= bit << (i & 7); });
  const blocks = [Buffer.from([8])];
  for (let at = 0; at < data.length; at += 255) {
    const piece = data.subarray(at, at + 255);
    blocks.push(Buffer.from([piece.length]), piece);
  }
  blocks.push(Buffer.from([0, 0x3b]));
  return new Uint8Array(Buffer.concat([head, table, image, ...blocks]));
}

// An indexed or grey PNG of bit depth 1, 2, 4 or 8 (as the command line
// writes them) as one index per pixel, rows from the top.
export function readIndexedPng(file) {
  const bytes = Buffer.from(file);
  let at = 8, width = 0, height = 0, depth = 0;
  const idat = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at), type = bytes.toString('latin1', at + 4, at + 8);
    const data = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = data.readUInt32BE(0);
      height = data.readUInt32BE(4);
      depth = data[8];
      if (data[9] !== 3 && data[9] !== 0) throw new Error(`PNG colour type ${data[9]}`);
      if (data[12] !== 0) throw new Error('interlaced PNG');
    } else if (type === 'IDAT') idat.push(data);
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(idat));
  const stride = Math.ceil(width * depth / 8);
  const bpp = Math.max(1, depth / 8);
  const rows = [];
  let previous = Buffer.alloc(stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)];
    const row = Buffer.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; i++) {
      const a = i >= bpp ? row[i - bpp] : 0, b = previous[i], c = i >= bpp ? previous[i - bpp] : 0;
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      const predictor = [0, a, b, (a + b) >> 1, pa <= pb && pa <= pc ? a : pb <= pc ? b : c][filter];
      row[i] = (row[i] + predictor) & 255;
    }
    rows.push(row);
    previous = row;
  }
  const indices = new Uint8Array(width * height);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) {
      const bit = x * depth;
      indices[y * width + x] = rows[y][bit >> 3] >> (8 - depth - (bit & 7)) & ((1 << depth) - 1);
    }
  return { width, height, indices };
}

// A BPS patch applied to source, with its three CRC32 checks.
export function applyBps(patch, source) {
  let at = 4;
  const number = () => {
    let value = 0, shift = 1;
    for (;;) {
      const byte = patch[at++];
      value += (byte & 0x7f) * shift;
      if (byte & 0x80) return value;
      shift *= 128;
      value += shift;
    }
  };
  if (Buffer.from(patch.subarray(0, 4)).toString('latin1') !== 'BPS1') throw new Error('no BPS patch');
  const end = patch.length - 12;
  const view = new DataView(patch.buffer, patch.byteOffset, patch.byteLength);
  if (number() !== source.length) throw new Error('BPS: wrong source size');
  const target = new Uint8Array(number());
  const metadata = number();
  at += metadata;
  if (view.getUint32(end, true) !== crc32(source)) throw new Error('BPS: wrong source');
  let out = 0, sourceRel = 0, targetRel = 0;
  while (at < end) {
    const command = number();
    const length = (command >> 2) + 1;
    const signed = () => { const n = number(); return (n & 1 ? -1 : 1) * (n >> 1); };
    switch (command & 3) {
      case 0: for (let i = 0; i < length; i++, out++) target[out] = source[out]; break;
      case 1: for (let i = 0; i < length; i++) target[out++] = patch[at++]; break;
      case 2: sourceRel += signed(); for (let i = 0; i < length; i++) target[out++] = source[sourceRel++]; break;
      case 3: targetRel += signed(); for (let i = 0; i < length; i++) target[out++] = target[targetRel++]; break;
    }
  }
  if (view.getUint32(end + 4, true) !== crc32(target)) throw new Error('BPS: wrong target');
  if (view.getUint32(end + 8, true) !== crc32(patch.subarray(0, end + 8))) throw new Error('BPS: damaged patch');
  return target;
}

// An IPS patch applied to source.
export function applyIps(patch, source) {
  const target = Uint8Array.from(source);
  let at = 5;
  for (;;) {
    const offset = patch[at] << 16 | patch[at + 1] << 8 | patch[at + 2];
    if (offset === 0x454f46 && at + 3 === patch.length) return target;
    let size = patch[at + 3] << 8 | patch[at + 4];
    at += 5;
    if (size) {
      target.set(patch.subarray(at, at + size), offset);
      at += size;
    } else {
      size = patch[at] << 8 | patch[at + 1];
      target.fill(patch[at + 2], offset, offset + size);
      at += 3;
    }
  }
}

// A friendly shape in four shades for screenshots: white ground, black
// outline, colour 1 body, colour 2 shading. kind 0..3: ball, blob, star, leaf.
export function demoPicture(kind, side) {
  const indices = new Uint8Array(side * side);
  const c = side / 2, r = side * 0.42;
  const inside = (x, y) => {
    const dx = x - c, dy = y - c;
    switch (kind % 4) {
      case 0: return Math.hypot(dx, dy) - r;
      case 1: return Math.hypot(dx * 0.9, (dy - r * 0.2) * (dy > 0 ? 1.4 : 0.85)) - r * 0.9;
      case 2: {
        const a = Math.atan2(dy, dx), k = 0.55 + 0.45 * Math.cos(5 * a + Math.PI / 2);
        return Math.hypot(dx, dy) - r * (0.5 + 0.5 * k);
      }
      default: return Math.abs(dx) / (r * 0.55) + Math.abs(dy) / r - 1;
    }
  };
  for (let y = 0; y < side; y++)
    for (let x = 0; x < side; x++) {
      const d = inside(x + 0.5, y + 0.5);
      const unit = kind % 4 === 3 ? d * r : d;
      let shade = unit > 0 ? 0 : unit > -1.6 ? 3 : 1;
      if (shade === 1 && (x - c) + (y - c) > r * 0.35) shade = 2; // shade toward the lower right
      if (shade === 1 && Math.hypot(x - c + r * 0.35, y - c + r * 0.35) < r * 0.16) shade = 0; // a gleam
      if (kind % 4 === 0 && shade !== 0 && Math.abs(y - c) < 1.2) shade = 3; // the ball's band
      if (kind % 4 === 1 && shade !== 0 && Math.abs(y - c + r * 0.15) < 2.5 && Math.abs(Math.abs(x - c) - r * 0.35) < 2)
        shade = 3; // eyes
      indices[y * side + x] = shade;
    }
  return indices;
}
