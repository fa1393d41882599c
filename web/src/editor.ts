// The ROM being edited: as opened (the patches' base), as it stands, and
// the history between. The held ROM is only ever swapped for a whole result
// of the core, and every swap tells the listeners what it changed.

import { applyRanges, diffRanges, differingBytes, History, type Change } from './history.ts';
import type { Params, TextKey } from './i18n.ts';
import type { Core, HeldRom, RomInfo, SlotInfo } from './orv.ts';

export interface Loaded {
  base: HeldRom;
  current: HeldRom;
  info: RomInfo;
  slots: SlotInfo[];
  selected: number;
}

export interface Swap {
  loaded: Loaded;
  before: SlotInfo[]; // the slots as they were
  pictures: Set<number>; // slots whose pointer or stream changed
  colours: Set<number>; // slots whose colours or name changed
  change: Change | null; // what was done, undone or redone; null for a ROM opened
  how: 'open' | 'do' | 'undo' | 'redo';
}

export interface ChangeName {
  slot: number | null;
  what: TextKey;
  params?: Params;
}

export class Editor {
  loaded: Loaded | null = null;
  readonly history = new History();
  private readonly listeners = new Set<(swap: Swap) => void>();

  constructor(readonly core: Core) {}

  onSwap(listener: (swap: Swap) => void) {
    this.listeners.add(listener);
  }

  // A ROM opened: the one held before and its history are dropped.
  open(rom: HeldRom, info: RomInfo) {
    this.release();
    this.history.clear();
    const slots = rom.slots();
    this.loaded = { base: rom, current: rom, info, slots, selected: -1 };
    this.tell({ loaded: this.loaded, before: slots, pictures: new Set(), colours: new Set(), change: null, how: 'open' });
  }

  // A new ROM made by the core from the current one, as one change. null
  // when no byte differs (rom is then freed).
  commit(rom: HeldRom, name: ChangeName): Change | null {
    const l = this.loaded!;
    const ranges = diffRanges(l.current.view(), rom.view());
    if (ranges.length === 0) {
      rom.free();
      return null;
    }
    const change: Change = { ...name, ranges, bytes: differingBytes(ranges) };
    this.history.record(change);
    this.swap(rom, change, 'do');
    return change;
  }

  undo(): Change | null {
    return this.travel('undo');
  }

  redo(): Change | null {
    return this.travel('redo');
  }

  // The newest change taken back, or the last one taken back made again.
  private travel(how: 'undo' | 'redo'): Change | null {
    const change = how === 'undo' ? this.history.peekUndo() : this.history.peekRedo();
    if (!this.loaded || !change) return null;
    const rom = this.rebuilt(change, how === 'undo' ? 'before' : 'after');
    if (how === 'undo') this.history.undoneTop();
    else this.history.redoneTop();
    this.swap(rom, change, how);
    return change;
  }

  private rebuilt(change: Change, side: 'before' | 'after'): HeldRom {
    const l = this.loaded!;
    const bytes = applyRanges(l.current.bytes(), change.ranges, side);
    return this.core.hold(bytes, l.base.fileName);
  }

  private swap(rom: HeldRom, change: Change, how: Swap['how']) {
    const l = this.loaded!;
    const previous = l.current;
    l.current = rom;
    if (previous !== l.base) previous.free();
    const before = l.slots;
    l.slots = rom.slots();
    const pictures = new Set<number>(), colours = new Set<number>();
    l.slots.forEach((s, i) => {
      const o = before[i];
      if (s.offset !== o.offset || s.streamBytes !== o.streamBytes) pictures.add(i);
      else if (s.normal.join() !== o.normal.join() || s.shiny.join() !== o.shiny.join() || s.name !== o.name)
        colours.add(i);
    });
    // A picture rewritten in place in as many bytes looks unchanged by its facts.
    if (how !== 'open') for (const i of this.slotsTouched(change, l.slots)) if (!colours.has(i)) pictures.add(i);
    this.tell({ loaded: l, before, pictures, colours, change, how });
  }

  // Slots whose stream lies under a changed range.
  private slotsTouched(change: Change, slots: SlotInfo[]): number[] {
    const touched: number[] = [];
    slots.forEach((s, i) => {
      if (s.offset < 0 || s.streamBytes <= 0) return;
      const end = s.offset + s.streamBytes;
      if (change.ranges.some((r) => r.offset < end && r.offset + r.after.length > s.offset)) touched.push(i);
    });
    return touched;
  }

  private tell(swap: Swap) {
    for (const listener of this.listeners) listener(swap);
  }

  private release() {
    if (!this.loaded) return;
    const { base, current } = this.loaded;
    base.free();
    if (current !== base) current.free();
    this.loaded = null;
  }
}
