#include "messages_de.h"

#include <cstdio>

#include "system_error_text.h"
#include "text_format.h"

namespace orv::de {

namespace {

using std::to_string;

const char* fieldText(NumberField field)
{
    switch (field) {
    case NumberField::Offset: return "Der Offset";
    case NumberField::PokemonNumber: return "Die Pokemonnummer";
    case NumberField::UnownIndex: return "Der Unown-Index";
    case NumberField::TrainerNumber: return "Die Trainernummer";
    case NumberField::NameLength: return "Die Namenslänge";
    }
    return "Der Wert";
}

// In the accusative, as TooShort names it.
const char* partText(RomPart part)
{
    switch (part) {
    case RomPart::PictureData: return "die Bilddaten";
    case RomPart::PointerTable: return "die Zeigertabelle";
    case RomPart::Palette: return "die Palette";
    case RomPart::Name: return "den Namen";
    case RomPart::SizeByte: return "die Größenangabe";
    case RomPart::Header: return "den Kopf des Roms";
    case RomPart::NameTablePointer: return "den Zeiger auf die Namenstabelle";
    }
    return "die Daten";
}

const char* faultText(StreamFault fault)
{
    switch (fault) {
    case StreamFault::BadCopySource: return "Ein Kopierbefehl liest außerhalb der bisher entpackten Daten.";
    case StreamFault::NoEndMarker: return "Vor dem Dateiende fehlt das Endezeichen.";
    case StreamFault::OutputFull: return "Die entpackten Daten wären größer als ein Bild von 32767 Pixeln.";
    case StreamFault::TooLong: return "Die Daten sind zu lang.";
    case StreamFault::ShorterThanTile: return "Die entpackten Daten sind kürzer als eine Kachel (16 Bytes).";
    case StreamFault::Corrupt: return "Die Daten sind fehlerhaft.";
    }
    return "";
}

std::string file(std::string_view path) { return "Die Datei " + Quoted(path); }

// A pair's 4 bytes in file order, as PaletteText writes them.
std::string pairText(int64_t bytes)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(bytes & 0xFFFFFFFF));
    return text;
}
std::string system(int code) { return "(" + SystemErrorGerman(code) + ")"; }
const char* const kNothingWritten = " Es wurde nichts geschrieben.";

// "als Frontpic eines Pokemon", as the shape rules name a slot's kind.
const char* slotWords(const rom::Slot& slot)
{
    switch (rom::KindOf(slot)) {
    case rom::SlotKind::PokemonFront: return "als Frontpic eines Pokemon";
    case rom::SlotKind::PokemonBack: return "als Backpic eines Pokemon";
    case rom::SlotKind::UnownFront: return "als Frontpic eines Unown";
    case rom::SlotKind::UnownBack: return "als Backpic eines Unown";
    case rom::SlotKind::Trainer: break;
    }
    return "als Trainerbild";
}

// "40 x 40, 48 x 48 oder 56 x 56".
std::string shapeList(const std::vector<rom::PictureShape>& shapes)
{
    std::string list;
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (i > 0)
            list += i + 1 < shapes.size() ? ", " : " oder ";
        list += to_string(shapes[i].width) + " x " + to_string(shapes[i].height);
    }
    return list;
}

} // namespace

std::string RegionText(Region region, const rom::Slot& slot)
{
    switch (region) {
    case Region::Header: return "den Kopf des Roms";
    case Region::PokemonPointers: return "die Zeigertabelle der Pokemonbilder";
    case Region::UnownPointers: return "die Zeigertabelle der Unown-Bilder";
    case Region::TrainerPointers: return "die Zeigertabelle der Trainerbilder";
    case Region::PokemonPalettes: return "die Palettentabelle der Pokemon";
    case Region::TrainerPalettes: return "die Palettentabelle der Trainer";
    case Region::BaseData: return "die Datensätze der Pokemon";
    case Region::NameTable: return "die Namenstabelle der Pokemon";
    case Region::Picture: break;
    }
    const std::string side = slot.back ? " (Backpic)" : " (Frontpic)";
    switch (slot.kind) {
    case rom::Slot::Kind::Trainer: return "das Bild von Trainer " + to_string(slot.number);
    case rom::Slot::Kind::Unown: return "das Bild von Unown " + to_string(slot.number) + side;
    case rom::Slot::Kind::Pokemon: break;
    }
    return "das Bild von Pokemon " + to_string(slot.number) + side;
}

std::string Text(const Error& e, std::string_view path)
{
    switch (e.kind) {
    case ErrorKind::OpenFailed: return file(path) + " konnte nicht geöffnet werden " + system(e.systemCode) + ".";
    case ErrorKind::LockOpenFailed: return "Error: " + to_string(e.systemCode);
    case ErrorKind::ReadFailed: return file(path) + " konnte nicht gelesen werden " + system(e.systemCode) + ".";
    case ErrorKind::TooLarge:
        return file(path) + " ist mit " + to_string(e.value) + " Bytes zu groß für ein Rom (höchstens " +
               to_string(e.high) + " Bytes).";
    case ErrorKind::Busy:
        return file(path) + " wird gerade von einem anderen Orvista geändert. Es wurde nichts geschrieben; bitte "
                            "später noch einmal versuchen.";
    case ErrorKind::FileChanged: return file(path) + " hat sich seit dem Lesen verändert, es wurde nichts geschrieben.";
    case ErrorKind::TemporaryFailed:
        return "Neben der Datei " + Quoted(path) + " kann keine temporäre Datei angelegt werden " +
               system(e.systemCode) + "." + kNothingWritten;
    case ErrorKind::WriteFailed: {
        static const std::pair<const char*, const char*> steps[] = {
            {"write", "Schreiben"}, {"flush", "Sichern auf den Datenträger"}, {"close", "Schließen"},
            {"rename", "Umbenennen"}};
        std::string step = e.text;
        for (const auto& [english, german] : steps)
            if (e.text == english)
                step = german;
        return file(path) + " konnte nicht geschrieben werden (" + step + ", " + SystemErrorGerman(e.systemCode) +
               "). Sie ist unverändert.";
    }
    case ErrorKind::TargetMissing:
        return file(path) + " existiert nicht. Bilder können nur in existierende Dateien insertet werden.";
    case ErrorKind::TargetReadOnly:
        return file(path) + " ist schreibgeschütz. Orvista kann nicht in schreibgeschützte Dateien schreiben.";
    case ErrorKind::TargetLinkLoop:
        return Quoted(path) + " ist eine Schleife symbolischer Links " + system(e.systemCode) +
               ". Bilder können nur in existierende Dateien insertet werden.";
    case ErrorKind::TargetFolder: return Quoted(path) + " ist ein Ordner. Bilder können nur in Dateien insertet werden.";
    case ErrorKind::TargetNotRegular:
        return Quoted(path) + " ist keine gewöhnliche Datei, sondern ein Gerät, eine Pipe oder ein Socket. Bilder "
                              "können nur in Dateien insertet werden.";
    case ErrorKind::OwnerNotKept:
    case ErrorKind::GroupNotKept:
    case ErrorKind::AttributesNotKept: {
        std::string what;
        if (e.kind == ErrorKind::OwnerNotKept)
            what = "gehört einem anderen Benutzer (Benutzer " + e.text + "); ersetzt gehörte sie Ihnen";
        else if (e.kind == ErrorKind::GroupNotKept)
            what = "gehört der Gruppe " + e.text + ", der Sie nicht angehören; ersetzt verlöre sie diese Gruppe";
        else
            what = "hat erweiterte Attribute oder ACLs, die ihr Ersatz nicht bekommen kann (" +
                   (e.text.empty() ? "" : "Attribut " + Quoted(e.text) + ", ") + SystemErrorGerman(e.systemCode) + ")";
        return file(path) + " " + what +
               ". Es wurde nichts geschrieben; als Patch (orvista-cli mit --patch) lässt sich die Änderung weiterhin "
               "schreiben.";
    }
    case ErrorKind::TargetTooSmall: return "Datei zu klein für Bilddaten";
    case ErrorKind::TooShort:
        return file(path) + " ist zu kurz für " + partText(e.part) + " (benötigt bis " + HexGerman(e.high) +
               ", Dateilänge " + HexGerman(e.value) + ").";
    case ErrorKind::LanguageUnknown: return "Fehler: Sprache des Roms konnte nicht erkannt werden.";
    case ErrorKind::NotThisGameLanguage:
    case ErrorKind::NotThisGameNoPicture:
        return file(path) + " ist kein Rom von Pokemon Gold oder Silber (englisch oder deutsch): " +
               (e.kind == ErrorKind::NotThisGameLanguage ? "Das Sprachbyte ihres Kopfes ist weder D noch E."
                                                         : "Kein Bildzeiger führt zu einem Bild.");
    case ErrorKind::OutOfRange:
        return std::string(fieldText(e.field)) + " " + to_string(e.value) +
               " liegt außerhalb des erlaubten Bereichs von " + to_string(e.low) + " bis " + to_string(e.high) + ".";
    case ErrorKind::CodecMissing: return "Die Bibliothek libvexlib.so konnte nicht geladen werden: " + e.text;
    case ErrorKind::NoPicture:
        return "An Offset " + HexGerman(e.offset) + " der Datei " + Quoted(path) +
               " liegen keine vollständigen Bilddaten. " + faultText(e.fault);
    case ErrorKind::TooNarrow:
        return std::string(e.high ? "Die angegebene Breite " : "Die angegebene Höhe ") + to_string(e.value) +
               " ist kleiner als 8 Pixel.";
    case ErrorKind::PictureTooLarge:
        return "Das Bild wäre mit " + to_string(e.low) + " x " + to_string(e.high) +
               " Pixeln größer als 32767 Pixel.";
    case ErrorKind::NoData: return "Es liegen keine Bilddaten zum Schreiben vor.";
    case ErrorKind::Unreachable:
        return "Der Offset " + HexGerman(e.offset) +
               " kann von keinem Bildzeiger erreicht werden (in Bank 0, in den Bänken &H13 und &H14 und ab "
               "&H400000 nicht möglich). Bitte einen anderen Offset wählen.";
    case ErrorKind::PastBank:
        return "Die Bilddaten (" + to_string(e.value) + " Bytes ab " + HexGerman(e.offset) +
               ") reichen über das Ende der Bank " + HexGerman(e.high) +
               " hinaus; das Spiel liest ein Bild nur innerhalb einer Bank. Bitte einen anderen Offset wählen.";
    case ErrorKind::InTheWay:
        return "Die Bilddaten (" + to_string(e.value) + " Bytes ab " + HexGerman(e.offset) + ") würden " +
               RegionText(e.region, e.slot) + " (" + HexGerman(e.low) + " bis " + HexGerman(e.high - 1) +
               ") überschreiben." + kNothingWritten;
    case ErrorKind::NotAStream:
        return std::string("Die Bilddaten sind kein vollständiger Datenstrom, den das Spiel lesen kann.") +
               kNothingWritten;
    case ErrorKind::SizeMismatch:
        return "Die Bildgröße " + to_string(e.low) + " x " + to_string(e.high) + " passt nicht zu den Bilddaten (" +
               to_string(e.value) + " Kacheln)." + kNothingWritten;
    case ErrorKind::OldPictureBroken:
        return "Das alte Bild an Offset " + HexGerman(e.offset) +
               " kann nicht gelöscht werden, weil dort keine vollständigen Bilddaten liegen. Es wurde nichts "
               "geschrieben; ohne \"Delete Original Picture\" ist das Einfügen möglich.";
    case ErrorKind::NoRoom:
        return "Kein freier Platz für " + to_string(e.value) + " Bytes hinter Offset " + HexGerman(e.offset) +
               " gefunden." + kNothingWritten;
    case ErrorKind::BadShape:
        return "Das Bild ist " + to_string(e.low) + " x " + to_string(e.high) + " Pixel groß; " + slotWords(e.slot) +
               " zeichnet das Spiel nur Bilder von " + shapeList(e.shapes) + " Pixeln richtig" +
               (e.value ? ", der Größe, die die gemeinsame Größenangabe aller 26 Unown jetzt hält." : ".");
    case ErrorKind::UnownRecord:
        return "Der Datensatz an Offset " + HexGerman(e.offset) + " gehört nicht zu Pokemon 201 (gefunden: " +
               to_string(e.value) + "), daher ist unbekannt, in welcher Größe das Spiel die Frontpics der Unown zeichnet.";
    case ErrorKind::TooManyTiles:
        return "Das Bild passt mit " + to_string(e.low) + " x " + to_string(e.high) +
               " Kacheln nicht in die Größenangabe (1 bis 9 Kacheln je Richtung)." + kNothingWritten;
    case ErrorKind::EmptyName:
        return "Der neue Name ist leer. Ein Pokemon ohne Namen wird nicht geschrieben; bitte einen Namen eingeben.";
    case ErrorKind::NameUnencodable:
        return "Der Name " + Quoted(e.text) + " enthält das Zeichen " + Quoted(e.other) +
               ", das im Spiel nicht darstellbar ist.";
    case ErrorKind::NameTooLong:
        return "Der Name " + Quoted(e.text) + " braucht " + to_string(e.value) +
               " Bytes, im Rom ist aber nur Platz für " + to_string(e.high) + ".";
    case ErrorKind::IpsTooLarge:
        return "Ein IPS-Patch erreicht nur die ersten 16 MiB, das Rom hat aber " + to_string(e.value) +
               " Bytes. Bitte einen BPS-Patch schreiben.";
    case ErrorKind::IpsShortens:
        return "Ein IPS-Patch kann eine Datei nicht kürzen (von " + to_string(e.low) + " auf " + to_string(e.high) +
               " Bytes).";
    case ErrorKind::TooManyColours:
        return "Das Bild enthält mehr als 255 Farben außer Schwarz und Weiß. Bitte verringern Sie die Anzahl der "
               "Farben und laden Sie das Bild erneut.";
    case ErrorKind::CompressCodecMissing:
        return "Die Bilddaten konnten nicht komprimiert werden: Die Bibliothek libvexlib.so fehlt oder ist "
               "beschädigt.";
    case ErrorKind::CompressFailed: return "Die Bilddaten konnten nicht komprimiert werden.";
    case ErrorKind::OrvTooLarge:
        return "Das Bild ist zu groß für eine ORV-Datei: Breite und Höhe dürfen höchstens 255 Pixel betragen.";
    case ErrorKind::OrvNotAStream:
        return "Die Bilddaten sind kein vollständiger komprimierter Datenstrom und werden nicht gespeichert.";
    case ErrorKind::OrvCheckCodecMissing:
        return "Die Bilddaten konnten nicht geprüft werden: Die Bibliothek libvexlib.so fehlt oder ist beschädigt.";
    case ErrorKind::OrvWriteFailed:
        return file(path) + " konnte nicht geschrieben werden " + system(e.systemCode) + ".";
    case ErrorKind::OrvUnreadable: return file(path) + " konnte nicht gelesen werden.";
    case ErrorKind::OrvCodecMissing:
        return file(path) + " konnte nicht gelesen werden: Die Bibliothek libvexlib.so fehlt oder ist beschädigt.";
    case ErrorKind::OrvDataTooLarge: return "Die Bilddaten in der Datei " + Quoted(path) + " sind zu groß.";
    case ErrorKind::OrvInvalidStream: return file(path) + " enthält keinen gültigen Bilddatenstrom.";
    case ErrorKind::OrvTooShort:
        return file(path) +
               " ist zu kurz für eine ORV-Datei: Nach den Bilddaten fehlen Palette, Größe oder Kachelreihenfolge.";
    case ErrorKind::OrvNoSize:
        return file(path) +
               " gibt keine Bildgröße an, und ihre Bilddaten ergeben kein Bild von 1 bis 255 Pixeln Seitenlänge.";
    case ErrorKind::OrvSizeMismatch:
        return file(path) + " gibt die Bildgröße " + to_string(e.low) + " x " + to_string(e.high) +
               " Pixel an, die nicht zu ihren Bilddaten passt (" + to_string(e.value) +
               " Bytes; nötig sind Breite x Höhe / 4, und jede Seite muss mindestens 8 Pixel lang sein).";
    case ErrorKind::BitmapEmpty: return "Es ist kein Bild zum Speichern vorhanden.";
    case ErrorKind::BitmapWriteFailed:
        return "Die Bilddatei " + Quoted(path) + " konnte nicht geschrieben werden " + system(e.systemCode) + ".";
    case ErrorKind::SourceMissing: return file(path) + " konnte nicht gefunden werden.";
    case ErrorKind::SourceUnreadable: return file(path) + " konnte nicht gelesen werden " + system(e.systemCode) + ".";
    case ErrorKind::SourceTruncated:
        return "Die Bilddatei " + Quoted(path) + " ist unvollständig: Ihre Kopfdaten kündigen " + to_string(e.value) +
               " Bytes an, sie hat aber nur " + to_string(e.high) + ".";
    case ErrorKind::NotAPicture: return file(path) + " ist keine lesbare Bilddatei (GIF, BMP, ICO, CUR oder PNG).";
    case ErrorKind::SourceTooSmall:
        return "Das Bild " + Quoted(path) + " ist zu klein: Es muss mindestens 8 Pixel breit und 8 Pixel hoch sein.";
    case ErrorKind::SourceTooLarge:
        return "Das Bild " + Quoted(path) + " ist zu groß, um es zu verarbeiten: " + to_string(e.low) + " x " +
               to_string(e.high) + " Pixel, höchstens " + to_string(e.value) + " Pixel je Seite und " +
               to_string(e.limit) + " Pixel insgesamt.";
    case ErrorKind::SourceFormatTooLarge:
        return "Die Bilddatei " + Quoted(path) + " ist zu groß: Ihr Format belegt " + to_string(e.value) +
               " Bytes, gelesen werden höchstens " + to_string(e.limit) + ".";
    case ErrorKind::SlotConflict:
        return e.text + " und " + e.other + " gehören zu einem Platz, enthalten aber verschiedene Bilder.";
    case ErrorKind::BatchNoRoom:
        return e.text + " braucht " + to_string(e.value) +
               " Bytes (mit 2 Nullbytes davor), der größte freie Bereich hat aber nur " + to_string(e.low) + " Bytes" +
               (e.low ? " an " + HexGerman(e.offset) : std::string()) + ".";
    case ErrorKind::PaletteConflict:
        return e.text + " und " + e.other + " geben einer Palette verschiedene Farben (" + pairText(e.low) +
               " und " + pairText(e.high) + "); sie müssen übereinstimmen.";
    }
    return "Unbekannter Fehler.";
}

std::string Text(const Note& n)
{
    const std::string sizeByte = "Die Größenangabe des Bildes wurde nicht geschrieben: ";
    switch (n.kind) {
    case NoteKind::SizeByteLanguageUnknown: return sizeByte + "Die Sprache des Roms konnte nicht erkannt werden.";
    case NoteKind::SizeByteRecord:
        return sizeByte + "Der Datensatz an Offset " + HexGerman(n.offset) + " gehört nicht zu Pokemon " +
               to_string(n.value) + " (gefunden: " + to_string(n.low) + ").";
    case NoteKind::OldPictureKept:
        return "Das alte Bild an Offset " + HexGerman(n.offset) + " wurde nicht gelöscht, weil das Löschen auch " +
               RegionText(n.region, n.slot) + " treffen würde.";
    case NoteKind::PaletteShared:
        return n.text + " und " + n.other + " teilen sich eine Palette, geben aber verschiedene Farben an; die von " +
               n.text + " werden geschrieben.";
    }
    return {};
}

std::string Text(const rom::PalFileError& e, std::string_view path)
{
    const std::string where =
        file(path) + (e.kind == rom::PalFileError::Kind::WrongLineCount ? "" : " (Zeile " + to_string(e.line) + ")");
    switch (e.kind) {
    case rom::PalFileError::Kind::NotAColourLine:
        return where + " enthält eine Zeile, die nicht \"RGB r, g, b\" mit Zahlen von 0 bis 31 ist.";
    case rom::PalFileError::Kind::ComponentTooLarge:
        return where + " gibt den Farbanteil " + to_string(e.value) + " an; ein Farbanteil liegt zwischen 0 und 31.";
    case rom::PalFileError::Kind::WrongLineCount:
        return where + " enthält " + to_string(e.line) +
               " Farbzeilen; eine Palettendatei enthält zwei (Farbe 1, Farbe 2).";
    }
    return where + " ist keine Palettendatei.";
}

std::string Text(const rom::PackSkipped& skipped, rom::GameVersion version)
{
    const char* edition = version == rom::GameVersion::Gold ? "Gold" : "Silber";
    const std::string instead = skipped.instead.empty() ? "" : "; verwendet wird " + skipped.instead;
    switch (skipped.why) {
    case rom::PackSkip::OtherEdition:
    case rom::PackSkip::EditionFront: return std::string("nicht verwendet (das Rom ist ") + edition + instead + ")";
    case rom::PackSkip::EditionUnknown:
        return "nicht verwendet (der Header des Roms nennt weder Gold noch Silber" + instead + ")";
    case rom::PackSkip::Duplicate: return "nicht verwendet (dieselbe Datei wie " + skipped.instead + ")";
    }
    return "nicht verwendet";
}

std::string Text(const rom::BatchStep& step, const std::vector<rom::BatchItem>& items)
{
    const std::string bytes = to_string(step.bytes) + " Bytes";
    switch (step.outcome) {
    case rom::BatchOutcome::Unchanged: return "unverändert";
    case rom::BatchOutcome::SameAs: return "dasselbe wie " + items[step.sameAs].name;
    case rom::BatchOutcome::InPlace:
        return "an seiner Stelle ersetzt bei " + HexGerman(step.offset) + ", " + bytes + " (vorher " +
               to_string(step.oldBytes) + ")";
    case rom::BatchOutcome::Recoloured: return "umgefärbt: nur die Palette bei " + HexGerman(step.offset);
    case rom::BatchOutcome::PaletteSet: return "Palette gesetzt bei " + HexGerman(step.offset);
    case rom::BatchOutcome::Moved: break;
    }
    std::string was;
    switch (step.from) {
    case rom::OldPlace::OutsideRom: was = "einem Zeiger außerhalb des Roms"; break;
    case rom::OldPlace::Zeroed: was = HexGerman(step.fromOffset) + " (" + to_string(step.oldBytes) + " Bytes)"; break;
    case rom::OldPlace::NoPicture: was = HexGerman(step.fromOffset) + " (dort kein vollständiges Bild)"; break;
    case rom::OldPlace::Shared: was = HexGerman(step.fromOffset) + " (dort gelassen: geteilt)"; break;
    }
    return "verschoben von " + was + " nach " + HexGerman(step.offset) + ", " + bytes;
}

std::string Text(const rom::PackIgnored& ignored)
{
    return "übergangen (nicht Teil des Aufbaus" +
           (ignored.files > 1 ? "; " + to_string(ignored.files) + " Dateien" : std::string()) + ")";
}

std::string FlatIgnoredText() { return "übergangen (nicht so benannt, wie extract-all Bilder benennt)"; }

std::string MisshapenBatchText(size_t pictures, bool unownFront)
{
    const bool one = pictures == 1;
    return to_string(pictures) + (one ? " Bild passt" : " Bilder passen") + " nicht in " +
           (one ? "seinen Platz" : "ihre Plätze") + ", wie oben genannt. Es wurde nichts geschrieben." +
           (unownFront ? " Die Unown-Frontbilder nehmen eine neue Größe nur alle 26 zusammen an, in einer Form." : "");
}

const char* PatchName(rom::PatchKind kind)
{
    switch (kind) {
    case rom::PatchKind::ZeroOldPicture: return "Nullen über dem alten Bild";
    case rom::PatchKind::PictureData: return "Bilddaten";
    case rom::PatchKind::Palette: return "Palette";
    case rom::PatchKind::Name: return "Name";
    case rom::PatchKind::PicturePointer: return "Bildzeiger";
    case rom::PatchKind::SizeByte: return "Größenbyte";
    case rom::PatchKind::Checksum: return "globale Prüfsumme";
    }
    return "?";
}

std::string ShapeQuestion(const Error& refusal, bool unownFront)
{
    return Text(refusal) +
           "\n\nNur wenn der Programmcode des Roms geändert wurde, um andere Größen zu zeichnen, zeigt das Spiel das "
           "Bild dort richtig." +
           (unownFront ? " Die Größenangabe, die alle 26 Unown teilen, wird dabei mit geändert." : "") +
           "\n\nTrotzdem schreiben?";
}

std::string OverwriteQuestion(int64_t dataOffset, int64_t bytes, int64_t first)
{
    return "Die Bilddaten würden ab Offset " + HexGerman(dataOffset) + " " + to_string(bytes) +
           " Bytes überschreiben, die nicht 0 sind und zu nichts gehören, was Orvista kennt (Programmcode, Text "
           "oder andere Daten). Das erste liegt an Offset " +
           HexGerman(first) + ".\n\nTrotzdem schreiben?";
}

std::string TargetIsSourceText(std::string_view target, std::string_view source)
{
    return "Die Zieldatei " + Quoted(target) + " ist die Quelldatei " + Quoted(source) +
           " selbst (über einen Link oder einen anderen Namen); sie würde beim Schreiben zerstört. Es wurde nichts "
           "geschrieben.";
}

std::string NoFreePlaceText(int64_t bytes, int64_t start)
{
    return "Kein freier Platz für " + to_string(bytes) + " Bytes hinter Offset " + to_string(start) +
           " gefunden. Der Offset bleibt unverändert.";
}

} // namespace orv::de
