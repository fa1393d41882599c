// One slot large, in normal and shiny colours side by side, with its facts.

import { drawPicture } from './draw.ts';
import { count, t } from './i18n.ts';
import { colourHex, hex, slotCaption, slotLabel } from './labels.ts';
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
    const swatches = document.createElement('span');
    swatches.className = 'swatches';
    swatches.setAttribute('role', 'img');
    const words = (colours: readonly number[]) => colours.map(colourHex).join(` ${t('detail.and')} `);
    swatches.setAttribute('aria-label', t('detail.swatches', { normal: words(slot.normal), shiny: words(slot.shiny) }));
    for (const [label, colours] of [['normal', slot.normal], ['shiny', slot.shiny]] as const) {
      if (label === 'shiny') swatches.append(Object.assign(document.createElement('span'), { className: 'swatch-gap' }));
      for (const colour of colours) {
        const swatch = document.createElement('span');
        swatch.className = 'swatch';
        swatch.style.background = colourHex(colour);
        swatch.title = `${label} ${colourHex(colour)}`;
        swatches.append(swatch);
      }
    }
    this.facts.get('colours')!.replaceChildren(swatches);
  }

  private fact(name: string, text: string) {
    this.facts.get(name)!.textContent = text;
  }
}
