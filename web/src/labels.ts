// How the page names slots and numbers. Pure, so node tests read it too.

import { t } from './i18n.ts';
import type { SlotInfo } from './orv.ts';

const UNOWN_NUMBER = 201;

export function hex(value: number): string {
  return '0x' + value.toString(16).toUpperCase();
}

export function colourHex(colour: number): string {
  return '#' + colour.toString(16).toUpperCase().padStart(6, '0');
}

// The gallery button's accessible name: "Pokemon 25 front", "Unown 3 back", "Trainer 10".
export function slotLabel(slot: Pick<SlotInfo, 'kind' | 'number' | 'back'>): string {
  const side = t(slot.back ? 'slot.back' : 'slot.front');
  switch (slot.kind) {
    case 'pokemon': return t('slot.pokemon', { number: slot.number, side });
    case 'unown': return t('slot.unown', { number: slot.number, side });
    case 'trainer': return t('slot.trainer', { number: slot.number });
  }
}

// The caption under a gallery picture.
export function slotCaption(slot: SlotInfo): { title: string; note: string } {
  const side = t(slot.back ? 'slot.back' : 'slot.front');
  switch (slot.kind) {
    case 'pokemon':
      return { title: `#${String(slot.number).padStart(3, '0')} ${slot.name || '?'}`, note: side };
    case 'unown':
      return { title: t('slot.unown', { number: String.fromCharCode(64 + slot.number), side: '' }).trim(),
        note: `${slot.number} ${side}` };
    case 'trainer':
      return { title: t('slot.trainer', { number: slot.number }), note: '' };
  }
}

// A filter matches a slot by its number (digits, "#25"; 201 for the Unown)
// or by every word of it in its name and label ("pika", "unown b", "back").
export function matchesFilter(slot: SlotInfo, filter: string): boolean {
  const text = filter.trim().toLowerCase();
  if (!text) return true;
  const number = /^#?0*(\d+)$/.exec(text);
  if (number) return slot.number === Number(number[1]) || (slot.kind === 'unown' && Number(number[1]) === UNOWN_NUMBER);
  const haystack = `${slot.name} ${slotLabel(slot)} ${slotCaption(slot).title}`.toLowerCase();
  return text.split(/\s+/).every((word) => haystack.includes(word));
}
