// One slot large, in normal and shiny colours side by side, with its facts.

import { drawPicture } from './draw.ts';
import { count, t } from './i18n.ts';
import { hex, slotCaption, slotLabel } from './labels.ts';
import type { Shades, SlotInfo } from './orv.ts';

export class Detail {
  private readonly title: HTMLElement;
  private readonly normal: HTMLCanvasElement;
  private readonly shiny: HTMLCanvasElement;
  private readonly facts = new Map<string, HTMLElement>();

  constructor(root: HTMLElement) {
    this.title = root.querySelector('#detail-title')!;
    this.normal = root.querySelector('#view-normal')!;
    this.shiny = root.querySelector('#view-shiny')!;
    for (const dd of root.querySelectorAll<HTMLElement>('[data-fact]')) this.facts.set(dd.dataset.fact!, dd);
  }

  show(slot: SlotInfo | null, picture: Shades | null) {
    drawPicture(this.normal, picture, slot?.normal ?? [0, 0]);
    drawPicture(this.shiny, picture, slot?.shiny ?? [0, 0]);
    if (!slot) {
      this.title.textContent = t('detail.none');
      for (const dd of this.facts.values()) dd.textContent = '–';
      return;
    }
    const caption = slotCaption(slot);
    this.title.textContent = slot.kind === 'pokemon' ? `${slotLabel(slot)} · ${slot.name || '?'}`
      : slot.kind === 'unown' ? `${slotLabel(slot)} · ${caption.title}` : slotLabel(slot);
    const tiles = t('detail.tiles', { columns: slot.width / 8, rows: slot.height / 8 });
    this.fact('size', picture ? t('detail.pixels', { width: slot.width, height: slot.height, tiles })
      : t('detail.noPicture'));
    this.fact('stream', slot.streamBytes >= 0 ? count(slot.streamBytes) : '–');
    this.fact('offset', slot.offset >= 0 ? hex(slot.offset) : t('detail.unreadable'));
    this.fact('bank', slot.offset >= 0 ? hex(slot.bank) : '–');
  }

  private fact(name: string, text: string) {
    this.facts.get(name)!.textContent = text;
  }
}
