// Four-colour indexed PNGs as extract-all writes pictures: two bits per
// pixel, the table white, colour 1, colour 2, black, so an editor keeps each
// shade's role. The image data goes into stored deflate blocks: a picture is
// at most a few kilobytes, and the zip holding it is not compressed either.

import { crc32 } from './zip.ts';

const SIGNATURE = [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a];
const STORED_BLOCK = 65535;

function adler32(bytes: Uint8Array): number {
  let a = 1, b = 0;
  for (let i = 0; i < bytes.length;) {
    // 5552 bytes keep b below 2^32 between reductions.
    const end = Math.min(bytes.length, i + 5552);
    for (; i < end; i++) {
      a += bytes[i];
      b += a;
    }
    a %= 65521;
    b %= 65521;
  }
  return (b << 16 | a) >>> 0;
}

// A zlib stream of stored blocks.
export function zlibStored(data: Uint8Array): Uint8Array {
  const blocks = Math.max(1, Math.ceil(data.length / STORED_BLOCK));
  const out = new Uint8Array(2 + 5 * blocks + data.length + 4);
  const v = new DataView(out.buffer);
  out[0] = 0x78;
  out[1] = 0x01;
  let at = 2;
  for (let k = 0; k < blocks; k++) {
    const piece = data.subarray(k * STORED_BLOCK, (k + 1) * STORED_BLOCK);
    out[at] = k === blocks - 1 ? 1 : 0;
    v.setUint16(at + 1, piece.length, true);
    v.setUint16(at + 3, ~piece.length & 0xffff, true);
    out.set(piece, at + 5);
    at += 5 + piece.length;
  }
  v.setUint32(at, adler32(data));
  return out;
}

function chunk(type: string, data: Uint8Array): Uint8Array {
  const out = new Uint8Array(12 + data.length);
  const v = new DataView(out.buffer);
  v.setUint32(0, data.length);
  for (let i = 0; i < 4; i++) out[4 + i] = type.charCodeAt(i);
  out.set(data, 8);
  v.setUint32(8 + data.length, crc32(out.subarray(4, 8 + data.length)));
  return out;
}

// shades: 0..3 per pixel, rows from the top; colours 1 and 2 as 0xRRGGBB.
export function fourColourPng(width: number, height: number, shades: Uint8Array,
  colours: readonly [number, number]): Uint8Array {
  const header = new Uint8Array(13);
  const hv = new DataView(header.buffer);
  hv.setUint32(0, width);
  hv.setUint32(4, height);
  header[8] = 2; // bits per pixel
  header[9] = 3; // indexed
  const table = [0xffffff, colours[0] & 0xffffff, colours[1] & 0xffffff, 0];
  const plte = new Uint8Array(table.flatMap((c) => [c >> 16 & 255, c >> 8 & 255, c & 255]));
  const stride = Math.ceil(width / 4);
  const raw = new Uint8Array((stride + 1) * height); // each row: filter 0, then the pixels
  for (let y = 0; y < height; y++) {
    const row = y * (stride + 1) + 1;
    for (let x = 0; x < width; x++) raw[row + (x >> 2)] |= (shades[y * width + x] & 3) << (6 - 2 * (x & 3));
  }
  const parts = [new Uint8Array(SIGNATURE), chunk('IHDR', header), chunk('PLTE', plte),
    chunk('IDAT', zlibStored(raw)), chunk('IEND', new Uint8Array(0))];
  const out = new Uint8Array(parts.reduce((n, p) => n + p.length, 0));
  let at = 0;
  for (const p of parts) {
    out.set(p, at);
    at += p.length;
  }
  return out;
}
