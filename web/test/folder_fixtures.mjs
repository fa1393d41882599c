// Picture folders for the tests: read from disk as the page hands them to
// the core (every file and folder by its path, then the files the core asks
// for decoded), PNGs decoded to RGBA in node, a zip's stored entries read.
import { readdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { inflateSync } from 'node:zlib';
import { crc32, readIndexedPng } from './fixtures.mjs';

// Every file and folder below dir, paths with '/', in no particular order.
export function listFolder(dir, prefix = '') {
  const entries = [];
  for (const d of readdirSync(join(dir, prefix), { withFileTypes: true })) {
    const path = prefix ? `${prefix}/${d.name}` : d.name;
    if (d.isDirectory()) {
      entries.push({ path, kind: 'folder' });
      entries.push(...listFolder(dir, path));
    } else entries.push({ path, kind: 'file' });
  }
  return entries;
}

function chunks(bytes) {
  const out = [];
  for (let at = 8; at < bytes.length;) {
    const length = bytes.readUInt32BE(at);
    out.push({ type: bytes.toString('latin1', at + 4, at + 8), data: bytes.subarray(at + 8, at + 8 + length) });
    at += 12 + length;
  }
  return out;
}

// An 8-bit RGB or an indexed PNG (as fixtures.png and the command line write
// them) as RGBA, rows from the top, with an indexed file's colour table.
export function decodePng(file) {
  const bytes = Buffer.from(file);
  const parts = chunks(bytes);
  const header = parts.find((c) => c.type === 'IHDR').data;
  const width = header.readUInt32BE(0), height = header.readUInt32BE(4), type = header[9];
  const rgba = new Uint8Array(width * height * 4);
  if (type === 3) {
    const plte = parts.find((c) => c.type === 'PLTE').data;
    const table = [];
    for (let i = 0; i + 3 <= plte.length; i += 3) table.push(plte[i] << 16 | plte[i + 1] << 8 | plte[i + 2]);
    const { indices } = readIndexedPng(bytes);
    indices.forEach((index, i) => rgba.set([table[index] >> 16 & 255, table[index] >> 8 & 255, table[index] & 255, 255], 4 * i));
    return { width, height, rgba, colourTable: table };
  }
  if (type !== 2 || header[8] !== 8) throw new Error(`PNG colour type ${type}`);
  const raw = inflateSync(Buffer.concat(parts.filter((c) => c.type === 'IDAT').map((c) => c.data)));
  const stride = width * 3;
  for (let y = 0; y < height; y++) {
    if (raw[y * (stride + 1)] !== 0) throw new Error('filtered RGB rows');
    for (let x = 0; x < width; x++) {
      const at = y * (stride + 1) + 1 + 3 * x;
      rgba.set([raw[at], raw[at + 1], raw[at + 2], 255], 4 * (y * width + x));
    }
  }
  return { width, height, rgba };
}

// The folder's entries with what the ROM's core asks for read.
export function readFolder(rom, dir) {
  const listed = listFolder(dir);
  const { read, layout } = rom.folderNeeds(listed);
  const entries = listed.map((entry, i) => {
    const file = () => readFileSync(join(dir, entry.path));
    switch (read[i]) {
      case 'picture': return { path: entry.path, kind: 'picture', picture: decodePng(file()) };
      case 'text': return { path: entry.path, kind: 'text', text: file().toString('utf8') };
      case 'bytes': return { path: entry.path, kind: 'bytes', bytes: new Uint8Array(file()) };
      default: return entry;
    }
  });
  return { entries, layout, read };
}

// The entries of a zip of stored files, each checked against its CRC-32.
export function readZip(zip) {
  const bytes = Buffer.from(zip);
  const end = bytes.lastIndexOf(Buffer.from([0x50, 0x4b, 0x05, 0x06]));
  if (end < 0) throw new Error('no end of central directory');
  const count = bytes.readUInt16LE(end + 10);
  let at = bytes.readUInt32LE(end + 16);
  const files = new Map();
  for (let i = 0; i < count; i++) {
    if (bytes.readUInt32LE(at) !== 0x02014b50) throw new Error('bad central directory entry');
    const method = bytes.readUInt16LE(at + 10), crc = bytes.readUInt32LE(at + 16), size = bytes.readUInt32LE(at + 20);
    const nameLength = bytes.readUInt16LE(at + 28), extra = bytes.readUInt16LE(at + 30), comment = bytes.readUInt16LE(at + 32);
    const local = bytes.readUInt32LE(at + 42);
    const name = bytes.toString('utf8', at + 46, at + 46 + nameLength);
    if (method !== 0) throw new Error(`${name}: method ${method}`);
    if (bytes.readUInt32LE(local) !== 0x04034b50) throw new Error(`${name}: no local header`);
    const data = bytes.subarray(local + 30 + bytes.readUInt16LE(local + 26) + bytes.readUInt16LE(local + 28)).subarray(0, size);
    if (crc32(data) !== crc) throw new Error(`${name}: CRC-32 differs`);
    files.set(name, new Uint8Array(data));
    at += 46 + nameLength + extra + comment;
  }
  return files;
}
