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
  'detail.pixels': '{width} × {height} px ({tiles})',
  'detail.tiles': '{columns} × {rows} tiles',
  'detail.noPicture': 'no complete picture',
  'detail.unreadable': 'unreadable',
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
  'changes.done': 'Done: {change}',
  'change.colours': 'colours {colours}',
  'change.shinyColours': 'shiny colours {colours}',
  'change.pal': 'colours from {file}',
  'change.shinyPal': 'shiny colours from {file}',
  'change.name': 'name {before} → {after}',
  'edit.name': 'Name',
  'edit.nameHint': 'Enter applies it, Esc restores it.',
  'edit.unownNote': 'All 26 Unown letters share one name and one pair of colours, those of Pokemon 201: a change here changes every letter.',
  'edit.normalPair': 'Normal colours',
  'edit.shinyPair': 'Shiny colours',
  'edit.trainerPair': 'Trainer colours',
  'edit.colour1': 'Colour 1',
  'edit.colour2': 'Colour 2',
  'edit.shinyColour1': 'Shiny colour 1',
  'edit.shinyColour2': 'Shiny colour 2',
  'edit.importPal': 'Import .pal…',
  'edit.importPalLabel': 'Import .pal',
  'edit.importShinyPalLabel': 'Import shiny .pal',
  'edit.exportPal': 'Export .pal',
  'edit.exportPalLabel': 'Export .pal',
  'edit.exportShinyPalLabel': 'Export shiny .pal',
  'edit.palTooLarge': 'The file "{name}" is too large for a palette file ({bytes} bytes); nothing was changed.',
  'picture.unreadable': 'The file "{name}" is not a picture this browser can read.',
  'picture.tooLarge': 'The picture "{name}" is too large to process.',
  // Picture folders, the space map, pictures downloaded.
  'folder.label': 'Picture folders',
  'folder.choose': 'Choose picture folder…',
  'folder.input': 'Picture folder',
  'folder.hint': 'or drop a folder on the page: flat names as extract-all writes them (pokemon-025-front.png) or the disassembly’s layout (pokemon/pikachu/front.png, in the folder or its gfx/).',
  'folder.openFirst': 'Open a ROM first, then choose a picture folder.',
  'folder.reading': 'Reading the folder {name} ({count} files)…',
  'folder.planned': 'The folder {name} would change {changed} of {total} files. Check the list, then apply it.',
  'folder.nothing': 'The folder {name} changes nothing: the ROM holds all of it already.',
  'folder.noFiles': 'The folder {name} holds no picture or .pal file named as extract-all names them. Nothing was changed.',
  'folder.refusedStatus': 'The folder {name} cannot go in as it is. Nothing was changed.',
  'folder.applied': 'Applied the folder {name}: {pictures} pictures, {palettes} palettes, {bytes} bytes changed.',
  'folder.stale': 'The ROM changed after the folder was planned. Choose the folder again.',
  'folder.heading': '{name} ({layout})',
  'folder.layout.flat': 'flat names',
  'folder.layout.pack': 'disassembly layout',
  'folder.layout.pack-gfx': 'disassembly layout in gfx/',
  'folder.showUnchanged': 'Show unchanged',
  'folder.anyShape': 'Any shape',
  'folder.anyShapeHint': 'Switch on “Any shape” for a ROM whose code was changed to draw other shapes (a front picture up to 9 × 9 tiles).',
  'folder.apply': 'Apply',
  'folder.discard': 'Discard',
  'folder.close': 'Close',
  'folder.done': 'Applied:',
  'outcome.unchanged': 'unchanged',
  'outcome.same': 'repeated',
  'outcome.in-place': 'in place',
  'outcome.moved': 'moved',
  'outcome.recoloured': 'recoloured',
  'outcome.palette-set': 'palette set',
  'outcome.refused': 'refused',
  'outcome.ignored': 'left out',
  'outcome.note': 'note',
  'change.folder': 'Picture folder: {pictures} pictures, {palettes} palettes',
  'pictures.layout': 'Download pictures as',
  'pictures.flat': 'flat names (pokemon-025-front.png)',
  'pictures.pret': 'disassembly layout (pokemon/pikachu/front.png, .pal files)',
  'pictures.download': 'Download pictures',
  'pictures.saved': 'Saved {name} ({files} files).',
  'pictures.skipped': 'Saved {name} ({files} files); {count} could not be read, the first: {why}',
  'space.label': 'Space map',
  'space.banks': 'Banks',
  'space.legendFree': 'free (runs of 64+ bytes)',
  'space.legendPictures': 'picture bytes',
  'space.legendOther': 'other data',
  'space.empty': 'The ROM’s banks appear here once a ROM is open.',
  'space.total': 'All banks: pictures {pictures}, picture bytes {pictureBytes}, free runs {runs}, free bytes {free} (runs of {min}+ bytes)',
  'space.bank': 'Bank {bank}: pictures {pictures}, picture bytes {pictureBytes}, free runs {runs}, free bytes {free}',
  'space.bankTitle': 'Bank {bank} ({from}–{to})',
  'space.largest': 'largest run {length} bytes at {offset}',
  'space.noRun': 'no free run',
  'space.chooseBank': 'Choose a bank to see its free runs, its pictures and which pictures would fit there.',
  'space.runs': 'Free runs',
  'space.run': '{offset}: {length} bytes',
  'space.holds': 'Pictures starting here (offset, stream bytes)',
  'space.none': 'none',
  'space.fits': 'Would fit the run at {offset} ({length} bytes): {count} of {total} pictures, by their stream bytes',
  'space.fitsNone': 'No free run here: no picture fits.',
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
  'detail.pixels': '{width} × {height} Pixel ({tiles})',
  'detail.tiles': '{columns} × {rows} Kacheln',
  'detail.noPicture': 'kein vollständiges Bild',
  'detail.unreadable': 'nicht lesbar',
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
  'changes.done': 'Geändert: {change}',
  'change.colours': 'Farben {colours}',
  'change.shinyColours': 'Shiny-Farben {colours}',
  'change.pal': 'Farben aus {file}',
  'change.shinyPal': 'Shiny-Farben aus {file}',
  'change.name': 'Name {before} → {after}',
  'edit.name': 'Name',
  'edit.nameHint': 'Enter übernimmt ihn, Esc stellt ihn wieder her.',
  'edit.unownNote': 'Alle 26 Icognito-Formen teilen sich einen Namen und ein Farbpaar, die von Pokemon 201: Eine Änderung hier ändert jede Form.',
  'edit.normalPair': 'Normale Farben',
  'edit.shinyPair': 'Shiny-Farben',
  'edit.trainerPair': 'Trainerfarben',
  'edit.colour1': 'Farbe 1',
  'edit.colour2': 'Farbe 2',
  'edit.shinyColour1': 'Shiny-Farbe 1',
  'edit.shinyColour2': 'Shiny-Farbe 2',
  'edit.importPal': '.pal importieren…',
  'edit.importPalLabel': '.pal importieren',
  'edit.importShinyPalLabel': 'Shiny-.pal importieren',
  'edit.exportPal': '.pal exportieren',
  'edit.exportPalLabel': '.pal exportieren',
  'edit.exportShinyPalLabel': 'Shiny-.pal exportieren',
  'edit.palTooLarge': 'Die Datei "{name}" ist für eine Palettendatei zu groß ({bytes} Bytes); es wurde nichts geändert.',
  'picture.unreadable': 'Die Datei "{name}" ist kein Bild, das dieser Browser lesen kann.',
  'picture.tooLarge': 'Das Bild "{name}" ist zu groß zum Verarbeiten.',
  // Picture folders, the space map, pictures downloaded.
  'folder.label': 'Bilder als Dateien',
  'folder.choose': 'Bilderordner wählen…',
  'folder.input': 'Bilderordner',
  'folder.hint': 'oder einen Ordner auf die Seite ziehen: flache Namen, wie extract-all sie schreibt (pokemon-025-front.png), oder die Ordnung der Disassembly (pokemon/pikachu/front.png, im Ordner oder in seinem gfx/).',
  'folder.openFirst': 'Öffnen Sie zuerst ein ROM und wählen Sie dann einen Bilderordner.',
  'folder.reading': 'Der Ordner {name} wird gelesen ({count} Dateien)…',
  'folder.planned': 'Der Ordner {name} würde {changed} von {total} Dateien ändern. Prüfen Sie die Liste und übernehmen Sie ihn dann.',
  'folder.nothing': 'Der Ordner {name} ändert nichts: Das ROM enthält schon alles.',
  'folder.noFiles': 'Der Ordner {name} enthält kein Bild und keine .pal-Datei mit den Namen, die extract-all vergibt. Nichts wurde geändert.',
  'folder.refusedStatus': 'Der Ordner {name} kann so nicht übernommen werden. Nichts wurde geändert.',
  'folder.applied': 'Ordner {name} übernommen: {pictures} Bilder, {palettes} Paletten, {bytes} Bytes geändert.',
  'folder.stale': 'Das ROM hat sich geändert, seit der Ordner geplant wurde. Wählen Sie den Ordner erneut.',
  'folder.heading': '{name} ({layout})',
  'folder.layout.flat': 'flache Namen',
  'folder.layout.pack': 'Ordnung der Disassembly',
  'folder.layout.pack-gfx': 'Ordnung der Disassembly in gfx/',
  'folder.showUnchanged': 'Unveränderte zeigen',
  'folder.anyShape': 'Jede Form',
  'folder.anyShapeHint': 'Schalten Sie „Jede Form“ ein für ein ROM, dessen Code andere Formen zeichnet (ein Frontbild bis 9 × 9 Kacheln).',
  'folder.apply': 'Übernehmen',
  'folder.discard': 'Verwerfen',
  'folder.close': 'Schließen',
  'folder.done': 'Übernommen:',
  'outcome.unchanged': 'unverändert',
  'outcome.same': 'wiederholt',
  'outcome.in-place': 'am alten Ort',
  'outcome.moved': 'verschoben',
  'outcome.recoloured': 'umgefärbt',
  'outcome.palette-set': 'Palette gesetzt',
  'outcome.refused': 'abgelehnt',
  'outcome.ignored': 'ausgelassen',
  'outcome.note': 'Hinweis',
  'change.folder': 'Bilderordner: {pictures} Bilder, {palettes} Paletten',
  'pictures.layout': 'Bilder herunterladen als',
  'pictures.flat': 'flache Namen (pokemon-025-front.png)',
  'pictures.pret': 'Ordnung der Disassembly (pokemon/pikachu/front.png, .pal-Dateien)',
  'pictures.download': 'Bilder herunterladen',
  'pictures.saved': '{name} gespeichert ({files} Dateien).',
  'pictures.skipped': '{name} gespeichert ({files} Dateien); {count} waren nicht lesbar, die erste: {why}',
  'space.label': 'Speicherkarte',
  'space.banks': 'Bänke',
  'space.legendFree': 'frei (Bereiche ab 64 Bytes)',
  'space.legendPictures': 'Bild-Bytes',
  'space.legendOther': 'andere Daten',
  'space.empty': 'Die Bänke des ROMs erscheinen hier, sobald ein ROM geöffnet ist.',
  'space.total': 'Alle Bänke: Bilder {pictures}, Bild-Bytes {pictureBytes}, freie Bereiche {runs}, freie Bytes {free} (Bereiche ab {min} Bytes)',
  'space.bank': 'Bank {bank}: Bilder {pictures}, Bild-Bytes {pictureBytes}, freie Bereiche {runs}, freie Bytes {free}',
  'space.bankTitle': 'Bank {bank} ({from}–{to})',
  'space.largest': 'größter Bereich {length} Bytes bei {offset}',
  'space.noRun': 'kein freier Bereich',
  'space.chooseBank': 'Wählen Sie eine Bank, um ihre freien Bereiche, ihre Bilder und die Bilder zu sehen, die dort Platz hätten.',
  'space.runs': 'Freie Bereiche',
  'space.run': '{offset}: {length} Bytes',
  'space.holds': 'Bilder, die hier beginnen (Offset, Bytes gepackt)',
  'space.none': 'keine',
  'space.fits': 'Hätten Platz im Bereich bei {offset} ({length} Bytes): {count} von {total} Bildern, nach ihren gepackten Bytes',
  'space.fitsNone': 'Kein freier Bereich hier: Kein Bild hat Platz.',
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

// A number as the language writes it: 1,234 or 1.234. One formatter per
// language: toLocaleString makes a new one at every call.
const numberFormats: Record<Language, Intl.NumberFormat> = {
  en: new Intl.NumberFormat('en'),
  de: new Intl.NumberFormat('de-DE'),
};
export function count(value: number): string {
  return numberFormats[current].format(value);
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
