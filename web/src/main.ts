// The page: a ROM opened, every picture shown, one replaced, the result
// downloaded. The ROM held is swapped only for the core's whole result.

import { Detail } from './detail.ts';
import { EditPanel } from './edit_panel.ts';
import { editRequests, type Params } from './edits.ts';
import { Gallery } from './gallery.ts';
import { hex, slotLabel } from './labels.ts';
import { OrvCore, Refusal, type Core, type HeldRom, type PatchFormat, type RomInfo, type Shades,
  type SlotInfo } from './orv.ts';
import { decodePictureFile } from './picture_file.ts';

const $ = <T extends HTMLElement>(selector: string) => document.querySelector<T>(selector)!;

interface Loaded {
  base: HeldRom; // as opened: the patches' base
  current: HeldRom; // with every change made since
  info: RomInfo;
  slots: SlotInfo[];
  selected: number;
}

const status = $('#status');
const romInput = $<HTMLInputElement>('#rom-input');
const pictureInput = $<HTMLInputElement>('#picture-input');
const filterInput = $<HTMLInputElement>('#filter');
const shinySwitch = $<HTMLInputElement>('#shiny');
const report = $('#report');
const detailRoot = $('#detail');
const downloads = {
  rom: $<HTMLButtonElement>('#download-rom'),
  bps: $<HTMLButtonElement>('#download-bps'),
  ips: $<HTMLButtonElement>('#download-ips'),
};

let core: Core;
let loaded: Loaded | null = null;
let busy = Promise.resolve();
const detail = new Detail(detailRoot);
let editPanel: EditPanel | null = null;
const gallery = new Gallery($('#gallery'), (index) => select(index));

function say(text: string) {
  status.textContent = text;
}

function sayRefusal(error: unknown) {
  if (error instanceof Refusal) say(error.message);
  else {
    console.error(error);
    say(`Something went wrong: ${error instanceof Error ? error.message : String(error)}`);
  }
}

// One piece of work at a time, in the order asked.
function queue(work: () => Promise<void>) {
  busy = busy.then(work).catch(sayRefusal);
  return busy;
}

function showInfo(info: RomInfo) {
  const field = (name: string, text: string, note = '') => {
    const dd = $(`#rom-info [data-field="${name}"]`);
    dd.textContent = text;
    dd.title = note ? `${text}, ${note}` : text;
    if (note) {
      const small = document.createElement('small');
      small.textContent = note;
      dd.append(small);
    }
  };
  // As `orvista-cli info` says them: "0x2224, wrong (should be 0x25AE)".
  const checksum = (name: string, c: { stored: number; computed: number }, digits: number) => {
    const text = (n: number) => '0x' + n.toString(16).toUpperCase().padStart(digits, '0');
    field(name, text(c.stored), c.stored === c.computed ? 'right' : `wrong (should be ${text(c.computed)})`);
  };
  field('title', info.title + (info.gameCode ? ` (${info.gameCode})` : ''));
  field('edition', info.edition ? [info.language, info.edition].filter(Boolean).join(' ') : 'unknown');
  field('crc32', info.crc32.toString(16).toUpperCase().padStart(8, '0'));
  // As info says it after the SHA-1.
  field('sha1', info.sha1, info.retail ? 'unchanged retail' : '');
  checksum('header', info.headerChecksum, 2);
  checksum('global', info.globalChecksum, 4);
  field('free', info.freeBytes.toLocaleString('en'), `in ${info.freeRuns} runs of 64+ bytes`);
}

function enable(on: boolean) {
  for (const button of Object.values(downloads)) button.disabled = !on;
  filterInput.disabled = shinySwitch.disabled = !on;
}

function select(index: number) {
  if (!loaded) return;
  loaded.selected = index;
  gallery.select(index);
  detail.show(loaded.slots[index], gallery.picture(index));
  editPanel?.show(loaded.slots[index]);
  pictureInput.disabled = false;
  pictureInput.parentElement!.removeAttribute('aria-disabled');
  if (matchMedia('(max-width: 760px)').matches) detailRoot.scrollIntoView({ block: 'nearest' });
}

// Measures for the benchmark: from a file chosen to the frame that shows the
// result, and the steps between.
function step(name: string) {
  performance.mark(name);
}

function measured(name: string, work: () => Promise<void>) {
  return async () => {
    performance.mark(`${name}:start`);
    await work();
    await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
    performance.measure(name, `${name}:start`);
  };
}

async function openRom(file: File) {
  const bytes = new Uint8Array(await file.arrayBuffer());
  step('orv-open:read');
  const held = core.hold(bytes, file.name);
  let info: RomInfo;
  try {
    info = held.info();
  } catch (error) {
    held.free();
    throw error;
  }
  step('orv-open:info');
  const slots = held.slots();
  step('orv-open:slots');
  const pictures = held.pictures();
  step('orv-open:pictures');
  if (loaded) {
    loaded.base.free();
    if (loaded.current !== loaded.base) loaded.current.free();
  }
  $('#gallery-empty').hidden = true;
  $('#gallery').hidden = false;
  loaded = { base: held, current: held, info, slots, selected: -1 };
  showInfo(info);
  gallery.show(slots, pictures, shinySwitch.checked);
  step('orv-open:gallery');
  updateCount();
  enable(true);
  report.textContent = '';
  const first = slots.findIndex((_, i) => pictures[i]);
  select(first >= 0 ? first : 0);
  say(`Opened ${file.name}: ${info.soundPictures} of ${slots.length} pictures readable.`);
}

async function replacePicture(file: File) {
  if (!loaded || loaded.selected < 0) {
    say('Open a ROM and choose a picture first.');
    return;
  }
  const l = loaded;
  const slot = l.slots[l.selected];
  const picture = await decodePictureFile(file, file.name);
  step('orv-replace:decode');
  const { rom, insertion } = l.current.insert(slot.index, picture, file.name);
  step('orv-replace:insert');
  // The core's whole result: the held ROM changes in this one step.
  const previous = l.current;
  l.current = rom;
  if (previous !== l.base) previous.free();
  const slots = rom.slots();
  step('orv-replace:slots');
  // New pictures where a pointer or stream changed, new colours where a palette did.
  const changed = new Map<number, Shades | null>();
  slots.forEach((s, i) => {
    const o = l.slots[i];
    if (s.offset !== o.offset || s.streamBytes !== o.streamBytes) changed.set(i, rom.pictures(i, 1)[0]);
    else if (s.normal.join() !== o.normal.join() || s.shiny.join() !== o.shiny.join() || s.name !== o.name)
      changed.set(i, gallery.picture(i));
  });
  l.slots = slots;
  gallery.update(slots, changed);
  select(l.selected);
  report.textContent = insertion.report;
  say(`${file.name} went into ${slotLabel(slot)}: ${insertion.streamBytes} bytes at ${hex(insertion.dataOffset)}.`);
  // The ROM's checksums and free bytes follow once the picture is shown.
  requestIdleCallback(() => {
    if (loaded === l && l.current === rom) showInfo((l.info = rom.info()));
  }, { timeout: 500 });
}

function baseName(name: string) {
  return name.replace(/\.[^.]*$/, '') || 'rom';
}

function download(what: 'rom' | PatchFormat) {
  if (!loaded) return;
  const { base, current } = loaded;
  const bytes = what === 'rom' ? current.bytes() : base.patch(what, current);
  const name = what === 'rom' ? base.fileName : `${baseName(base.fileName)}.${what}`;
  const url = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60_000);
  say(`Saved ${name} (${bytes.length.toLocaleString('en')} bytes).`);
}

function updateCount() {
  const shown = gallery.filter(filterInput.value);
  $('#count').textContent = loaded ? `${shown} of ${loaded.slots.length}` : '';
}

const isRomName = (name: string) => /\.(gbc|gb|sgb)$/i.test(name);

function wire() {
  romInput.addEventListener('change', () => {
    const file = romInput.files?.[0];
    romInput.value = '';
    if (file) queue(measured('orv-open', () => openRom(file)));
  });
  pictureInput.addEventListener('change', () => {
    const file = pictureInput.files?.[0];
    pictureInput.value = '';
    if (file) queue(measured('orv-replace', () => replacePicture(file)));
  });
  filterInput.addEventListener('input', updateCount);
  shinySwitch.addEventListener('change', () => gallery.setShiny(shinySwitch.checked));
  for (const [what, button] of Object.entries(downloads))
    button.addEventListener('click', () => queue(async () => download(what as 'rom' | PatchFormat)));

  // A ROM dropped anywhere opens; a picture dropped on the detail (or any
  // picture file, once a ROM is open) replaces the selected one.
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    const onDetail = detailRoot.contains(event.target as Node);
    detailRoot.classList.toggle('drop', onDetail && !!loaded);
    document.body.classList.toggle('drop', !onDetail);
  });
  document.addEventListener('dragleave', (event) => {
    if (!event.relatedTarget) {
      detailRoot.classList.remove('drop');
      document.body.classList.remove('drop');
    }
  });
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    detailRoot.classList.remove('drop');
    document.body.classList.remove('drop');
    const file = event.dataTransfer?.files[0];
    if (!file) return;
    const onDetail = detailRoot.contains(event.target as Node);
    const picture = !isRomName(file.name) && (onDetail || file.type.startsWith('image/'));
    queue(() => (picture && loaded ? replacePicture(file) : openRom(file)));
  });
}

// Interim texts of the edits until the page speaks through its tables.
const EDIT_TEXT: Record<string, string> = {
  'edit.name': 'Name', 'edit.nameHint': 'Enter applies it, Esc restores it.',
  'edit.unownNote': 'All 26 Unown letters share one name and one pair of colours, those of Pokemon 201: a change here changes every letter.',
  'edit.normalPair': 'Normal colours', 'edit.shinyPair': 'Shiny colours', 'edit.trainerPair': 'Colours',
  'edit.colour1': 'Colour 1', 'edit.colour2': 'Colour 2', 'edit.shinyColour1': 'Shiny colour 1',
  'edit.shinyColour2': 'Shiny colour 2', 'edit.importPal': 'Import .pal…', 'edit.importPalLabel': 'Import .pal',
  'edit.importShinyPalLabel': 'Import shiny .pal', 'edit.exportPal': 'Export .pal',
  'edit.exportPalLabel': 'Export .pal', 'edit.exportShinyPalLabel': 'Export shiny .pal',
  'edit.palTooLarge': 'The file "{name}" is too large for a palette file ({bytes} bytes).',
  'app.nothingChanged': 'Nothing changed: the ROM holds this already.',
  'change.colours': 'colours {colours}', 'change.shinyColours': 'shiny colours {colours}',
  'change.pal': 'colours from {file}', 'change.shinyPal': 'shiny colours from {file}',
  'change.name': 'name {before} → {after}',
};
const editText = (key: string, params: Params = {}) =>
  (EDIT_TEXT[key] ?? key).replace(/\{(\w+)\}/g, (whole, name: string) => (name in params ? String(params[name]) : whole));

function swapHeld(rom: HeldRom) {
  const l = loaded!;
  const previous = l.current;
  l.current = rom;
  if (previous !== l.base) previous.free();
  const slots = rom.slots();
  const changed = new Map<number, Shades | null>();
  slots.forEach((s, i) => {
    const o = l.slots[i];
    if (s.normal.join() !== o.normal.join() || s.shiny.join() !== o.shiny.join() || s.name !== o.name)
      changed.set(i, gallery.picture(i));
  });
  l.slots = slots;
  gallery.update(slots, changed);
  select(l.selected);
}

function wireEdits() {
  const requests = editRequests({
    core,
    held: () => (loaded ? { rom: loaded.current, slots: loaded.slots } : null),
    commit(rom, slot, what, params) {
      const before = loaded!.current.bytes(), after = rom.bytes();
      const bytes = after.reduce((n, b, i) => n + (b !== before[i] ? 1 : 0), 0);
      if (bytes === 0) {
        rom.free();
        return false;
      }
      swapHeld(rom);
      say(`${slotLabel(loaded!.slots[slot])}: ${editText(what, params)}, ${bytes} bytes`);
      return true;
    },
    draw(records, indices) {
      const l = loaded!;
      gallery.update(records, new Map(indices.map((i) => [i, gallery.picture(i)])));
      if (indices.includes(l.selected)) detail.show(records[l.selected], gallery.picture(l.selected));
    },
    reshow: () => loaded && select(loaded.selected),
    save(name, bytes) {
      const url = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
      const link = Object.assign(document.createElement('a'), { href: url, download: name });
      document.body.append(link);
      link.click();
      link.remove();
      setTimeout(() => URL.revokeObjectURL(url), 60_000);
    },
    say: (key, params) => say(editText(key, params)),
    refused: sayRefusal,
    queue: (work) => void queue(work),
  });
  editPanel = new EditPanel(detailRoot.querySelector('.replace')!, {
    text: (key) => editText(key), gameColour: (c) => core.gameColour(c), nameLength: core.nameLength,
  }, requests);
}

async function start() {
  wire();
  try {
    core = await OrvCore.load(fetch('orv_web.wasm'));
    gallery.build(core.slotCount); // before any ROM, so opening one only fills it
    wireEdits();
  } catch (error) {
    say(`The page could not start its core: ${error instanceof Error ? error.message : String(error)}`);
    romInput.disabled = true;
    return;
  }
  document.body.dataset.ready = 'true';
}

start();
