// The edits the detail asks for: colours, .pal files and names, each made by
// the core into a new ROM and handed to the page as one change. A refusal
// leaves the held ROM as it was and the controls showing it.

import type { EditRequests, Pair } from './edit_panel.ts';
import type { Params, TextKey } from './i18n.ts';
import type { Core, HeldRom, SlotInfo } from './orv.ts';

// The sprite packs' limit for a .pal file, as the command line reads them.
const MAX_PAL_BYTES = 64 << 10;

export interface EditHost {
  readonly core: Core;
  held(): { rom: HeldRom; slots: SlotInfo[] } | null;
  // The core's new ROM as one change; false when no byte differs (rom is then freed).
  commit(rom: HeldRom, slot: number, what: TextKey, params: Params): boolean;
  // Draws the slots at indices as records gives them; the held ROM stays.
  draw(records: SlotInfo[], indices: number[]): void;
  // The controls again as the held ROM is.
  reshow(): void;
  save(name: string, bytes: Uint8Array<ArrayBuffer>): void;
  say(key: TextKey, params?: Params): void;
  queue(work: () => Promise<void>): void;
}

// Slots that show one palette pair: a Pokemon's front and back, every Unown
// letter (Pokemon 201's), one trainer.
export function pairSharers(slots: readonly SlotInfo[], slot: SlotInfo): number[] {
  return slots.flatMap((s, i) => s.kind === slot.kind && (s.kind === 'unown' || s.number === slot.number) ? [i] : []);
}

// Pokemon whose name field the slot shows: Unown letters have Pokemon 201's.
export const nameNumber = (slot: SlotInfo) => (slot.kind === 'unown' ? 201 : slot.number);

const colourWords = (colours: readonly number[]) =>
  colours.map((c) => '#' + c.toString(16).toUpperCase().padStart(6, '0')).join(' ');

export function editRequests(host: EditHost): EditRequests {
  // The pictures and controls as the held ROM is, after a preview.
  const restore = (slot: SlotInfo) => {
    const now = host.held();
    if (now) host.draw(now.slots, pairSharers(now.slots, slot));
    host.reshow();
  };
  // Runs an edit in turn; a refusal puts the controls and pictures back.
  const run = (slot: SlotInfo, work: (held: { rom: HeldRom; slots: SlotInfo[] }) => Promise<void> | void) =>
    host.queue(async () => {
      const held = host.held();
      if (!held) return;
      try {
        await work(held);
      } catch (error) {
        restore(slot);
        throw error;
      }
    });

  const setPair = (held: { rom: HeldRom }, slot: SlotInfo, pair: Pair, colours: [number, number], what: TextKey,
    params: Params) => {
    const { rom } = held.rom.setPalette(slot.index, pair === 'shiny', colours);
    if (!host.commit(rom, slot.index, what, { colours: colourWords(colours), ...params })) {
      restore(slot);
      host.say('app.nothingChanged');
    }
  };

  return {
    preview(slot, pair, colours) {
      const held = host.held();
      if (!held) return;
      const indices = pairSharers(held.slots, slot);
      const records = held.slots.slice();
      for (const i of indices) records[i] = { ...records[i], [pair]: colours };
      host.draw(records, indices);
    },
    setColours(slot, pair, colours) {
      run(slot, (held) => setPair(held, slot, pair, colours, pair === 'shiny' ? 'change.shinyColours' : 'change.colours',
        {}));
    },
    importPal(slot, pair, file) {
      run(slot, async (held) => {
        if (file.size > MAX_PAL_BYTES) {
          host.say('edit.palTooLarge', { name: file.name, bytes: file.size });
          return;
        }
        const colours = host.core.parsePal(await file.text(), file.name);
        setPair(held, slot, pair, colours, pair === 'shiny' ? 'change.shinyPal' : 'change.pal', { file: file.name });
      });
    },
    exportPal(slot, pair) {
      run(slot, (held) => {
        host.save(`${pair}.pal`, new TextEncoder().encode(held.rom.palText(slot.index, pair === 'shiny')));
      });
    },
    rename(slot, name) {
      run(slot, (held) => {
        const { rom } = held.rom.setName(nameNumber(slot), name);
        if (!host.commit(rom, slot.index, 'change.name', { before: slot.name, after: name })) {
          host.reshow();
          host.say('app.nothingChanged');
        }
      });
    },
  };
}
