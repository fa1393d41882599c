// Every slot as a button with its picture: built once, painted per ROM,
// filtered by name or number, walked with the arrow keys (one tab stop).

import { drawPicture } from './draw.ts';
import { matchesFilter, slotCaption, slotLabel } from './labels.ts';
import type { Shades, SlotInfo } from './orv.ts';

interface Item {
  button: HTMLButtonElement;
  canvas: HTMLCanvasElement;
  title: HTMLElement;
  note: HTMLElement;
}

export class Gallery {
  private items: Item[] = [];
  private slots: SlotInfo[] = [];
  private pictures: (Shades | null)[] = [];
  private shiny = false;
  private current = -1;

  constructor(private readonly root: HTMLElement, private readonly onChoose: (index: number) => void) {
    root.addEventListener('keydown', (event) => this.key(event));
  }

  // The buttons for count slots, before any ROM, so nothing moves later.
  build(count: number) {
    const fragment = document.createDocumentFragment();
    for (let i = 0; i < count; i++) {
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'tile';
      button.tabIndex = i === 0 ? 0 : -1;
      button.disabled = true;
      const canvas = document.createElement('canvas');
      canvas.width = canvas.height = 56;
      const title = document.createElement('span');
      title.className = 'tile-title';
      const note = document.createElement('span');
      note.className = 'tile-note';
      button.append(canvas, title, note);
      button.addEventListener('click', () => this.choose(i));
      fragment.append(button);
      this.items.push({ button, canvas, title, note });
    }
    this.root.replaceChildren(fragment);
  }

  // A ROM's slots and pictures; all items are painted.
  show(slots: SlotInfo[], pictures: (Shades | null)[]) {
    this.slots = slots;
    this.pictures = pictures;
    slots.forEach((slot, i) => {
      const item = this.items[i];
      item.button.disabled = false;
      item.button.setAttribute('aria-label', slotLabel(slot));
      const caption = slotCaption(slot);
      item.title.textContent = caption.title;
      item.note.textContent = caption.note;
      this.paint(i);
    });
  }

  // Slots whose record or picture changed.
  update(slots: SlotInfo[], changed: Map<number, Shades | null>) {
    this.slots = slots;
    for (const [i, picture] of changed) {
      this.pictures[i] = picture;
      this.items[i].title.textContent = slotCaption(slots[i]).title;
      this.paint(i);
    }
  }

  setShiny(shiny: boolean) {
    this.shiny = shiny;
    this.items.forEach((_, i) => this.paint(i));
  }

  // Hides what the filter does not match; returns how many are shown.
  filter(text: string): number {
    let shown = 0;
    this.slots.forEach((slot, i) => {
      const match = matchesFilter(slot, text);
      this.items[i].button.hidden = !match;
      shown += match ? 1 : 0;
    });
    if (this.current >= 0 && this.items[this.current].button.hidden) {
      const first = this.items.findIndex((item) => !item.button.hidden);
      if (first >= 0) this.setTabStop(first);
    }
    return shown;
  }

  select(index: number) {
    if (this.current >= 0) this.items[this.current].button.removeAttribute('aria-pressed');
    this.current = index;
    this.items[index].button.setAttribute('aria-pressed', 'true');
    this.setTabStop(index);
  }

  picture(index: number): Shades | null {
    return this.pictures[index] ?? null;
  }

  private paint(i: number) {
    const slot = this.slots[i];
    drawPicture(this.items[i].canvas, this.pictures[i], this.shiny ? slot.shiny : slot.normal);
  }

  private choose(i: number) {
    this.select(i);
    this.onChoose(i);
  }

  private setTabStop(index: number) {
    for (const item of this.items) if (item.button.tabIndex === 0) item.button.tabIndex = -1;
    this.items[index].button.tabIndex = 0;
  }

  private key(event: KeyboardEvent) {
    const visible = this.items.filter((item) => !item.button.hidden).map((item) => item.button);
    const at = visible.indexOf(document.activeElement as HTMLButtonElement);
    if (at < 0) return;
    const top = visible[0].offsetTop;
    const firstBelow = visible.findIndex((b) => b.offsetTop !== top);
    const columns = firstBelow > 0 ? firstBelow : visible.length;
    const target: Record<string, number> = {
      ArrowLeft: at - 1, ArrowRight: at + 1, ArrowUp: at - columns, ArrowDown: at + columns,
      Home: 0, End: visible.length - 1, PageUp: at - columns * 4, PageDown: at + columns * 4,
    };
    if (!(event.key in target)) return;
    event.preventDefault();
    const next = visible[Math.min(Math.max(target[event.key], 0), visible.length - 1)];
    next.focus();
    this.choose(this.items.findIndex((item) => item.button === next));
  }
}
