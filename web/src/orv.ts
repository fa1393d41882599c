// The thin JavaScript face of orv_web.wasm (web/abi/orv_web.h): copies bytes
// in and out of the module's memory and reads its records. It knows nothing
// of the games; every fact comes from the core.

import { wasiImports } from './wasi.ts';

export type Edition = 'Gold' | 'Silver' | null;
export type SlotKind = 'pokemon' | 'unown' | 'trainer';
export type PatchFormat = 'bps' | 'ips';
// The language of the core's messages: the command line's English or the wizard's German.
export type Language = 'en' | 'de';

export interface RomInfo {
  size: number;
  title: string;
  gameCode: string;
  edition: Edition;
  language: 'English' | 'German' | null;
  retail: boolean;
  crc32: number;
  sha1: string; // 40 lower-case hex digits
  headerChecksum: { stored: number; computed: number };
  globalChecksum: { stored: number; computed: number };
  freeBytes: number;
  freeRuns: number;
  soundPictures: number;
}

export interface SlotInfo {
  index: number;
  kind: SlotKind;
  number: number;
  back: boolean;
  name: string;
  offset: number; // -1: the pointer can not be read
  bank: number;
  streamBytes: number; // -1: no complete picture
  width: number;
  height: number;
  normal: [number, number]; // colours 1 and 2 as 0xRRGGBB
  shiny: [number, number];
}

export interface Shades {
  width: number;
  height: number;
  shades: Uint8Array; // 0 white, 1 colour 1, 2 colour 2, 3 black; rows from the top
}

export interface DecodedPicture {
  width: number;
  height: number;
  rgba: Uint8Array | Uint8ClampedArray;
  colourTable?: readonly number[]; // an indexed file's own colours, 0xRRGGBB
}

export interface Insertion {
  dataOffset: number;
  streamBytes: number;
  width: number;
  height: number;
  patches: number;
  report: string;
}

// What an edit changed: the palette pair's or name field's place and bytes.
export interface Edit {
  offset: number;
  length: number; // 4 for a palette pair, the name length for a name
  changed: number; // bytes that differ, the global checksum's included; 0: the ROM held it already
  patches: number; // byte patches, the global checksum included
}

// A file or folder of a picture folder, path below the chosen folder ('/'
// between parts); a file as read after folderNeeds asked for it.
export type FolderEntry =
  | { path: string; kind: 'file' | 'folder' }
  | { path: string; kind: 'picture'; picture: DecodedPicture }
  | { path: string; kind: 'text'; text: string }
  | { path: string; kind: 'bytes'; bytes: Uint8Array };

export type FolderRead = 'none' | 'picture' | 'text' | 'bytes';
export type FolderLayout = 'flat' | 'pack' | 'pack-gfx';

export type FolderOutcome = 'unchanged' | 'same' | 'in-place' | 'moved' | 'recoloured' | 'palette-set' | 'refused';

export interface FolderItem {
  name: string;
  outcome: FolderOutcome;
  text: string; // as insert-all lists it
  palette: boolean; // a .pal file, not a picture
}

// insert-all's plan of a folder (orv_folder_plan's report).
export interface FolderReport {
  layout: 'flat' | 'pack';
  root: string;
  ok: boolean;
  message?: string; // why nothing changes
  shapeOnly?: boolean; // every refused picture only has a shape its slot does not draw
  items: FolderItem[];
  unused: string[];
  notes: string[];
  summary?: string;
  changed?: number;
  total?: number;
  pictures?: number;
  palettes?: number;
  freeBefore?: number;
  freeAfter?: number;
  bytesChanged?: number;
}

export interface FolderPlan {
  report: FolderReport;
  rom: HeldRom | null; // the whole result when the report is ok
}

export interface FreeRun {
  offset: number;
  length: number;
}

export interface BankSpace {
  bank: number;
  pictures: number;
  pictureBytes: number;
  freeBytes: number;
  largest: FreeRun | null;
  runs: FreeRun[];
  slots: number[]; // slot indices whose picture starts here
}

// As `orvista-cli space` counts a ROM's banks.
export interface SpaceMap {
  minRun: number;
  bankCount: number;
  banks: BankSpace[]; // those with pictures or free runs
  pictures: number;
  pictureBytes: number;
  runs: number;
  freeBytes: number;
  largest: FreeRun | null;
}

export type ExtractLayout = 'flat' | 'pret';

// A file extract-all writes, as data.
export type ExtractedFile =
  | { type: 'picture'; path: string; width: number; height: number; colours: [number, number]; shades: Uint8Array }
  | { type: 'palette'; path: string; text: string }
  | { type: 'skipped'; path: string; why: string };

// A ROM held in the module's memory; every method reads it, none changes it.
export interface HeldRom {
  readonly size: number;
  readonly fileName: string;
  bytes(): Uint8Array<ArrayBuffer>;
  // The bytes where the module holds them, without a copy: valid only until
  // the next call into the module.
  view(): Uint8Array;
  info(): RomInfo;
  slots(): SlotInfo[];
  // The pictures of slots first .. first + count - 1; null where none is complete.
  pictures(first?: number, count?: number): (Shades | null)[];
  insert(slot: number, picture: DecodedPicture, pictureName: string): { rom: HeldRom; insertion: Insertion };
  patch(format: PatchFormat, target: HeldRom): Uint8Array<ArrayBuffer>;
  // The slot's normal or shiny pair set to two colours (0xRRGGBB, as game colours).
  setPalette(slot: number, shiny: boolean, colours: readonly [number, number]): { rom: HeldRom; edit: Edit };
  // Pokemon number's name (1..251; the Unown letters have 201's).
  setName(number: number, name: string): { rom: HeldRom; edit: Edit };
  // The slot's normal or shiny pair as a .pal file's text.
  palText(slot: number, shiny: boolean): string;
  // Which entries of a folder insert-all would read, and as what.
  folderNeeds(entries: readonly FolderEntry[]): { read: FolderRead[]; layout: FolderLayout };
  // insert-all's plan of the folder; its rom is a new HeldRom, this one unchanged.
  planFolder(entries: readonly FolderEntry[], folderName: string, options?: { anyShape?: boolean }): FolderPlan;
  spaceMap(minRun?: number): SpaceMap;
  extractFiles(layout: ExtractLayout): ExtractedFile[];
  free(): void;
}

export interface Core {
  readonly slotCount: number;
  readonly nameLength: number; // bytes of a name in the name table
  language: Language; // of the refusals from now on
  hold(bytes: Uint8Array, fileName: string): HeldRom;
  // A colour (0xRRGGBB) as the game keeps it, as slots show colours.
  gameColour(colour: number): number;
  // The colours 1 and 2 a .pal file's text gives.
  parsePal(text: string, fileName: string): [number, number];
}

// The core said no; message is its text in the core's language.
export class Refusal extends Error {
  override name = 'Refusal';
}

interface Exports {
  memory: WebAssembly.Memory;
  _initialize?: () => void;
  orv_alloc(size: number): number;
  orv_free(pointer: number): void;
  orv_slot_count(): number;
  orv_rom_info(rom: number, size: number, name: number, info: number, language: number, text: number, cap: number): number;
  orv_slots(rom: number, size: number, slots: number, capacity: number): number;
  orv_slot_shades(rom: number, size: number, first: number, count: number, shades: number, capacity: number,
    layout: number, needed: number): number;
  orv_insert(rom: number, size: number, name: number, slot: number, source: number, rgba: number, width: number, height: number,
    table: number, tableCount: number, newRom: number, newRomCapacity: number, insertion: number, language: number,
    text: number, cap: number): number;
  orv_make_patch(format: number, base: number, baseSize: number, target: number, targetSize: number, patch: number,
    capacity: number, patchSize: number, language: number, text: number, cap: number): number;
  orv_game_colour(colour: number): number;
  orv_name_length(): number;
  orv_set_palette(rom: number, size: number, name: number, slot: number, shiny: number, colour1: number,
    colour2: number, newRom: number, newRomCapacity: number, edit: number, language: number, text: number,
    cap: number): number;
  orv_set_name(rom: number, size: number, romName: number, number: number, name: number, newRom: number,
    newRomCapacity: number, edit: number, language: number, text: number, cap: number): number;
  orv_pal_text(rom: number, size: number, slot: number, shiny: number, pal: number, capacity: number): number;
  orv_parse_pal(pal: number, length: number, name: number, colours: number, language: number, text: number,
    cap: number): number;
  orv_folder_needs(rom: number, size: number, folder: number, folderSize: number, read: number, capacity: number,
    layout: number): number;
  orv_folder_plan(rom: number, size: number, romName: number, folderName: number, folder: number, folderSize: number,
    anyShape: number, newRom: number, newRomCapacity: number, language: number, report: number, capacity: number,
    needed: number): number;
  orv_space_map(rom: number, size: number, romName: number, minRun: number, language: number, json: number,
    capacity: number, needed: number): number;
  orv_extract_files(rom: number, size: number, romName: number, layout: number, out: number, capacity: number,
    needed: number): number;
}

const OK = 0, REFUSED = 1, BUFFER_SMALL = 2;
const TEXT_CAPACITY = 2048;
// The games' largest picture, 56 x 56 pixels: room enough for most ROMs' slots.
const BOX_PIXELS = 56 * 56;
// Record layouts of orv_web.h.
const INFO_BYTES = 12 * 4 + 20 + 16 + 8;
const SLOT_BYTES = 12 * 4 + 48;
const INSERTION_BYTES = 6 * 4;
const EDIT_BYTES = 5 * 4;
const PAL_TEXT_CAPACITY = 256;
const KINDS: SlotKind[] = ['pokemon', 'unown', 'trainer'];
const ENTRY_TYPES = { file: 0, folder: 1, picture: 2, text: 3, bytes: 4 } as const;
const READS: FolderRead[] = ['none', 'picture', 'text', 'bytes'];
const LAYOUTS: FolderLayout[] = ['flat', 'pack', 'pack-gfx'];

// A folder as orv_web.h's buffer: 32-bit little-endian words, byte runs padded to 4.
function folderBuffer(entries: readonly FolderEntry[]): Uint8Array {
  const encoder = new TextEncoder();
  const paths = entries.map((e) => encoder.encode(e.path));
  const texts = entries.map((e) => e.kind === 'text' ? encoder.encode(e.text) : e.kind === 'bytes' ? e.bytes : null);
  const pad = (n: number) => (n + 3) & ~3;
  let size = 4;
  entries.forEach((e, i) => {
    size += 8 + pad(paths[i].length);
    if (e.kind === 'picture') size += 12 + 4 * (e.picture.colourTable?.length ?? 0) + pad(e.picture.rgba.length);
    else if (texts[i]) size += 4 + pad(texts[i]!.length);
  });
  const out = new Uint8Array(size);
  const v = new DataView(out.buffer);
  let at = 0;
  const word = (w: number) => { v.setUint32(at, w >>> 0, true); at += 4; };
  const bytes = (b: ArrayLike<number>) => { out.set(b, at); at += pad(b.length); };
  word(entries.length);
  entries.forEach((e, i) => {
    word(ENTRY_TYPES[e.kind]);
    word(paths[i].length);
    bytes(paths[i]);
    if (e.kind === 'picture') {
      const table = e.picture.colourTable ?? [];
      if (e.picture.rgba.length !== e.picture.width * e.picture.height * 4) throw new RangeError(`${e.path}: RGBA size`);
      word(e.picture.width);
      word(e.picture.height);
      word(table.length);
      table.forEach(word);
      bytes(e.picture.rgba);
    } else if (texts[i]) {
      word(texts[i]!.length);
      bytes(texts[i]!);
    }
  });
  return out;
}

const runOf = (r: [number, number] | null): FreeRun | null => r && { offset: r[0], length: r[1] };

export class OrvCore implements Core {
  readonly slotCount: number;
  readonly nameLength: number;
  language: Language = 'en';
  private readonly encoder = new TextEncoder();
  private readonly decoder = new TextDecoder();

  private constructor(private readonly x: Exports) {
    this.slotCount = x.orv_slot_count();
    this.nameLength = x.orv_name_length();
  }

  static async load(source: BufferSource | Response | Promise<Response>): Promise<OrvCore> {
    let memory: WebAssembly.Memory | undefined;
    const imports = { wasi_snapshot_preview1: wasiImports(() => memory!) };
    const resolved = await source;
    const { instance } = resolved instanceof Response
      ? await WebAssembly.instantiateStreaming(resolved, imports)
      : await WebAssembly.instantiate(resolved, imports);
    const x = instance.exports as unknown as Exports;
    memory = x.memory;
    x._initialize?.();
    return new OrvCore(x);
  }

  // The ROM's bytes, held in the module's memory until free().
  hold(bytes: Uint8Array, fileName: string): Rom {
    const at = this.alloc(bytes.length);
    this.u8().set(bytes, at);
    return new Rom(this, at, bytes.length, fileName);
  }

  gameColour(colour: number): number {
    return this.x.orv_game_colour(colour >>> 0) >>> 0;
  }

  parsePal(text: string, fileName: string): [number, number] {
    const bytes = this.encoder.encode(text);
    const pal = this.alloc(bytes.length);
    const name = this.cString(fileName);
    const colours = this.alloc(8);
    try {
      this.u8().set(bytes, pal);
      return this.withText(
        (out, cap) => this.x.orv_parse_pal(pal, bytes.length, name, colours, this.languageCode, out, cap),
        (status) => {
          check(status, 'orv_parse_pal');
          const v = this.view();
          return [v.getUint32(colours, true), v.getUint32(colours + 4, true)];
        });
    } finally {
      this.free(pal, name, colours);
    }
  }

  /** @internal */ get languageCode() { return this.language === 'de' ? 1 : 0; }
  /** @internal */ u8() { return new Uint8Array(this.x.memory.buffer); }
  /** @internal */ view() { return new DataView(this.x.memory.buffer); }
  /** @internal */ get exports() { return this.x; }

  /** @internal */ alloc(size: number): number {
    const at = this.x.orv_alloc(Math.max(size, 1));
    if (!at) throw new RangeError(`the module could not take ${size} more bytes`);
    return at;
  }

  /** @internal */ free(...pointers: number[]) {
    for (const p of pointers) if (p) this.x.orv_free(p);
  }

  /** @internal */ text(at: number, capacity: number): string {
    const bytes = this.u8().subarray(at, at + capacity);
    const end = bytes.indexOf(0);
    return this.decoder.decode(bytes.subarray(0, end < 0 ? capacity : end));
  }

  /** @internal */ cString(text: string): number {
    const bytes = this.encoder.encode(text);
    const at = this.alloc(bytes.length + 1);
    this.u8().set(bytes, at);
    this.u8()[at + bytes.length] = 0;
    return at;
  }

  // Runs call(out, capacity, needed) with an output buffer, again with a
  // larger one while it answers BUFFER_SMALL (the size it needs at needed);
  // then done(status, out, capacity, needed), before the buffer is freed.
  /** @internal */ withOutput<T>(capacity: number, call: (out: number, capacity: number, needed: number) => number,
    done: (status: number, out: number, capacity: number, needed: number) => T): T {
    const needed = this.alloc(4);
    try {
      for (;;) {
        const out = this.alloc(capacity);
        try {
          const status = call(out, capacity, needed);
          if (status !== BUFFER_SMALL) return done(status, out, capacity, needed);
          capacity = this.view().getUint32(needed, true);
        } finally {
          this.free(out);
        }
      }
    } finally {
      this.free(needed);
    }
  }

  // Runs call(text, capacity) with a text buffer; a refusal throws its message.
  /** @internal */ withText<T>(call: (text: number, capacity: number) => number,
    done: (status: number, text: () => string) => T): T {
    const text = this.alloc(TEXT_CAPACITY);
    try {
      this.u8()[text] = 0;
      const status = call(text, TEXT_CAPACITY);
      if (status === REFUSED) throw new Refusal(this.text(text, TEXT_CAPACITY));
      return done(status, () => this.text(text, TEXT_CAPACITY));
    } finally {
      this.free(text);
    }
  }
}

function check(status: number, what: string) {
  if (status !== OK) throw new Error(`${what}: status ${status}`);
}

export class Rom implements HeldRom {
  /** @internal */ constructor(private readonly core: OrvCore, readonly pointer: number, readonly size: number,
    readonly fileName: string) {}

  // A copy of the bytes.
  bytes(): Uint8Array<ArrayBuffer> {
    return this.core.u8().slice(this.pointer, this.pointer + this.size);
  }

  view(): Uint8Array {
    return this.core.u8().subarray(this.pointer, this.pointer + this.size);
  }

  free() {
    this.core.free(this.pointer);
  }

  info(): RomInfo {
    const c = this.core;
    const at = c.alloc(INFO_BYTES);
    const name = c.cString(this.fileName);
    try {
      return c.withText(
        (text, cap) => c.exports.orv_rom_info(this.pointer, this.size, name, at, c.languageCode, text, cap),
        (status) => {
          check(status, 'orv_rom_info');
          const v = c.view();
          const u = (i: number) => v.getUint32(at + 4 * i, true);
          const sha1 = Array.from(c.u8().subarray(at + 48, at + 68), (b) => b.toString(16).padStart(2, '0')).join('');
          const language = u(3);
          return {
            size: u(0),
            crc32: u(1),
            edition: u(2) === 1 ? 'Gold' : u(2) === 2 ? 'Silver' : null,
            language: language === 0x45 ? 'English' : language === 0x44 ? 'German' : null,
            retail: u(4) === 1,
            headerChecksum: { stored: u(5), computed: u(6) },
            globalChecksum: { stored: u(7), computed: u(8) },
            freeBytes: u(9),
            freeRuns: u(10),
            soundPictures: u(11),
            sha1,
            title: c.text(at + 68, 16),
            gameCode: c.text(at + 84, 8),
          };
        });
    } finally {
      c.free(at, name);
    }
  }

  slots(): SlotInfo[] {
    const c = this.core;
    const n = c.slotCount;
    const at = c.alloc(n * SLOT_BYTES);
    try {
      check(c.exports.orv_slots(this.pointer, this.size, at, n), 'orv_slots');
      const v = c.view();
      const slots: SlotInfo[] = [];
      for (let i = 0; i < n; i++) {
        const base = at + i * SLOT_BYTES;
        const s = (k: number) => v.getInt32(base + 4 * k, true);
        const u = (k: number) => v.getUint32(base + 4 * k, true);
        slots.push({
          index: i,
          kind: KINDS[s(0)],
          number: s(1),
          back: s(2) === 1,
          offset: s(3),
          bank: s(4),
          streamBytes: s(5),
          width: s(6),
          height: s(7),
          normal: [u(8), u(9)],
          shiny: [u(10), u(11)],
          name: c.text(base + 48, 48),
        });
      }
      return slots;
    } finally {
      c.free(at);
    }
  }

  pictures(first = 0, count = this.core.slotCount - first): (Shades | null)[] {
    const c = this.core;
    const layout = c.alloc(12 * count);
    try {
      return c.withOutput(count * BOX_PIXELS,
        (out, capacity, needed) => c.exports.orv_slot_shades(this.pointer, this.size, first, count, out, capacity,
          layout, needed),
        (status, out) => {
          check(status, 'orv_slot_shades');
          const v = c.view(), memory = c.u8();
          return Array.from({ length: count }, (_, i) => {
            const at = v.getInt32(layout + 12 * i, true);
            const width = v.getInt32(layout + 12 * i + 4, true), height = v.getInt32(layout + 12 * i + 8, true);
            return width > 0 ? { width, height, shades: memory.slice(out + at, out + at + width * height) } : null;
          });
        });
    } finally {
      c.free(layout);
    }
  }

  // The picture into the slot: a new Rom with the change, this one unchanged.
  insert(slot: number, picture: DecodedPicture, pictureName: string): { rom: Rom; insertion: Insertion } {
    const c = this.core;
    const table = picture.colourTable ?? [];
    const rgba = c.alloc(picture.rgba.length);
    const tableAt = c.alloc(4 * table.length);
    const newRom = c.alloc(this.size);
    const result = c.alloc(INSERTION_BYTES);
    const name = c.cString(this.fileName);
    const source = c.cString(pictureName);
    let kept = false;
    try {
      c.u8().set(picture.rgba, rgba);
      const v = c.view();
      table.forEach((colour, i) => v.setUint32(tableAt + 4 * i, colour >>> 0, true));
      return c.withText(
        (text, cap) => c.exports.orv_insert(this.pointer, this.size, name, slot, source, rgba, picture.width, picture.height,
          tableAt, table.length, newRom, this.size, result, c.languageCode, text, cap),
        (status, report) => {
          check(status, 'orv_insert');
          const r = c.view();
          const s = (k: number) => r.getInt32(result + 4 * k, true);
          const insertion: Insertion = {
            dataOffset: s(1), streamBytes: s(2), width: s(3), height: s(4), patches: s(5), report: report(),
          };
          kept = true;
          return { rom: new Rom(c, newRom, r.getUint32(result, true), this.fileName), insertion };
        });
    } finally {
      c.free(rgba, tableAt, result, name, source);
      if (!kept) c.free(newRom);
    }
  }

  // A patch that turns this ROM into target.
  patch(format: PatchFormat, target: HeldRom): Uint8Array<ArrayBuffer> {
    if (!(target instanceof Rom)) throw new TypeError('the target is no ROM of this module');
    const c = this.core;
    return c.withOutput(target.size + 1024,
      (out, capacity, size) => c.withText(
        (text, cap) => c.exports.orv_make_patch(format === 'bps' ? 0 : 1, this.pointer, this.size, target.pointer,
          target.size, out, capacity, size, c.languageCode, text, cap),
        (status) => status),
      (status, out, _, size) => {
        check(status, 'orv_make_patch');
        return c.u8().slice(out, out + c.view().getUint32(size, true));
      });
  }

  setPalette(slot: number, shiny: boolean, colours: readonly [number, number]): { rom: Rom; edit: Edit } {
    const c = this.core;
    const name = c.cString(this.fileName);
    try {
      return this.edit((newRom, edit, text, cap) => c.exports.orv_set_palette(this.pointer, this.size, name, slot,
        shiny ? 1 : 0, colours[0] >>> 0, colours[1] >>> 0, newRom, this.size, edit, c.languageCode, text, cap));
    } finally {
      c.free(name);
    }
  }

  setName(number: number, newName: string): { rom: Rom; edit: Edit } {
    const c = this.core;
    const name = c.cString(this.fileName);
    const text = c.cString(newName);
    try {
      return this.edit((newRom, edit, out, cap) => c.exports.orv_set_name(this.pointer, this.size, name, number, text,
        newRom, this.size, edit, c.languageCode, out, cap));
    } finally {
      c.free(name, text);
    }
  }

  palText(slot: number, shiny: boolean): string {
    const c = this.core;
    const out = c.alloc(PAL_TEXT_CAPACITY);
    try {
      check(c.exports.orv_pal_text(this.pointer, this.size, slot, shiny ? 1 : 0, out, PAL_TEXT_CAPACITY), 'orv_pal_text');
      return c.text(out, PAL_TEXT_CAPACITY);
    } finally {
      c.free(out);
    }
  }

  // An edit export into a new ROM of this one's size; a refusal throws and frees it.
  private edit(call: (newRom: number, edit: number, text: number, cap: number) => number): { rom: Rom; edit: Edit } {
    const c = this.core;
    const newRom = c.alloc(this.size);
    const result = c.alloc(EDIT_BYTES);
    let kept = false;
    try {
      return c.withText((text, cap) => call(newRom, result, text, cap), (status) => {
        check(status, 'edit');
        const v = c.view();
        const s = (k: number) => v.getInt32(result + 4 * k, true);
        kept = true;
        return {
          rom: new Rom(c, newRom, v.getUint32(result, true), this.fileName),
          edit: { offset: s(1), length: s(2), changed: s(3), patches: s(4) },
        };
      });
    } finally {
      c.free(result);
      if (!kept) c.free(newRom);
    }
  }

  folderNeeds(entries: readonly FolderEntry[]): { read: FolderRead[]; layout: FolderLayout } {
    const c = this.core;
    const buffer = folderBuffer(entries.map((e) => ({ path: e.path, kind: e.kind === 'folder' ? 'folder' : 'file' })));
    const folder = c.alloc(buffer.length), read = c.alloc(entries.length), layout = c.alloc(4);
    try {
      c.u8().set(buffer, folder);
      check(c.exports.orv_folder_needs(this.pointer, this.size, folder, buffer.length, read, entries.length, layout),
        'orv_folder_needs');
      return {
        read: Array.from(c.u8().subarray(read, read + entries.length), (k) => READS[k]),
        layout: LAYOUTS[c.view().getUint32(layout, true)],
      };
    } finally {
      c.free(folder, read, layout);
    }
  }

  planFolder(entries: readonly FolderEntry[], folderName: string, options: { anyShape?: boolean } = {}): FolderPlan {
    const c = this.core;
    const buffer = folderBuffer(entries);
    const folder = c.alloc(buffer.length);
    c.u8().set(buffer, folder);
    const names = [c.cString(this.fileName), c.cString(folderName)];
    const newRom = c.alloc(this.size);
    let kept = false;
    try {
      return c.withOutput(65536 + 512 * entries.length,
        (report, capacity, needed) => c.exports.orv_folder_plan(this.pointer, this.size, names[0], names[1], folder,
          buffer.length, options.anyShape ? 1 : 0, newRom, this.size, c.languageCode, report, capacity, needed),
        (status, report, capacity) => {
          if (status !== OK && status !== REFUSED) check(status, 'orv_folder_plan');
          const parsed = JSON.parse(c.text(report, capacity)) as Partial<FolderReport>;
          const result = { items: [], unused: [], notes: [], ...parsed } as FolderReport;
          if (status !== OK) return { report: result, rom: null };
          kept = true;
          return { report: result, rom: new Rom(c, newRom, this.size, this.fileName) };
        });
    } finally {
      c.free(folder, ...names);
      if (!kept) c.free(newRom);
    }
  }

  spaceMap(minRun = 64): SpaceMap {
    const c = this.core;
    const name = c.cString(this.fileName);
    try {
      return c.withOutput(1 << 16,
        (json, capacity, needed) => c.exports.orv_space_map(this.pointer, this.size, name, minRun, c.languageCode, json,
          capacity, needed),
        (status, json, capacity) => {
          if (status === REFUSED) throw new Refusal(c.text(json, capacity));
          check(status, 'orv_space_map');
          type Raw = Omit<SpaceMap, 'largest' | 'banks'> & { largest: [number, number] | null;
            banks: (Omit<BankSpace, 'largest' | 'runs'> & { largest: [number, number] | null; runs: [number, number][] })[] };
          const raw = JSON.parse(c.text(json, capacity)) as Raw;
          return {
            ...raw,
            largest: runOf(raw.largest),
            banks: raw.banks.map((b) => ({ ...b, largest: runOf(b.largest), runs: b.runs.map((r) => runOf(r)!) })),
          };
        });
    } finally {
      c.free(name);
    }
  }

  extractFiles(layout: ExtractLayout): ExtractedFile[] {
    const c = this.core;
    const name = c.cString(this.fileName);
    const decoder = new TextDecoder();
    try {
      return c.withOutput(4 << 20,
        (out, capacity, needed) => c.exports.orv_extract_files(this.pointer, this.size, name,
          layout === 'pret' ? 1 : 0, out, capacity, needed),
        (status, out) => {
          check(status, 'orv_extract_files');
          const v = c.view(), memory = c.u8();
          let at = out;
          const word = () => { at += 4; return v.getUint32(at - 4, true); };
          const run = () => {
            const n = word();
            const bytes = memory.slice(at, at + n);
            at += (n + 3) & ~3;
            return bytes;
          };
          const files: ExtractedFile[] = [];
          for (let count = word(); count > 0; count--) {
            const type = word();
            const path = decoder.decode(run());
            if (type === 0) {
              const width = word(), height = word(), colour1 = word(), colour2 = word();
              files.push({ type: 'picture', path, width, height, colours: [colour1, colour2], shades: run() });
            } else if (type === 1) files.push({ type: 'palette', path, text: decoder.decode(run()) });
            else files.push({ type: 'skipped', path, why: decoder.decode(run()) });
          }
          return files;
        });
    } finally {
      c.free(name);
    }
  }
}
