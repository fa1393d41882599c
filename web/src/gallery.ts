// Every slot as a button with its picture: built once, filled per ROM,
// filtered by name or number, walked with the arrow keys (one tab stop).
// Pictures are drawn when their button comes near the view, and the rest
// while the page is idle, so opening a ROM costs the visible ones only.

import { drawPicture } from './draw.ts';
import { matchesFilter, slotCaption, slotLabel } from './labels.ts';
import type { Shades, SlotInfo } from './orv.ts';

interface Item {
  button: HTMLButtonElement;
  frame: HTMLElement; // holds the canvas once the picture is first drawn
  title: HTMLElement;
  note: HTMLElement;
  drawn: boolean; // in the colours shown now
}

export class Gallery {
  private items: Item[] = [];
  private slots: SlotInfo[] = [];
  private pictures: (Shades | null)[] = [];
  private shiny = false;
  private current = -1;
  private readonly observer: IntersectionObserver;
  private idle = 0;

  constructor(private readonly root: HTMLElement, private readonly onChoose: (index: number) => void) {
    root.addEventListener('keydown', (event) => this.key(event));
    this.observer = new IntersectionObserver((entries) => {
      for (const entry of entries) {
        const i = Number((entry.target as HTMLElement).dataset.index);
        if (entry.isIntersecting) this.draw(i);
      }
    }, { root: null, rootMargin: '300px' });
  }

  // The buttons for count slots, made in one go from markup.
  build(count: number) {
    const tile = '<button type="button" class="tile" tabindex="-1"><span class="thumb"></span>' +
      '<span class="tile-title"></span><span class="tile-note"></span></button>';
    this.root.innerHTML = tile.repeat(count);
    this.items = Array.from(this.root.children as HTMLCollectionOf<HTMLButtonElement>, (button, i) => {
      button.dataset.index = String(i);
      button.addEventListener('click', () => this.choose(i));
      this.observer.observe(button);
      const [frame, title, note] = button.children as unknown as HTMLElement[];
      return { button, frame, title, note, drawn: false };
    });
    this.items[0].button.tabIndex = 0;
  }

  // A ROM's slots and pictures: the buttons near the view are drawn at once.
  show(slots: SlotInfo[], pictures: (Shades | null)[], shiny: boolean) {
    this.slots = slots;
    this.pictures = pictures;
    this.shiny = shiny;
    this.relabel();
    this.redraw();
  }

  // Names and captions in the page's language.
  relabel() {
    this.slots.forEach((slot, i) => {
      const item = this.items[i];
      item.button.setAttribute('aria-label', slotLabel(slot));
      const caption = slotCaption(slot);
      item.title.textContent = caption.title;
      item.note.textContent = caption.note;
    });
  }

  // Slots whose record or picture changed.
  update(slots: SlotInfo[], changed: Map<number, Shades | null>) {
    this.slots = slots;
    for (const [i, picture] of changed) {
      this.pictures[i] = picture;
      this.items[i].title.textContent = slotCaption(slots[i]).title;
      this.items[i].drawn = false;
      this.draw(i);
    }
  }

  setShiny(shiny: boolean) {
    this.shiny = shiny;
    this.redraw();
  }

  private get allDrawn(): boolean {
    return this.items.every((item, i) => item.drawn || i >= this.slots.length);
  }

  private redraw() {
    for (const item of this.items) item.drawn = false;
    this.drawVisible();
    this.drawWhenIdle();
  }

  // The buttons in view now, without waiting for the observer's first report.
  private drawVisible() {
    const bottom = window.innerHeight + 300;
    for (let i = 0; i < this.slots.length; i++) {
      const button = this.items[i].button;
      if (button.hidden) continue;
      const box = button.getBoundingClientRect();
      if (box.top > bottom) break;
      if (box.bottom >= -300) this.draw(i);
    }
  }

  private drawWhenIdle() {
    cancelIdleCallback(this.idle);
    this.idle = requestIdleCallback((deadline) => {
      let i = 0;
      for (; i < this.slots.length && deadline.timeRemaining() > 1; i++) this.draw(i);
      if (this.allDrawn) performance.mark('orv-gallery:all-drawn');
      else this.drawWhenIdle();
    });
  }

  private draw(i: number) {
    const item = this.items[i], slot = this.slots[i];
    if (!slot || item.drawn) return;
    const canvas = (item.frame.firstElementChild as HTMLCanvasElement | null) ??
      item.frame.appendChild(document.createElement('canvas'));
    drawPicture(canvas, this.pictures[i], this.shiny ? slot.shiny : slot.normal);
    item.drawn = true;
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
