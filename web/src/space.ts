// The space map: every bank of the ROM as a cell showing its free bytes and
// picture bytes, as `orvista-cli space` counts them; a bank or one of its
// free runs chosen shows the pictures it holds and which of the ROM's
// pictures would fit there. The cells are one tab stop, walked with the
// arrow keys.

import { count, t } from './i18n.ts';
import { hex, slotLabel } from './labels.ts';
import type { BankSpace, FreeRun, HeldRom, SlotInfo, SpaceMap } from './orv.ts';

const BANK_SIZE = 0x4000;
const MIN_RUN = 64; // as `orvista-cli space` counts by default

// Whether a picture of n stream bytes fits the run: the free-space search
// takes n + 2 zero bytes (a zero before the data, one after), and the byte
// after them must still lie in the bank.
export function fitsRun(streamBytes: number, run: FreeRun): boolean {
  const endsBank = (run.offset + run.length) % BANK_SIZE === 0;
  return streamBytes > 0 && streamBytes + (endsBank ? 3 : 2) <= run.length;
}

export class SpacePanel {
  private readonly total: HTMLElement;
  private readonly grid: HTMLElement;
  private readonly detail: HTMLElement;
  private map: SpaceMap | null = null;
  private slots: SlotInfo[] = [];
  private cells: HTMLButtonElement[] = [];
  private chosenBank = -1;
  private chosenRun = -1; // offset of the run chosen, or -1 for the bank's largest

  private visible = false;
  private stale = false;
  private idle = 0;

  // held: the ROM as it stands whenever asked, with its slots.
  constructor(root: HTMLElement, private readonly held: () => { rom: HeldRom; slots: SlotInfo[] } | null) {
    this.total = root.querySelector('#space-total')!;
    this.grid = root.querySelector('#space-banks')!;
    this.detail = root.querySelector('#space-detail')!;
    this.grid.addEventListener('keydown', (event) => this.key(event));
    new IntersectionObserver((entries) => {
      this.visible = entries.some((e) => e.isIntersecting);
      if (this.visible && this.stale) this.later();
    }, { rootMargin: '200px' }).observe(root);
  }

  // The held ROM changed: the map is drawn again once idle and in view.
  changed() {
    this.stale = true;
    if (this.visible) this.later();
  }

  private later() {
    cancelIdleCallback(this.idle);
    this.idle = requestIdleCallback(() => {
      const held = this.held();
      if (!this.stale || !held) return;
      this.stale = false;
      this.show(held.rom, held.slots);
    }, { timeout: 500 });
  }

  // The ROM as it stands now; the bank chosen stays chosen.
  private show(rom: HeldRom, slots: SlotInfo[]) {
    this.map = rom.spaceMap(MIN_RUN);
    this.total.removeAttribute('data-i18n'); // from now on the map's own text
    this.slots = slots;
    this.build();
    this.render();
  }

  relabel() {
    if (this.map) this.render();
  }

  private bankOf(bank: number): BankSpace | null {
    return this.map?.banks.find((b) => b.bank === bank) ?? null;
  }

  private build() {
    const n = this.map!.bankCount;
    if (this.cells.length !== n) {
      this.cells = Array.from({ length: n }, (_, bank) => {
        const cell = document.createElement('button');
        cell.type = 'button';
        cell.className = 'bank';
        cell.tabIndex = -1;
        cell.dataset.bank = String(bank);
        cell.append(Object.assign(document.createElement('span'), { className: 'bank-number' }));
        cell.addEventListener('click', () => this.choose(bank, -1));
        return cell;
      });
      this.grid.replaceChildren(...this.cells);
    }
    if (this.chosenBank >= n) this.chosenBank = -1;
    const stop = this.chosenBank >= 0 ? this.chosenBank : (this.map!.largest ? Math.floor(this.map!.largest.offset / BANK_SIZE) : 0);
    this.cells.forEach((cell, bank) => { cell.tabIndex = bank === stop ? 0 : -1; });
  }

  private render() {
    const map = this.map!;
    this.total.textContent = t('space.total', {
      pictures: count(map.pictures), pictureBytes: count(map.pictureBytes), runs: count(map.runs),
      free: count(map.freeBytes), min: MIN_RUN,
    }) + '; ' + this.largestText(map.largest);
    this.cells.forEach((cell, bank) => {
      const b = this.bankOf(bank);
      const free = b?.freeBytes ?? 0, used = b?.pictureBytes ?? 0;
      // A few bytes still show as a sliver.
      const part = (bytes: number) => bytes ? `max(3px, ${(100 * bytes / BANK_SIZE).toFixed(2)}%)` : '0px';
      cell.style.setProperty('--free', part(free));
      cell.style.setProperty('--pictures', `calc(${part(free)} + ${part(used)})`);
      cell.classList.toggle('holds', !!b);
      (cell.lastElementChild as HTMLElement).textContent = bank.toString(16).toUpperCase().padStart(2, '0');
      cell.setAttribute('aria-label', t('space.bank', {
        bank: hex(bank), pictures: count(b?.pictures ?? 0), pictureBytes: count(used), runs: count(b?.runs.length ?? 0),
        free: count(free),
      }));
      cell.setAttribute('aria-pressed', String(bank === this.chosenBank));
    });
    this.renderDetail();
  }

  private largestText(run: FreeRun | null) {
    return run ? t('space.largest', { length: count(run.length), offset: hex(run.offset) }) : t('space.noRun');
  }

  private choose(bank: number, run: number) {
    this.chosenBank = bank;
    this.chosenRun = run;
    this.cells.forEach((cell, i) => {
      cell.tabIndex = i === bank ? 0 : -1;
      cell.setAttribute('aria-pressed', String(i === bank));
    });
    this.renderDetail();
  }

  private renderDetail() {
    const bank = this.chosenBank;
    if (bank < 0) {
      this.detail.replaceChildren(Object.assign(document.createElement('p'), { className: 'hint', textContent: t('space.chooseBank') }));
      return;
    }
    const b = this.bankOf(bank);
    const parts: HTMLElement[] = [];
    const add = <K extends keyof HTMLElementTagNameMap>(tag: K, text: string, className = '') => {
      const element = document.createElement(tag);
      element.textContent = text;
      if (className) element.className = className;
      parts.push(element);
      return element;
    };
    add('h3', t('space.bankTitle', { bank: hex(bank), from: hex(bank * BANK_SIZE), to: hex((bank + 1) * BANK_SIZE - 1) }));
    add('p', t('space.bank', { bank: hex(bank), pictures: count(b?.pictures ?? 0), pictureBytes: count(b?.pictureBytes ?? 0),
      runs: count(b?.runs.length ?? 0), free: count(b?.freeBytes ?? 0) }).replace(/^[^:]*: /, '') + '; ' +
      this.largestText(b?.largest ?? null));

    const runs = b?.runs ?? [];
    const chosen = runs.find((r) => r.offset === this.chosenRun) ?? b?.largest ?? null;
    if (runs.length) {
      add('h4', t('space.runs'));
      const group = document.createElement('div');
      group.className = 'runs';
      group.setAttribute('role', 'group');
      group.setAttribute('aria-label', t('space.runs'));
      for (const run of runs) {
        const button = document.createElement('button');
        button.type = 'button';
        button.className = 'button run';
        button.textContent = t('space.run', { offset: hex(run.offset), length: count(run.length) });
        button.setAttribute('aria-pressed', String(run === chosen));
        button.addEventListener('click', () => {
          this.choose(bank, run.offset);
          (this.detail.querySelector(`[data-run="${run.offset}"]`) as HTMLElement | null)?.focus();
        });
        button.dataset.run = String(run.offset);
        group.append(button);
      }
      parts.push(group);
    }

    add('h4', t('space.holds'));
    const held = (b?.slots ?? []).map((i) => this.slots[i]).filter(Boolean);
    add('p', held.length ? held.map((s) => `${slotLabel(s)} (${hex(s.offset)}, ${count(s.streamBytes)})`).join(', ')
      : t('space.none'), 'slot-list');

    if (chosen) {
      const withPicture = this.slots.filter((s) => s.streamBytes > 0);
      const fits = withPicture.filter((s) => fitsRun(s.streamBytes, chosen));
      add('h4', t('space.fits', { count: count(fits.length), total: count(withPicture.length), offset: hex(chosen.offset),
        length: count(chosen.length) }));
      add('p', fits.length ? fits.map((s) => slotLabel(s)).join(', ') : t('space.none'), 'slot-list fits');
    } else {
      add('p', t('space.fitsNone'), 'hint');
    }
    this.detail.replaceChildren(...parts);
  }

  private key(event: KeyboardEvent) {
    const at = this.cells.indexOf(document.activeElement as HTMLButtonElement);
    if (at < 0) return;
    const top = this.cells[0].offsetTop;
    const firstBelow = this.cells.findIndex((c) => c.offsetTop !== top);
    const columns = firstBelow > 0 ? firstBelow : this.cells.length;
    const target: Record<string, number> = {
      ArrowLeft: at - 1, ArrowRight: at + 1, ArrowUp: at - columns, ArrowDown: at + columns,
      Home: 0, End: this.cells.length - 1,
    };
    if (!(event.key in target)) return;
    event.preventDefault();
    const next = Math.min(Math.max(target[event.key], 0), this.cells.length - 1);
    this.cells[next].focus();
    this.choose(next, -1);
  }
}
