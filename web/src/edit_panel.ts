// The detail's editing controls: the Pokemon's name, and each palette pair
// as two colour inputs with its .pal file in and out. A colour snaps to the
// game's as it is chosen; every change is asked of the page, which makes it
// through the core. The controls always show the ROM as it stands.

import { t, type TextKey } from './i18n.ts';
import { colourHex } from './labels.ts';
import type { Core, SlotInfo } from './orv.ts';

export type Pair = 'normal' | 'shiny';

export interface EditRequests {
  // Colours shown on the pictures while chosen; the ROM stays as it is.
  preview(slot: SlotInfo, pair: Pair, colours: [number, number]): void;
  setColours(slot: SlotInfo, pair: Pair, colours: [number, number]): void;
  importPal(slot: SlotInfo, pair: Pair, file: File): void;
  exportPal(slot: SlotInfo, pair: Pair): void;
  rename(slot: SlotInfo, name: string): void;
}

const PAIRS: Pair[] = ['normal', 'shiny'];

// Markup with data-i18n keys, so a language switch relabels it with the rest.
function markup(nameLength: number) {
  const pair = (p: Pair) => {
    // The legend names the pair; the accessible names name it too.
    const label = p === 'shiny' ? 'edit.shinyColour' : 'edit.colour';
    const colour = (n: 1 | 2) => `<label class="colour"><input type="color" data-i18n-label="${label}${n}">` +
      `<span class="colour-name" data-i18n="edit.colour${n}"></span>` +
      '<span class="colour-hex mono"></span></label>';
    const file = p === 'shiny' ? 'Shiny' : '';
    return `<fieldset class="pair" data-pair="${p}"><legend data-i18n="edit.${p}Pair"></legend>` +
      `<div class="pair-colours">${colour(1)}${colour(2)}</div><div class="pair-files">` +
      '<label class="button file small"><span data-i18n="edit.importPal"></span>' +
      `<input type="file" accept=".pal,text/plain" data-i18n-label="edit.import${file}PalLabel"></label>` +
      `<button type="button" class="button small" data-export data-i18n-label="edit.export${file}PalLabel">` +
      '<span data-i18n="edit.exportPal"></span></button></div></fieldset>';
  };
  return '<div class="name-field"><label for="name-input" data-i18n="edit.name"></label>' +
    `<input id="name-input" type="text" maxlength="${nameLength}" autocomplete="off" spellcheck="false" ` +
    'data-i18n-label="edit.name"><span class="hint" data-i18n="edit.nameHint"></span></div>' +
    '<p class="shared-note" role="note" data-i18n="edit.unownNote"></p>' +
    `<div class="pairs">${pair('normal')}${pair('shiny')}</div>`;
}

const hexOf = (colour: number) => colourHex(colour).toLowerCase();
const colourOf = (value: string) => parseInt(value.slice(1), 16);

export class EditPanel {
  readonly root: HTMLElement;
  private slot: SlotInfo | null = null;
  private readonly name: HTMLInputElement;
  private readonly note: HTMLElement;
  private readonly pairs: Record<Pair, { set: HTMLFieldSetElement; colours: HTMLInputElement[];
    hex: HTMLElement[]; file: HTMLInputElement; export: HTMLButtonElement }>;

  constructor(before: Element, private readonly core: Pick<Core, 'gameColour' | 'nameLength'>,
    private readonly requests: EditRequests) {
    this.root = document.createElement('div');
    this.root.className = 'edit';
    this.root.hidden = true;
    this.root.innerHTML = markup(core.nameLength);
    for (const element of this.root.querySelectorAll<HTMLElement>('[data-i18n]'))
      element.textContent = t(element.dataset.i18n as TextKey);
    for (const element of this.root.querySelectorAll<HTMLElement>('[data-i18n-label]'))
      element.setAttribute('aria-label', t(element.dataset.i18nLabel as TextKey));
    before.before(this.root);
    this.name = this.root.querySelector('#name-input')!;
    this.note = this.root.querySelector('.shared-note')!;
    const pairOf = (p: Pair) => {
      const set = this.root.querySelector<HTMLFieldSetElement>(`[data-pair="${p}"]`)!;
      return {
        set,
        colours: [...set.querySelectorAll<HTMLInputElement>('input[type="color"]')],
        hex: [...set.querySelectorAll<HTMLElement>('.colour-hex')],
        file: set.querySelector<HTMLInputElement>('input[type="file"]')!,
        export: set.querySelector<HTMLButtonElement>('[data-export]')!,
      };
    };
    this.pairs = { normal: pairOf('normal'), shiny: pairOf('shiny') };
    this.wire();
  }

  // The slot's name and colours as the ROM holds them; nothing for none.
  show(slot: SlotInfo | null) {
    this.slot = slot;
    this.root.hidden = !slot;
    if (!slot) return;
    const trainer = slot.kind === 'trainer';
    // Trainers have no name in the table and one pair.
    this.name.parentElement!.hidden = trainer;
    this.name.value = slot.name;
    this.note.hidden = slot.kind !== 'unown';
    this.pairs.shiny.set.hidden = trainer;
    const legend = this.pairs.normal.set.querySelector('legend')!;
    legend.dataset.i18n = trainer ? 'edit.trainerPair' : 'edit.normalPair';
    legend.textContent = t(legend.dataset.i18n as TextKey);
    for (const p of PAIRS) this.showColours(p, slot[p]);
  }

  private showColours(p: Pair, colours: readonly number[]) {
    colours.forEach((colour, i) => {
      this.pairs[p].colours[i].value = hexOf(colour);
      this.pairs[p].hex[i].textContent = colourHex(colour);
    });
  }

  // The pair's two inputs as game colours; each input then shows its snapped value.
  private chosen(p: Pair, snapInputs: boolean): [number, number] {
    const [a, b] = this.pairs[p].colours.map((input, i) => {
      const colour = this.core.gameColour(colourOf(input.value));
      if (snapInputs) input.value = hexOf(colour);
      this.pairs[p].hex[i].textContent = colourHex(colour);
      return colour;
    });
    return [a, b];
  }

  private wire() {
    for (const p of PAIRS) {
      const { colours, file, export: exportButton } = this.pairs[p];
      for (const input of colours) {
        input.addEventListener('input', () => this.slot && this.requests.preview(this.slot, p, this.chosen(p, false)));
        input.addEventListener('change', () => this.slot && this.requests.setColours(this.slot, p, this.chosen(p, true)));
      }
      file.addEventListener('change', () => {
        const chosen = file.files?.[0];
        file.value = '';
        if (chosen && this.slot) this.requests.importPal(this.slot, p, chosen);
      });
      exportButton.addEventListener('click', () => this.slot && this.requests.exportPal(this.slot, p));
      // A .pal file dropped on a pair goes into that pair; anything else is the page's.
      this.pairs[p].set.addEventListener('drop', (event) => {
        const dropped = event.dataTransfer?.files[0];
        if (!dropped || !/\.pal$/i.test(dropped.name) || !this.slot) return;
        event.preventDefault();
        event.stopPropagation();
        this.root.closest('.drop')?.classList.remove('drop');
        this.requests.importPal(this.slot, p, dropped);
      });
    }
    this.name.addEventListener('change', () => {
      if (this.slot && this.name.value !== this.slot.name) this.requests.rename(this.slot, this.name.value);
    });
    this.name.addEventListener('keydown', (event) => {
      if (event.key === 'Escape' && this.slot) this.name.value = this.slot.name;
    });
  }
}
