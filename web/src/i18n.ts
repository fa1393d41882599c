// The page's own texts in English and German. Static markup names its text
// by data-i18n (text), data-i18n-label (aria-label), data-i18n-placeholder
// and data-i18n-title; the rest asks t(). The core's messages come in the
// language asked of it.

export type Language = 'en' | 'de';

const en = {
  'app.openRom': 'Open ROM…',
  'app.romFile': 'ROM file',
  'app.downloads': 'Downloads',
  'app.downloadRom': 'Download ROM',
  'app.downloadBps': 'Download BPS patch',
  'app.downloadIps': 'Download IPS patch',
  'app.language': 'Language',
  'app.welcome': 'Open a ROM of Pokemon Gold or Silver (English or German), or drop it anywhere on this page. It stays in your browser.',
  'app.noCore': 'The page could not start its core: {error}',
  'app.failed': 'Something went wrong: {error}',
  'app.opened': 'Opened {name}: {sound} of {count} pictures readable.',
  'app.chooseFirst': 'Open a ROM and choose a picture first.',
  'app.replaced': '{file} went into {slot}: {bytes} bytes at {offset}.',
  'app.saved': 'Saved {name} ({bytes} bytes).',
  'app.replaceRom': 'The changes to {name} have not been downloaded. Open {other} instead and drop them?',
  'app.kept': '{name} and its changes are as they were.',
  'app.nothingChanged': 'Nothing changed: the ROM holds this already.',
  'app.leave': 'The changes have not been downloaded.',
  'info.title': 'Title',
  'info.edition': 'Edition',
  'info.crc32': 'CRC32',
  'info.free': 'Free bytes',
  'info.sha1': 'SHA-1',
  'info.header': 'Header checksum',
  'info.global': 'Global checksum',
  'info.unknown': 'unknown',
  'info.retail': 'unchanged retail',
  'info.right': 'right',
  'info.wrong': 'wrong (should be {value})',
  'info.runs': 'in {runs} runs of 64+ bytes',
  'info.English': 'English',
  'info.German': 'German',
  'gallery.pictures': 'Pictures',
  'gallery.filter': 'Filter by name or number',
  'gallery.filterHint': 'Filter: name or number',
  'gallery.shiny': 'Shiny colours',
  'gallery.empty': 'Every picture of the ROM appears here: Pokemon front and back, Unown forms and trainers.',
  'gallery.label': 'Gallery',
  'gallery.count': '{shown} of {count}',
  'slot.front': 'front',
  'slot.back': 'back',
  'slot.pokemon': 'Pokemon {number} {side}',
  'slot.unown': 'Unown {number} {side}',
  'slot.trainer': 'Trainer {number}',
  'detail.label': 'Selected picture',
  'detail.none': 'No picture selected',
  'detail.normal': 'Normal',
  'detail.shiny': 'Shiny',
  'detail.size': 'Size',
  'detail.stream': 'Stream bytes',
  'detail.offset': 'Offset',
  'detail.bank': 'Bank',
  'detail.colours': 'Colours',
  'detail.pixels': '{width} × {height} px ({tiles})',
  'detail.tiles': '{columns} × {rows} tiles',
  'detail.noPicture': 'no complete picture',
  'detail.unreadable': 'unreadable',
  'detail.swatches': 'normal {normal}; shiny {shiny}',
  'detail.and': 'and',
  'detail.replace': 'Replace picture…',
  'detail.replaceLabel': 'Replace picture',
  'detail.dropHint': 'or drop a picture here',
  'changes.label': 'Changes',
  'changes.undo': 'Undo',
  'changes.redo': 'Redo',
  'changes.none': 'No changes yet.',
  'changes.item': '{slot}: {what}, {bytes} bytes',
  'changes.undone': 'Undone: {change}',
  'changes.redone': 'Redone: {change}',
  'changes.saved': 'downloaded',
  'change.picture': 'picture replaced',
} as const;

export type TextKey = keyof typeof en;
export type Params = Record<string, string | number>;

const de: Record<TextKey, string> = {
  'app.openRom': 'ROM öffnen…',
  'app.romFile': 'ROM-Datei',
  'app.downloads': 'Herunterladen',
  'app.downloadRom': 'ROM herunterladen',
  'app.downloadBps': 'BPS-Patch herunterladen',
  'app.downloadIps': 'IPS-Patch herunterladen',
  'app.language': 'Sprache',
  'app.welcome': 'Öffnen Sie ein ROM von Pokemon Gold oder Silber (englisch oder deutsch), oder ziehen Sie es irgendwo auf diese Seite. Es bleibt in Ihrem Browser.',
  'app.noCore': 'Die Seite konnte ihren Kern nicht starten: {error}',
  'app.failed': 'Etwas ist schiefgegangen: {error}',
  'app.opened': '{name} geöffnet: {sound} von {count} Bildern lesbar.',
  'app.chooseFirst': 'Öffnen Sie zuerst ein ROM und wählen Sie ein Bild.',
  'app.replaced': '{file} ist jetzt {slot}: {bytes} Bytes bei {offset}.',
  'app.saved': '{name} gespeichert ({bytes} Bytes).',
  'app.replaceRom': 'Die Änderungen an {name} wurden nicht heruntergeladen. Stattdessen {other} öffnen und sie verwerfen?',
  'app.kept': '{name} und seine Änderungen sind unverändert.',
  'app.nothingChanged': 'Nichts geändert: Das ROM enthält dies bereits.',
  'app.leave': 'Die Änderungen wurden nicht heruntergeladen.',
  'info.title': 'Titel',
  'info.edition': 'Edition',
  'info.crc32': 'CRC32',
  'info.free': 'Freie Bytes',
  'info.sha1': 'SHA-1',
  'info.header': 'Header-Prüfsumme',
  'info.global': 'Globale Prüfsumme',
  'info.unknown': 'unbekannt',
  'info.retail': 'unverändertes Original',
  'info.right': 'richtig',
  'info.wrong': 'falsch (richtig wäre {value})',
  'info.runs': 'in {runs} Bereichen ab 64 Bytes',
  'info.English': 'Englisch',
  'info.German': 'Deutsch',
  'gallery.pictures': 'Bilder',
  'gallery.filter': 'Nach Name oder Nummer filtern',
  'gallery.filterHint': 'Filter: Name oder Nummer',
  'gallery.shiny': 'Shiny-Farben',
  'gallery.empty': 'Hier erscheint jedes Bild des ROMs: Pokemon von vorn und hinten, Icognito-Formen und Trainer.',
  'gallery.label': 'Galerie',
  'gallery.count': '{shown} von {count}',
  'slot.front': 'vorn',
  'slot.back': 'hinten',
  'slot.pokemon': 'Pokemon {number} {side}',
  'slot.unown': 'Icognito {number} {side}',
  'slot.trainer': 'Trainer {number}',
  'detail.label': 'Gewähltes Bild',
  'detail.none': 'Kein Bild gewählt',
  'detail.normal': 'Normal',
  'detail.shiny': 'Shiny',
  'detail.size': 'Größe',
  'detail.stream': 'Bytes gepackt',
  'detail.offset': 'Offset',
  'detail.bank': 'Bank',
  'detail.colours': 'Farben',
  'detail.pixels': '{width} × {height} Pixel ({tiles})',
  'detail.tiles': '{columns} × {rows} Kacheln',
  'detail.noPicture': 'kein vollständiges Bild',
  'detail.unreadable': 'nicht lesbar',
  'detail.swatches': 'normal {normal}; shiny {shiny}',
  'detail.and': 'und',
  'detail.replace': 'Bild ersetzen…',
  'detail.replaceLabel': 'Bild ersetzen',
  'detail.dropHint': 'oder ein Bild hierher ziehen',
  'changes.label': 'Änderungen',
  'changes.undo': 'Rückgängig',
  'changes.redo': 'Wiederholen',
  'changes.none': 'Noch keine Änderungen.',
  'changes.item': '{slot}: {what}, {bytes} Bytes',
  'changes.undone': 'Rückgängig gemacht: {change}',
  'changes.redone': 'Wiederholt: {change}',
  'changes.saved': 'heruntergeladen',
  'change.picture': 'Bild ersetzt',
};

const tables: Record<Language, Record<TextKey, string>> = { en, de };
let current: Language = 'en';
const listeners = new Set<() => void>();

export function language(): Language {
  return current;
}

// The core's language code for its messages: 0 English, 1 German.
export function coreLanguage(): number {
  return current === 'de' ? 1 : 0;
}

export function t(key: TextKey, params: Params = {}): string {
  return tables[current][key].replace(/\{(\w+)\}/g, (whole, name: string) =>
    name in params ? String(params[name]) : whole);
}

// A number as the language writes it: 1,234 or 1.234.
export function count(value: number): string {
  return value.toLocaleString(current === 'de' ? 'de-DE' : 'en');
}

// A choice made on the page wins; else the first of the browser's languages
// that is German or English; else English.
export function chooseLanguage(preferred: readonly string[], stored: string | null): Language {
  if (stored === 'en' || stored === 'de') return stored;
  for (const tag of preferred) {
    const primary = tag.toLowerCase().split('-')[0];
    if (primary === 'de' || primary === 'en') return primary;
  }
  return 'en';
}

// Every marked text of root in the language; then whoever draws texts of
// their own draws them again.
export function setLanguage(next: Language, root: ParentNode = document) {
  current = next;
  document.documentElement.lang = next;
  const each = (attribute: string, put: (element: HTMLElement, text: string) => void) => {
    for (const element of root.querySelectorAll<HTMLElement>(`[${attribute}]`))
      put(element, t(element.getAttribute(attribute) as TextKey));
  };
  each('data-i18n', (e, text) => { e.textContent = text; });
  each('data-i18n-label', (e, text) => e.setAttribute('aria-label', text));
  each('data-i18n-placeholder', (e, text) => e.setAttribute('placeholder', text));
  each('data-i18n-title', (e, text) => { e.title = text; });
  for (const listener of listeners) listener();
}

export function onLanguage(listener: () => void) {
  listeners.add(listener);
}

export const languageNames: Record<Language, string> = { en: 'English', de: 'Deutsch' };
