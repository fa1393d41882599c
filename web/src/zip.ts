// A zip of stored files (no compression), each with its CRC-32; names in
// UTF-8. Enough for a folder of small pictures and .pal files.

const CRC_TABLE = (() => {
  const table = new Uint32Array(256);
  for (let n = 0; n < 256; n++) {
    let c = n;
    for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    table[n] = c >>> 0;
  }
  return table;
})();

export function crc32(bytes: Uint8Array): number {
  let c = 0xffffffff;
  for (let i = 0; i < bytes.length; i++) c = CRC_TABLE[(c ^ bytes[i]) & 255] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

export interface ZipFile {
  name: string; // '/' between folders
  bytes: Uint8Array;
}

const UTF8_NAMES = 0x0800;

// date: the files' time as local time, stored as DOS time (from 1980 on).
export function zip(files: readonly ZipFile[], date = new Date()): Uint8Array<ArrayBuffer> {
  const encoder = new TextEncoder();
  const year = Math.max(date.getFullYear(), 1980);
  const dosTime = date.getHours() << 11 | date.getMinutes() << 5 | date.getSeconds() >> 1;
  const dosDate = (year - 1980) << 9 | (date.getMonth() + 1) << 5 | date.getDate();
  const names = files.map((f) => encoder.encode(f.name));
  const crcs = files.map((f) => crc32(f.bytes));
  const localSize = files.reduce((n, f, i) => n + 30 + names[i].length + f.bytes.length, 0);
  const centralSize = names.reduce((n, name) => n + 46 + name.length, 0);
  if (files.length > 0xffff || localSize + centralSize > 0xffffffff) throw new RangeError('too large for a zip');
  const out = new Uint8Array(localSize + centralSize + 22);
  const v = new DataView(out.buffer);
  const offsets: number[] = [];
  let at = 0;
  files.forEach((f, i) => {
    offsets.push(at);
    v.setUint32(at, 0x04034b50, true);
    v.setUint16(at + 4, 10, true); // version needed: 1.0, stored
    v.setUint16(at + 6, UTF8_NAMES, true);
    v.setUint16(at + 8, 0, true); // stored
    v.setUint16(at + 10, dosTime, true);
    v.setUint16(at + 12, dosDate, true);
    v.setUint32(at + 14, crcs[i], true);
    v.setUint32(at + 18, f.bytes.length, true);
    v.setUint32(at + 22, f.bytes.length, true);
    v.setUint16(at + 26, names[i].length, true);
    v.setUint16(at + 28, 0, true);
    out.set(names[i], at + 30);
    out.set(f.bytes, at + 30 + names[i].length);
    at += 30 + names[i].length + f.bytes.length;
  });
  const central = at;
  files.forEach((f, i) => {
    v.setUint32(at, 0x02014b50, true);
    v.setUint16(at + 4, 20, true); // made by: version 2.0
    v.setUint16(at + 6, 10, true);
    v.setUint16(at + 8, UTF8_NAMES, true);
    v.setUint16(at + 10, 0, true);
    v.setUint16(at + 12, dosTime, true);
    v.setUint16(at + 14, dosDate, true);
    v.setUint32(at + 16, crcs[i], true);
    v.setUint32(at + 20, f.bytes.length, true);
    v.setUint32(at + 24, f.bytes.length, true);
    v.setUint16(at + 28, names[i].length, true);
    // extra, comment, disk, internal and external attributes stay 0
    v.setUint32(at + 42, offsets[i], true);
    out.set(names[i], at + 46);
    at += 46 + names[i].length;
  });
  v.setUint32(at, 0x06054b50, true);
  v.setUint16(at + 8, files.length, true);
  v.setUint16(at + 10, files.length, true);
  v.setUint32(at + 12, at - central, true);
  v.setUint32(at + 16, central, true);
  return out;
}
