// Every change to the held ROM as the bytes it changed, so any of them can be
// taken back and made again without keeping a whole ROM per step.

import type { Params, TextKey } from './i18n.ts';

export interface Range {
  offset: number;
  before: Uint8Array;
  after: Uint8Array;
}

export interface Change {
  slot: number | null; // the slot it names, or none for a change of many
  what: TextKey; // "picture replaced", "shiny colours", ...
  params?: Params;
  bytes: number; // bytes that differ, checksums included
  ranges: Range[];
}

// Runs of differing bytes; runs closer than join bytes become one range.
export function diffRanges(before: Uint8Array, after: Uint8Array, join = 16): Range[] {
  if (before.length !== after.length) {
    // The core keeps a ROM's size; a change of size is kept whole.
    return [{ offset: 0, before: before.slice(), after: after.slice() }];
  }
  const ranges: Range[] = [];
  const n = before.length;
  // Equal stretches are passed over four bytes at a time where both arrays allow it.
  const aligned = before.byteOffset % 4 === 0 && after.byteOffset % 4 === 0;
  const words = aligned ? n >>> 2 : 0;
  const a32 = aligned ? new Uint32Array(before.buffer, before.byteOffset, words) : null;
  const b32 = aligned ? new Uint32Array(after.buffer, after.byteOffset, words) : null;
  let i = 0;
  while (i < n) {
    if (a32 && b32 && (i & 3) === 0) {
      let w = i >>> 2;
      while (w < words && a32[w] === b32[w]) w++;
      i = w << 2;
      if (i >= n) break;
    }
    if (before[i] === after[i]) {
      i++;
      continue;
    }
    const start = i;
    let end = i + 1; // one past the last differing byte; the bound grows as end does
    for (let j = end; j < n && j < end + join; j++) if (before[j] !== after[j]) end = j + 1;
    ranges.push({ offset: start, before: before.slice(start, end), after: after.slice(start, end) });
    i = end;
  }
  return ranges;
}

export function differingBytes(ranges: readonly Range[]): number {
  let n = 0;
  for (const r of ranges) for (let k = 0; k < r.before.length; k++) if (r.before[k] !== r.after[k]) n++;
  return n;
}

// The bytes as they were before (or after) the change; bytes is changed.
export function applyRanges(bytes: Uint8Array, ranges: readonly Range[], side: 'before' | 'after'): Uint8Array {
  for (const r of ranges) {
    const part = r[side];
    if (r.offset === 0 && part.length !== bytes.length && ranges.length === 1) return part.slice();
    bytes.set(part, r.offset);
  }
  return bytes;
}

export class History {
  private done: Change[] = [];
  private undone: Change[] = [];
  private saved: Change | null = null; // the newest change when last downloaded; null: the ROM as opened

  get changes(): readonly Change[] {
    return this.done;
  }
  get redoable(): readonly Change[] {
    return this.undone;
  }
  get canUndo() {
    return this.done.length > 0;
  }
  get canRedo() {
    return this.undone.length > 0;
  }
  // Whether the ROM as it stands now was not downloaded.
  get dirty() {
    return (this.done.at(-1) ?? null) !== this.saved;
  }

  record(change: Change) {
    this.done.push(change);
    this.undone = [];
  }

  markSaved() {
    this.saved = this.done.at(-1) ?? null;
  }

  isSaved(change: Change) {
    return change === this.saved;
  }

  // The change to take back; the caller swaps the ROM, then calls undone().
  peekUndo(): Change | undefined {
    return this.done.at(-1);
  }
  peekRedo(): Change | undefined {
    return this.undone.at(-1);
  }
  undoneTop() {
    this.undone.push(this.done.pop()!);
  }
  redoneTop() {
    this.done.push(this.undone.pop()!);
  }

  clear() {
    this.done = [];
    this.undone = [];
    this.saved = null;
  }
}
