// TEMPORARY stand-in for orv_web.wasm while the core is not built for wasm:
// fake slots and pictures with the real module's interface, for the page's
// layout only. Removed once the module is built from the core.

import type { Core, DecodedPicture, HeldRom, Insertion, RomInfo, Shades, SlotInfo } from './orv.ts';
import { Refusal } from './orv.ts';

function slotList(): Omit<SlotInfo, 'offset' | 'bank' | 'streamBytes' | 'width' | 'height' | 'normal' | 'shiny'>[] {
  const out = [];
  for (let n = 1; n <= 251; n++) if (n !== 201) for (const back of [false, true]) out.push({ kind: 'pokemon' as const, number: n, back, name: `P${n}` });
  for (let n = 1; n <= 26; n++) for (const back of [false, true]) out.push({ kind: 'unown' as const, number: n, back, name: 'UNOWN' });
  for (let n = 1; n <= 66; n++) out.push({ kind: 'trainer' as const, number: n, back: false, name: '' });
  return out.map((s, index) => ({ index, ...s }));
}

class StandInRom implements HeldRom {
  constructor(private readonly data: Uint8Array, readonly fileName: string, private readonly seed = 0) {}
  get size() { return this.data.length; }
  bytes() { return this.data.slice(); }
  info(): RomInfo {
    if (this.data.length < 0x150 || (this.data[0x142] !== 0x44 && this.data[0x142] !== 0x45))
      throw new Refusal(`"${this.fileName}" is not a ROM of Pokemon Gold or Silver (English or German): the header's language byte is neither D nor E.`);
    return { size: this.size, title: 'POKEMON_GLD', gameCode: 'AAUE', edition: 'Gold', language: 'English', retail: false,
      crc32: 0x12345678, sha1: '0123456789abcdef0123456789abcdef01234567', headerChecksum: { stored: 0x4f, computed: 0x4f },
      globalChecksum: { stored: 0xabcd, computed: 0xabcd }, freeBytes: 32768 - this.seed * 700, freeRuns: 3, soundPictures: 620 };
  }
  slots(): SlotInfo[] {
    return slotList().map((s) => {
      const side = s.kind === 'trainer' ? 56 : s.back ? 48 : [40, 48, 56][s.number % 3];
      return { ...s, offset: 0x100000 + s.index * 700, bank: (0x100000 + s.index * 700) >> 14, streamBytes: 400 + (s.index * 37) % 500,
        width: side, height: side, normal: [(s.number * 0x3a7f1) & 0xffffff, (s.number * 0x15c3b) & 0xffffff],
        shiny: [(s.number * 0x7c113) & 0xffffff, (s.number * 0x2f0d1) & 0xffffff] } as SlotInfo;
    });
  }
  pictures(first = 0, count = 618 - first): (Shades | null)[] {
    return Array.from({ length: count }, (_, i) => this.shades(first + i));
  }
  shades(slot: number): Shades | null {
    const s = this.slots()[slot];
    const shades = new Uint8Array(s.width * s.height);
    const cx = s.width / 2, cy = s.height / 2;
    for (let y = 0; y < s.height; y++) for (let x = 0; x < s.width; x++) {
      const d = Math.hypot(x - cx, (y - cy) * 1.2) / cx;
      shades[y * s.width + x] = d > 0.95 ? 0 : d > 0.85 ? 3 : ((x * (slot + 3) + y * 7 + this.seed) >> 3) % 3 === 0 ? 2 : 1;
    }
    return { width: s.width, height: s.height, shades };
  }
  insert(slot: number, picture: DecodedPicture, pictureName: string): { rom: HeldRom; insertion: Insertion } {
    if (picture.width % 8 || picture.width !== picture.height)
      throw new Refusal(`The picture "${pictureName}" is ${picture.width} x ${picture.height} pixels; this slot takes 40 x 40, 48 x 48 or 56 x 56.`);
    return { rom: new StandInRom(this.data, this.fileName, this.seed + 1),
      insertion: { dataOffset: 0x1f0002, streamBytes: 713, width: picture.width, height: picture.height, patches: 5, report: `stand-in for slot ${slot}` } };
  }
  patch(): Uint8Array<ArrayBuffer> { return new Uint8Array(16); }
  free() {}
}

export class StandInCore implements Core {
  readonly slotCount = 618;
  hold(bytes: Uint8Array, fileName: string): HeldRom { return new StandInRom(bytes, fileName); }
}
