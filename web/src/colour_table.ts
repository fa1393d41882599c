// An indexed picture file's own colour table, in its order, as the desktop
// picture reader hands it to the colour-role rules: a palette PNG's PLTE and
// the table of a BMP of 1, 4 or 8 bits per pixel. Other files (and GIF,
// which that reader decodes to true colour) have none.

const PNG_SIGNATURE = [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a];

function pngTable(file: Uint8Array): number[] | undefined {
  const v = new DataView(file.buffer, file.byteOffset, file.byteLength);
  let at = 8;
  let indexed = false;
  while (at + 8 <= file.length) {
    const length = v.getUint32(at);
    const type = String.fromCharCode(...file.subarray(at + 4, at + 8));
    const data = at + 8;
    if (data + length > file.length) return undefined;
    if (type === 'IHDR') {
      if (length < 13) return undefined;
      indexed = file[data + 9] === 3;
      if (!indexed) return undefined;
    } else if (type === 'PLTE') {
      if (!indexed) return undefined;
      const table: number[] = [];
      for (let i = 0; i + 3 <= length && table.length < 256; i += 3)
        table.push(file[data + i] << 16 | file[data + i + 1] << 8 | file[data + i + 2]);
      return table;
    } else if (type === 'IDAT' || type === 'IEND') {
      return undefined;
    }
    at = data + length + 4;
  }
  return undefined;
}

function bmpTable(file: Uint8Array): number[] | undefined {
  if (file.length < 14 + 12) return undefined;
  const v = new DataView(file.buffer, file.byteOffset, file.byteLength);
  const headerSize = v.getUint32(14, true);
  const core = headerSize === 12; // the OS/2 header: 16-bit sizes, 3-byte entries
  if (!core && (headerSize < 40 || 14 + headerSize > file.length)) return undefined;
  const bits = core ? v.getUint16(24, true) : v.getUint16(28, true);
  if (bits !== 1 && bits !== 4 && bits !== 8) return undefined;
  const used = core ? 0 : v.getUint32(46, true);
  const count = Math.min(used > 0 ? used : 1 << bits, 256);
  const entry = core ? 3 : 4;
  const start = 14 + headerSize;
  const table: number[] = [];
  for (let i = 0; i < count && start + entry * (i + 1) <= file.length; i++) {
    const p = start + entry * i;
    table.push(file[p + 2] << 16 | file[p + 1] << 8 | file[p]);
  }
  return table;
}

export function colourTable(file: Uint8Array): number[] | undefined {
  if (file.length >= 8 && PNG_SIGNATURE.every((b, i) => file[i] === b)) return pngTable(file);
  if (file.length >= 2 && file[0] === 0x42 && file[1] === 0x4d) return bmpTable(file);
  return undefined;
}
