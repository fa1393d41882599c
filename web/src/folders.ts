// Picture folders: one chosen or dropped, planned by the core as insert-all
// plans it, listed, and applied as one change; every picture of the ROM
// downloaded as a zip in extract-all's names.

import type { Editor, Swap } from './editor.ts';
import { count, t, type Params, type TextKey } from './i18n.ts';
import type { ExtractLayout, FolderEntry, FolderItem, FolderLayout, FolderPlan, HeldRom } from './orv.ts';
import { decodePictureFile } from './picture_file.ts';
import { fourColourPng } from './png.ts';
import { saveFile } from './save.ts';
import { zip, type ZipFile } from './zip.ts';

export interface PageContext {
  editor(): Editor | null;
  queue(work: () => Promise<void>): Promise<void>;
  say(key: TextKey, params?: Params): void;
  sayText(text: string): void;
}

// A file or folder of the chosen folder, before the core says what to read.
interface Listed {
  path: string; // below the chosen folder
  file: File | null; // null for a folder
}

interface Pending {
  folderName: string;
  layout: FolderLayout;
  entries: FolderEntry[];
  plan: FolderPlan;
  rom: HeldRom; // the ROM it was planned on
  applied: boolean;
}

// Files read at once: enough to keep the decoder busy, few enough to keep memory flat.
const DECODE_AT_ONCE = 16;

const $ = <T extends HTMLElement>(root: ParentNode, selector: string) => root.querySelector<T>(selector)!;

function step(name: string) {
  performance.mark(name);
}

// The frame that shows what was done, then the measure from name:start.
async function measureTo(name: string) {
  await new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
  performance.measure(name, `${name}:start`);
}

function entryFile(entry: FileSystemFileEntry): Promise<File> {
  return new Promise((done, fail) => entry.file(done, fail));
}

// Every file and folder below a dropped folder.
async function walk(dir: FileSystemDirectoryEntry, prefix: string, out: Listed[]) {
  const reader = dir.createReader();
  for (;;) {
    const batch = await new Promise<FileSystemEntry[]>((done, fail) => reader.readEntries(done, fail));
    if (batch.length === 0) return;
    for (const entry of batch) {
      const path = prefix ? `${prefix}/${entry.name}` : entry.name;
      if (entry.isDirectory) {
        out.push({ path, file: null });
        await walk(entry as FileSystemDirectoryEntry, path, out);
      } else if (entry.isFile) out.push({ path, file: await entryFile(entry as FileSystemFileEntry) });
    }
  }
}

export class FolderPanel {
  private readonly input: HTMLInputElement;
  private readonly planRoot: HTMLElement;
  private readonly list: HTMLUListElement;
  private readonly applyButton: HTMLButtonElement;
  private readonly discardButton: HTMLButtonElement;
  private readonly showUnchanged: HTMLInputElement;
  private readonly anyShape: HTMLInputElement;
  private readonly downloadButton: HTMLButtonElement;
  private pending: Pending | null = null;
  private stale = false;

  constructor(private readonly root: HTMLElement, private readonly page: PageContext) {
    this.input = $(root, '#folder-input');
    this.planRoot = $(root, '#folder-plan');
    this.list = $(root, '#folder-list');
    this.applyButton = $(root, '#folder-apply');
    this.discardButton = $(root, '#folder-discard');
    this.showUnchanged = $(root, '#show-unchanged');
    this.anyShape = $(root, '#any-shape');
    this.downloadButton = $(root, '#download-pictures');
    this.input.addEventListener('change', () => {
      const files = Array.from(this.input.files ?? []);
      this.input.value = '';
      if (files.length) page.queue(() => this.fromInput(files));
    });
    this.applyButton.addEventListener('click', () => page.queue(() => this.apply()));
    this.discardButton.addEventListener('click', () => this.discard());
    this.showUnchanged.addEventListener('change', () => this.render());
    this.anyShape.addEventListener('change', () => {
      const p = this.pending;
      if (p && !p.applied) page.queue(() => this.plan(p.folderName, p.layout, p.entries, true));
    });
    this.downloadButton.addEventListener('click', () => page.queue(async () => this.downloadPictures()));
  }

  enable(on: boolean) {
    this.input.disabled = !on;
    if (on) this.input.parentElement!.removeAttribute('aria-disabled');
    else this.input.parentElement!.setAttribute('aria-disabled', 'true');
    this.downloadButton.disabled = !on;
  }

  // A folder dropped anywhere on the page: read at once (the drop's items
  // last only as long as the event). False when the drop holds no folder.
  takeDrop(event: DragEvent): boolean {
    const item = event.dataTransfer?.items[0];
    const entry = item?.kind === 'file' ? item.webkitGetAsEntry() : null;
    if (!entry?.isDirectory) return false;
    const listed: Listed[] = [];
    const walked = walk(entry as FileSystemDirectoryEntry, '', listed);
    this.page.queue(async () => {
      await walked;
      await this.fromListed(entry.name, listed);
    });
    return true;
  }

  // Every swap of the held ROM: a plan made on another ROM is dropped.
  onSwap(swap: Swap) {
    const p = this.pending;
    if (p && !p.applied && swap.loaded.current !== p.rom) {
      p.plan.rom?.free();
      this.pending = null;
      this.stale = true;
      this.render();
    }
  }

  relabel() {
    this.render();
  }

  private async fromInput(files: File[]) {
    // webkitRelativePath: "<chosen folder>/<path below it>".
    const folderName = files[0].webkitRelativePath.split('/')[0] || '';
    const listed = files.map((file) => ({ path: file.webkitRelativePath.split('/').slice(1).join('/') || file.name, file }));
    await this.fromListed(folderName, listed);
  }

  private async fromListed(folderName: string, listed: Listed[]) {
    const editor = this.page.editor();
    const l = editor?.loaded;
    if (!l) {
      this.page.say('folder.openFirst');
      return;
    }
    performance.mark('orv-folder:start');
    this.page.say('folder.reading', { name: folderName, count: count(listed.length) });
    const rom = l.current;
    const { read, layout } = rom.folderNeeds(listed.map((e) => ({ path: e.path, kind: e.file ? 'file' : 'folder' })));
    const entries: FolderEntry[] = listed.map((e) => ({ path: e.path, kind: e.file ? 'file' : 'folder' }));
    const shown = (path: string) => `${folderName}/${path}`;
    const jobs = listed.map((e, i) => ({ e, i })).filter(({ i }) => read[i] !== 'none');
    try {
      // A few readers at once, each taking the next file as it finishes one.
      let next = 0;
      const reader = async () => {
        while (next < jobs.length) {
          const { e, i } = jobs[next++];
          const file = e.file!;
          if (read[i] === 'picture') entries[i] = { path: e.path, kind: 'picture', picture: await decodePictureFile(file, shown(e.path)) };
          else if (read[i] === 'text') entries[i] = { path: e.path, kind: 'text', text: await file.text() };
          else entries[i] = { path: e.path, kind: 'bytes', bytes: new Uint8Array(await file.arrayBuffer()) };
        }
      };
      await Promise.all(Array.from({ length: DECODE_AT_ONCE }, reader));
    } catch (error) {
      // A file that does not decode: nothing is planned, the last plan goes.
      this.drop();
      this.render();
      throw error;
    }
    step('orv-folder:read');
    await this.plan(folderName, layout, entries, false);
    await measureTo('orv-folder');
  }

  private async plan(folderName: string, layout: FolderLayout, entries: FolderEntry[], again: boolean) {
    const l = this.page.editor()?.loaded;
    if (!l) return;
    const rom = l.current;
    const plan = rom.planFolder(entries, folderName, { anyShape: this.anyShape.checked });
    step('orv-folder:plan');
    this.drop();
    this.stale = false;
    this.pending = { folderName, layout, entries, plan, rom, applied: false };
    this.render();
    const r = plan.report;
    if (!r.ok) this.page.say('folder.refusedStatus', { name: folderName });
    else if (!r.total) this.page.say('folder.noFiles', { name: folderName });
    else if (!r.bytesChanged) this.page.say('folder.nothing', { name: folderName });
    else this.page.say('folder.planned', { name: folderName, changed: r.changed ?? 0, total: r.total ?? 0 });
    if (!again) this.planRoot.scrollIntoView({ block: 'nearest' });
  }

  private async apply() {
    const p = this.pending;
    const editor = this.page.editor();
    if (!p || p.applied || !p.plan.rom || !editor?.loaded || editor.loaded.current !== p.rom) return;
    performance.mark('orv-apply:start');
    const r = p.plan.report;
    p.applied = true;
    p.entries = []; // the decoded pictures are not planned again
    const rom = p.plan.rom;
    p.plan.rom = null; // the editor holds it now
    const change = editor.commit(rom, { slot: null, what: 'change.folder',
      params: { pictures: r.pictures ?? 0, palettes: r.palettes ?? 0 } });
    this.render();
    if (change) this.page.say('folder.applied', { name: p.folderName, pictures: r.pictures ?? 0,
      palettes: r.palettes ?? 0, bytes: count(change.bytes) });
    else this.page.say('folder.nothing', { name: p.folderName });
    await measureTo('orv-apply');
  }

  private discard() {
    this.drop();
    this.stale = false;
    this.render();
  }

  private drop() {
    this.pending?.plan.rom?.free();
    this.pending = null;
  }

  private render() {
    const p = this.pending;
    const stale = $(this.root, '#folder-stale');
    stale.hidden = !this.stale;
    stale.textContent = this.stale ? t('folder.stale') : '';
    this.planRoot.hidden = !p;
    if (!p) {
      this.list.replaceChildren();
      return;
    }
    const r = p.plan.report;
    $(this.root, '#folder-plan-title').textContent = t('folder.heading', { name: p.folderName,
      layout: t(`folder.layout.${p.layout}`) });
    const message = $(this.root, '#folder-message');
    message.hidden = r.ok;
    message.textContent = r.ok ? '' : [r.message, r.shapeOnly ? t('folder.anyShapeHint') : ''].filter(Boolean).join(' ');
    const summary = $(this.root, '#folder-summary');
    summary.textContent = r.ok ? (p.applied ? `${t('folder.done')} ` : '') + (r.summary ?? '') : '';
    summary.hidden = !r.ok;

    const tally = new Map<string, number>();
    const rows: HTMLLIElement[] = [];
    const row = (outcome: string, name: string, text: string) => {
      tally.set(outcome, (tally.get(outcome) ?? 0) + 1);
      if (outcome === 'unchanged' && !this.showUnchanged.checked) return;
      const li = document.createElement('li');
      li.className = `outcome-${outcome}`;
      const tag = document.createElement('span');
      tag.className = 'tag';
      tag.textContent = t(`outcome.${outcome}` as TextKey);
      const file = document.createElement('span');
      file.className = 'name';
      file.textContent = name;
      const why = document.createElement('span');
      why.className = 'why';
      why.textContent = text;
      li.append(tag, file, why);
      rows.push(li);
    };
    const byOutcome = (item: FolderItem) => row(item.outcome, item.name, item.outcome === 'unchanged' ? '' : item.text);
    r.items.filter((item) => item.outcome === 'refused').forEach(byOutcome);
    r.items.filter((item) => item.outcome !== 'refused').forEach(byOutcome);
    for (const line of r.unused) {
      const at = line.indexOf(': ');
      row('ignored', line.slice(0, at), line.slice(at + 2));
    }
    for (const note of r.notes) row('note', '', note.replace(/^note: /, ''));
    this.list.replaceChildren(...rows);
    const order = ['refused', 'moved', 'in-place', 'recoloured', 'palette-set', 'same', 'unchanged', 'ignored', 'note'];
    $(this.root, '#folder-counts').textContent = order.filter((o) => tally.get(o))
      .map((o) => `${t(`outcome.${o}` as TextKey)} ${count(tally.get(o)!)}`).join(' · ');
    this.applyButton.disabled = !r.ok || !r.bytesChanged || p.applied;
    this.applyButton.hidden = p.applied;
    this.discardButton.textContent = t(p.applied ? 'folder.close' : 'folder.discard');
  }

  private downloadPictures() {
    const l = this.page.editor()?.loaded;
    if (!l) return;
    const layout = ($(this.root, 'input[name="picture-layout"]:checked') as HTMLInputElement).value as ExtractLayout;
    const files = l.current.extractFiles(layout);
    const encoder = new TextEncoder();
    const zipped: ZipFile[] = [];
    const skipped = files.filter((f) => f.type === 'skipped');
    for (const f of files) {
      if (f.type === 'picture') zipped.push({ name: f.path, bytes: fourColourPng(f.width, f.height, f.shades, f.colours) });
      else if (f.type === 'palette') zipped.push({ name: f.path, bytes: encoder.encode(f.text) });
    }
    const base = l.base.fileName.replace(/\.[^.]*$/, '') || 'rom';
    const name = `${base}-${layout === 'pret' ? 'gfx' : 'pictures'}.zip`;
    saveFile(name, zip(zipped), 'application/zip');
    if (skipped.length) {
      const first = skipped[0];
      this.page.say('pictures.skipped', { name, files: count(zipped.length), count: skipped.length,
        why: first.type === 'skipped' ? `${first.path}: ${first.why}` : '' });
    } else this.page.say('pictures.saved', { name, files: count(zipped.length) });
  }
}
