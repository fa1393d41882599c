// The page: a ROM opened, every picture shown, changed, every change listed
// and undoable, the result downloaded. The ROM held is swapped only for the
// core's whole result (editor.ts).

import { Detail } from './detail.ts';
import { EditPanel } from './edit_panel.ts';
import { editRequests } from './edits.ts';
import { Editor, type Swap } from './editor.ts';
import { FolderPanel } from './folders.ts';
import { Gallery } from './gallery.ts';
import type { Change } from './history.ts';
import { chooseLanguage, count, language, onLanguage, setLanguage, t, type Language, type Params,
  type TextKey } from './i18n.ts';
import { hex, slotLabel } from './labels.ts';
import { OrvCore, Refusal, type Core, type PatchFormat, type RomInfo, type Shades } from './orv.ts';
import { decodePictureFile } from './picture_file.ts';
import { saveFile } from './save.ts';
import { SpacePanel } from './space.ts';

const $ = <T extends HTMLElement>(selector: string) => document.querySelector<T>(selector)!;

const status = $('#status');
const romInput = $<HTMLInputElement>('#rom-input');
const pictureInput = $<HTMLInputElement>('#picture-input');
const filterInput = $<HTMLInputElement>('#filter');
const shinySwitch = $<HTMLInputElement>('#shiny');
const languageChoice = $<HTMLSelectElement>('#language');
const report = $('#report');
const detailRoot = $('#detail');
const downloads = {
  rom: $<HTMLButtonElement>('#download-rom'),
  bps: $<HTMLButtonElement>('#download-bps'),
  ips: $<HTMLButtonElement>('#download-ips'),
};
const undoButton = $<HTMLButtonElement>('#undo');
const redoButton = $<HTMLButtonElement>('#redo');
const changesList = $<HTMLOListElement>('#changes-list');

let core: Core;
let editor: Editor;
let busy = Promise.resolve();
const detail = new Detail(detailRoot);
let editPanel: EditPanel | null = null;
const gallery = new Gallery($('#gallery'), (index) => select(index));
// The last status as a text key, so that it follows the language; params
// that name slots or changes are made again in the new language.
let said: { key: TextKey; params: Params | (() => Params) } | { text: string } | null = null;

function say(key: TextKey, params: Params | (() => Params) = {}) {
  said = { key, params };
  status.textContent = t(key, typeof params === 'function' ? params() : params);
}

function sayText(text: string) {
  said = { text };
  status.textContent = text;
}

function sayRefusal(error: unknown) {
  if (error instanceof Refusal) sayText(error.message);
  else {
    console.error(error);
    say('app.failed', { error: error instanceof Error ? error.message : String(error) });
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
    field(name, text(c.stored), c.stored === c.computed ? t('info.right') : t('info.wrong', { value: text(c.computed) }));
  };
  field('title', info.title + (info.gameCode ? ` (${info.gameCode})` : ''));
  const words = [info.language && t(`info.${info.language}`), info.edition].filter(Boolean);
  field('edition', info.edition ? words.join(' ') : t('info.unknown'));
  field('crc32', info.crc32.toString(16).toUpperCase().padStart(8, '0'));
  // As info says it after the SHA-1.
  field('sha1', info.sha1, info.retail ? t('info.retail') : '');
  checksum('header', info.headerChecksum, 2);
  checksum('global', info.globalChecksum, 4);
  field('free', count(info.freeBytes), t('info.runs', { runs: info.freeRuns }));
}

function enable(on: boolean) {
  for (const button of Object.values(downloads)) button.disabled = !on;
  filterInput.disabled = shinySwitch.disabled = !on;
}

function select(index: number) {
  const l = editor.loaded;
  if (!l) return;
  l.selected = index;
  gallery.select(index);
  detail.show(l.slots[index], gallery.picture(index));
  editPanel?.show(l.slots[index]);
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
  // A ROM with changes not downloaded is only dropped when the user says so.
  const l = editor.loaded;
  if (l && editor.history.dirty && !confirm(t('app.replaceRom', { name: l.base.fileName, other: file.name }))) {
    held.free();
    say('app.kept', { name: l.base.fileName });
    return;
  }
  editor.open(held, info);
}

// What every swap of the held ROM shows: pictures, facts, the history.
function showSwap(swap: Swap) {
  const l = swap.loaded;
  if (swap.how === 'open') {
    step('orv-open:slots');
    const pictures = l.current.pictures();
    step('orv-open:pictures');
    $('#gallery-empty').hidden = true;
    $('#gallery').hidden = false;
    showInfo(l.info);
    gallery.show(l.slots, pictures, shinySwitch.checked);
    step('orv-open:gallery');
    updateCount();
    enable(true);
    report.textContent = '';
    const first = l.slots.findIndex((_, i) => pictures[i]);
    select(first >= 0 ? first : 0);
    say('app.opened', { name: l.base.fileName, sound: l.info.soundPictures, count: l.slots.length });
  } else {
    step('orv-replace:slots');
    // New pictures where a stream changed, new colours where a palette or name did.
    const changed = new Map<number, Shades | null>();
    for (const i of swap.pictures) changed.set(i, l.current.pictures(i, 1)[0]);
    for (const i of swap.colours) changed.set(i, gallery.picture(i));
    gallery.update(l.slots, changed);
    if (l.selected >= 0) select(l.selected);
    // The ROM's checksums and free bytes follow once the picture is shown.
    const rom = l.current;
    requestIdleCallback(() => {
      if (editor.loaded === l && l.current === rom) showInfo((l.info = rom.info()));
    }, { timeout: 500 });
  }
  showHistory();
}

function changeText(change: Change): string {
  const l = editor.loaded!;
  const slot = change.slot === null ? '' : slotLabel(l.slots[change.slot]);
  const what = t(change.what, change.params);
  return t('changes.item', { slot, what, bytes: count(change.bytes) }).replace(/^: /, '');
}

function showHistory() {
  const h = editor.history;
  const undo = h.peekUndo(), redo = h.peekRedo();
  undoButton.disabled = !undo;
  redoButton.disabled = !redo;
  undoButton.title = undo ? `${t('changes.undo')}: ${changeText(undo)}` : '';
  redoButton.title = redo ? `${t('changes.redo')}: ${changeText(redo)}` : '';
  const items = h.changes.map((change) => {
    const li = document.createElement('li');
    li.textContent = changeText(change);
    if (h.isSaved(change)) {
      const mark = document.createElement('small');
      mark.textContent = ` · ${t('changes.saved')}`;
      li.append(mark);
    }
    return li;
  });
  for (const change of [...h.redoable].reverse()) {
    const li = document.createElement('li');
    li.className = 'undone';
    li.textContent = changeText(change);
    items.push(li);
  }
  changesList.replaceChildren(...items);
  $('#changes-none').hidden = items.length > 0;
}

async function replacePicture(file: File) {
  const l = editor.loaded;
  if (!l || l.selected < 0) {
    say('app.chooseFirst');
    return;
  }
  const index = l.selected;
  const slot = l.slots[index];
  const picture = await decodePictureFile(file, file.name);
  step('orv-replace:decode');
  const { rom, insertion } = l.current.insert(index, picture, file.name);
  step('orv-replace:insert');
  editor.commit(rom, { slot: index, what: 'change.picture' });
  report.textContent = insertion.report;
  say('app.replaced', () => ({ file: file.name, slot: slotLabel(slot), bytes: insertion.streamBytes,
    offset: hex(insertion.dataOffset) }));
}

function undo() {
  const change = editor.undo();
  if (change) say('changes.undone', () => ({ change: changeText(change) }));
}

function redo() {
  const change = editor.redo();
  if (change) say('changes.redone', () => ({ change: changeText(change) }));
}

function baseName(name: string) {
  return name.replace(/\.[^.]*$/, '') || 'rom';
}

function download(what: 'rom' | PatchFormat) {
  const l = editor.loaded;
  if (!l) return;
  const { base, current } = l;
  const bytes = what === 'rom' ? current.bytes() : base.patch(what, current);
  const name = what === 'rom' ? base.fileName : `${baseName(base.fileName)}.${what}`;
  saveFile(name, bytes);
  editor.history.markSaved();
  showHistory();
  say('app.saved', { name, bytes: count(bytes.length) });
}

function updateCount() {
  const shown = gallery.filter(filterInput.value);
  const l = editor?.loaded;
  $('#count').textContent = l ? t('gallery.count', { shown, count: l.slots.length }) : '';
}

function relabel() {
  const l = editor?.loaded;
  if (said) 'key' in said ? say(said.key, said.params) : sayText(said.text);
  if (!l) return;
  gallery.relabel();
  showInfo(l.info);
  updateCount();
  if (l.selected >= 0) detail.show(l.slots[l.selected], gallery.picture(l.selected));
  showHistory();
}

const isRomName = (name: string) => /\.(gbc|gb|sgb)$/i.test(name);
const isTyping = (target: EventTarget | null) =>
  target instanceof HTMLElement && (target.isContentEditable || /^(INPUT|TEXTAREA|SELECT)$/.test(target.tagName) &&
    !(target instanceof HTMLInputElement && /^(checkbox|radio|button|file|color)$/.test(target.type)));

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
  undoButton.addEventListener('click', () => queue(async () => undo()));
  redoButton.addEventListener('click', () => queue(async () => redo()));
  // Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y (Cmd on a Mac); a text field keeps its own.
  document.addEventListener('keydown', (event) => {
    if (!(event.ctrlKey || event.metaKey) || event.altKey || isTyping(event.target)) return;
    const key = event.key.toLowerCase();
    if (key === 'z' && !event.shiftKey) queue(async () => undo());
    else if ((key === 'z' && event.shiftKey) || key === 'y') queue(async () => redo());
    else return;
    event.preventDefault();
  });
  // Leaving with changes that were not downloaded asks first.
  window.addEventListener('beforeunload', (event) => {
    if (!editor?.history.dirty) return;
    event.preventDefault();
    event.returnValue = t('app.leave');
  });
  languageChoice.addEventListener('change', () => {
    const next = languageChoice.value as Language;
    try {
      localStorage.setItem('orv-language', next);
    } catch {
      // A browser that keeps nothing still switches for this visit.
    }
    setLanguage(next);
  });
  onLanguage(relabel);

  // A ROM dropped anywhere opens; a picture dropped on the detail (or any
  // picture file, once a ROM is open) replaces the selected one.
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    const onDetail = detailRoot.contains(event.target as Node);
    detailRoot.classList.toggle('drop', onDetail && !!editor?.loaded);
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
    if (folders.takeDrop(event)) return;
    const file = event.dataTransfer?.files[0];
    if (!file) return;
    const onDetail = detailRoot.contains(event.target as Node);
    const picture = !isRomName(file.name) && (onDetail || file.type.startsWith('image/'));
    queue(() => (picture && editor.loaded ? replacePicture(file) : openRom(file)));
  });
}

// Picture folders and the space map follow every swap of the held ROM (a
// change, an undo, a redo, a ROM opened). The map is redrawn from the ROM
// held then, once the page is idle and the map in view, so a change shows
// first.
const folders = new FolderPanel($('#folders'), { editor: () => editor ?? null, queue, say, sayText });
const space = new SpacePanel($('#space'), () => {
  const l = editor?.loaded;
  return l ? { rom: l.current, slots: l.slots } : null;
});

function wirePanels(editor: Editor) {
  editor.onSwap((swap) => {
    folders.onSwap(swap);
    folders.enable(true);
    space.changed();
  });
  onLanguage(() => {
    folders.relabel();
    space.relabel();
  });
}

function storedLanguage(): string | null {
  try {
    return localStorage.getItem('orv-language');
  } catch {
    return null;
  }
}

// The detail's name and colour controls; every edit is one change of the history.
function wireEdits() {
  const requests = editRequests({
    core,
    held: () => (editor.loaded ? { rom: editor.loaded.current, slots: editor.loaded.slots } : null),
    commit(rom, slot, what, params) {
      const change = editor.commit(rom, { slot, what, params });
      if (change) {
        report.textContent = ''; // it told of an insertion before this change
        say('changes.done', () => ({ change: changeText(change) }));
      }
      return change !== null;
    },
    draw(records, indices) {
      const l = editor.loaded!;
      gallery.update(records, new Map(indices.map((i) => [i, gallery.picture(i)])));
      if (indices.includes(l.selected)) detail.show(records[l.selected], gallery.picture(l.selected));
    },
    reshow: () => editor.loaded && select(editor.loaded.selected),
    save(name, bytes) {
      saveFile(name, bytes, 'text/plain');
      say('app.saved', { name, bytes: count(bytes.length) });
    },
    say,
    queue: (work) => void queue(work),
  });
  editPanel = new EditPanel(detailRoot.querySelector('.replace')!, core, requests);
}

async function start() {
  const lang = chooseLanguage(navigator.languages ?? [navigator.language], storedLanguage());
  languageChoice.value = lang;
  if (lang !== language() || lang !== 'en') setLanguage(lang);
  wire();
  try {
    core = await OrvCore.load(fetch('orv_web.wasm'));
    editor = new Editor(core);
    editor.onSwap(showSwap);
    wirePanels(editor);
    gallery.build(core.slotCount); // before any ROM, so opening one only fills it
    core.language = language();
    onLanguage(() => {
      core.language = language();
    });
    wireEdits();
  } catch (error) {
    say('app.noCore', { error: error instanceof Error ? error.message : String(error) });
    romInput.disabled = true;
    return;
  }
  document.body.dataset.ready = 'true';
}

start();
