// The German and English texts of the core's facts: the wizard's texts as
// they are, and English sentences that carry the same facts.

#include <gtest/gtest.h>

#include <cerrno>
#include <set>

#include "english_texts.h"
#include "messages_de.h"
#include "messages_en.h"

namespace orv {
namespace {

using K = rom::Slot::Kind;
const std::string kPath = "/tmp/rom.gbc";

Error Sample(ErrorKind kind)
{
    return {.kind = kind, .offset = 0x1F0000, .value = 300, .low = 0x1F0000, .high = 0x1F0100,
            .systemCode = ENOSPC, .slot = {K::Unown, 3, true}, .text = "write", .other = "#"};
}

// Every kind has a German text and an English one with the same facts, but
// the few whose German wording has always been terser.
TEST(Messages, EveryKindInBothLanguages)
{
    for (int k = 0; k <= static_cast<int>(ErrorKind::PaletteConflict); ++k) {
        const auto kind = static_cast<ErrorKind>(k);
        const Error error = Sample(kind);
        const std::string german = de::Text(error, kPath), english = en::Text(error, kPath);
        EXPECT_FALSE(german.empty() || german.starts_with("Unbekannt")) << k;
        if (kind == ErrorKind::TargetTooSmall || kind == ErrorKind::LanguageUnknown ||
            kind == ErrorKind::CodecMissing)
            continue;
        EXPECT_EQ(test::EnglishMismatch(german, english), "") << k;
    }
    for (int n = 0; n <= static_cast<int>(NoteKind::PaletteShared); ++n) {
        const Note note{.kind = static_cast<NoteKind>(n), .offset = 0x51B00, .value = 1, .low = 10, .high = 7,
                        .region = Region::Picture, .slot = {K::Pokemon, 25}, .text = "a.png", .other = "b.png"};
        EXPECT_EQ(test::EnglishMismatch(de::Text(note), en::Text(note)), "") << n;
    }
}

// The wizard's refusals as it has always worded them.
TEST(Messages, GermanTexts)
{
    const auto inTheWay = [](Region region, int64_t begin, int64_t end, rom::Slot slot = {}) {
        return Error{.kind = ErrorKind::InTheWay, .offset = 0x101000, .value = 812, .low = begin, .high = end,
                     .region = region, .slot = slot};
    };
    const std::pair<Error, std::string> cases[] = {
        {{.kind = ErrorKind::OpenFailed, .systemCode = ENOENT},
         "Die Datei \"/tmp/rom.gbc\" konnte nicht geöffnet werden (Systemfehler 2: Datei oder Verzeichnis nicht "
         "gefunden)."},
        {TooShortError(RomPart::PointerTable, 0x48009, 0x48004),
         "Die Datei \"/tmp/rom.gbc\" ist zu kurz für die Zeigertabelle (benötigt bis &H48009, Dateilänge &H48004)."},
        {OutOfRangeError(NumberField::PokemonNumber, 0, 1, 251),
         "Die Pokemonnummer 0 liegt außerhalb des erlaubten Bereichs von 1 bis 251."},
        {OutOfRangeError(NumberField::UnownIndex, 27, 1, 26),
         "Der Unown-Index 27 liegt außerhalb des erlaubten Bereichs von 1 bis 26."},
        {OutOfRangeError(NumberField::Offset, -5, 0, 2097151),
         "Der Offset -5 liegt außerhalb des erlaubten Bereichs von 0 bis 2097151."},
        {{.kind = ErrorKind::NoPicture, .offset = 0x3FC000, .fault = StreamFault::NoEndMarker},
         "An Offset &H3FC000 der Datei \"/tmp/rom.gbc\" liegen keine vollständigen Bilddaten. Vor dem Dateiende "
         "fehlt das Endezeichen."},
        {{.kind = ErrorKind::NoPicture, .offset = 0x10C000, .fault = StreamFault::ShorterThanTile},
         "An Offset &H10C000 der Datei \"/tmp/rom.gbc\" liegen keine vollständigen Bilddaten. Die entpackten Daten "
         "sind kürzer als eine Kachel (16 Bytes)."},
        {{.kind = ErrorKind::TooNarrow, .value = 4, .high = 1}, "Die angegebene Breite 4 ist kleiner als 8 Pixel."},
        {{.kind = ErrorKind::TooNarrow, .value = 7}, "Die angegebene Höhe 7 ist kleiner als 8 Pixel."},
        {{.kind = ErrorKind::PictureTooLarge, .low = 256, .high = 256},
         "Das Bild wäre mit 256 x 256 Pixeln größer als 32767 Pixel."},
        {{.kind = ErrorKind::Unreachable, .offset = 0x2000},
         "Der Offset &H2000 kann von keinem Bildzeiger erreicht werden (in Bank 0, in den Bänken &H13 und &H14 und "
         "ab &H400000 nicht möglich). Bitte einen anderen Offset wählen."},
        {{.kind = ErrorKind::PastBank, .offset = 0x1F3FF0, .value = 812, .high = 0x7C},
         "Die Bilddaten (812 Bytes ab &H1F3FF0) reichen über das Ende der Bank &H7C hinaus; das Spiel liest ein "
         "Bild nur innerhalb einer Bank. Bitte einen anderen Offset wählen."},
        {inTheWay(Region::Header, 0x100, 0x150),
         "Die Bilddaten (812 Bytes ab &H101000) würden den Kopf des Roms (&H100 bis &H14F) überschreiben. Es wurde "
         "nichts geschrieben."},
        {inTheWay(Region::PokemonPointers, 0x48000, 0x485E2), "die Zeigertabelle der Pokemonbilder (&H48000 bis &H485E1)"},
        {inTheWay(Region::UnownPointers, 0x7C000, 0x7C09C), "die Zeigertabelle der Unown-Bilder (&H7C000 bis &H7C09B)"},
        {inTheWay(Region::TrainerPointers, 0x80000, 0x800C6), "die Zeigertabelle der Trainerbilder (&H80000 bis &H800C5)"},
        {inTheWay(Region::PokemonPalettes, 0xAD45, 0xB51D), "die Palettentabelle der Pokemon (&HAD45 bis &HB51C)"},
        {inTheWay(Region::TrainerPalettes, 0xB541, 0xB649), "die Palettentabelle der Trainer (&HB541 bis &HB648)"},
        {inTheWay(Region::BaseData, 0x51B0B, 0x53A6B), "die Datensätze der Pokemon (&H51B0B bis &H53A6A)"},
        {inTheWay(Region::NameTable, 0x1B0000, 0x1B09CE), "die Namenstabelle der Pokemon (&H1B0000 bis &H1B09CD)"},
        {inTheWay(Region::Picture, 0x101000, 0x101200, {K::Pokemon, 1, true}),
         "das Bild von Pokemon 1 (Backpic) (&H101000 bis &H1011FF)"},
        {inTheWay(Region::Picture, 0x110000, 0x110100, {K::Trainer, 2}), "das Bild von Trainer 2 (&H110000 bis"},
        {{.kind = ErrorKind::NotAStream},
         "Die Bilddaten sind kein vollständiger Datenstrom, den das Spiel lesen kann. Es wurde nichts geschrieben."},
        {{.kind = ErrorKind::SizeMismatch, .value = 49, .low = 48, .high = 56},
         "Die Bildgröße 48 x 56 passt nicht zu den Bilddaten (49 Kacheln). Es wurde nichts geschrieben."},
        {{.kind = ErrorKind::NameUnencodable, .text = "MEW#", .other = "#"},
         "Der Name \"MEW#\" enthält das Zeichen \"#\", das im Spiel nicht darstellbar ist."},
        {{.kind = ErrorKind::NameTooLong, .value = 11, .high = 10, .text = "ABCDEFGHIJK"},
         "Der Name \"ABCDEFGHIJK\" braucht 11 Bytes, im Rom ist aber nur Platz für 10."},
        {{.kind = ErrorKind::LanguageUnknown}, "Fehler: Sprache des Roms konnte nicht erkannt werden."},
        {{.kind = ErrorKind::OldPictureBroken, .offset = 0x1FFFFD},
         "Das alte Bild an Offset &H1FFFFD kann nicht gelöscht werden, weil dort keine vollständigen Bilddaten "
         "liegen. Es wurde nichts geschrieben; ohne \"Delete Original Picture\" ist das Einfügen möglich."},
        {{.kind = ErrorKind::NoData}, "Es liegen keine Bilddaten zum Schreiben vor."},
        {{.kind = ErrorKind::NoRoom, .offset = 0x1FFF00, .value = 812},
         "Kein freier Platz für 812 Bytes hinter Offset &H1FFF00 gefunden. Es wurde nichts geschrieben."},
        {{.kind = ErrorKind::SourceMissing}, "Die Datei \"/tmp/rom.gbc\" konnte nicht gefunden werden."},
        {{.kind = ErrorKind::TooManyTiles, .low = 10, .high = 7},
         "Das Bild passt mit 10 x 7 Kacheln nicht in die Größenangabe (1 bis 9 Kacheln je Richtung). Es wurde nichts "
         "geschrieben."},
        {{.kind = ErrorKind::BadShape, .low = 32, .high = 32, .slot = {K::Pokemon, 1}, .shapes = {{40, 40}, {48, 48}, {56, 56}}},
         "Das Bild ist 32 x 32 Pixel groß; als Frontpic eines Pokemon zeichnet das Spiel nur Bilder von 40 x 40, 48 x 48 "
         "oder 56 x 56 Pixeln richtig."},
        {{.kind = ErrorKind::BadShape, .value = 1, .low = 56, .high = 56, .slot = {K::Unown, 2}, .shapes = {{40, 40}}},
         "Das Bild ist 56 x 56 Pixel groß; als Frontpic eines Unown zeichnet das Spiel nur Bilder von 40 x 40 Pixeln "
         "richtig, der Größe, die die gemeinsame Größenangabe aller 26 Unown jetzt hält."},
        {{.kind = ErrorKind::UnownRecord, .offset = 0x53400},
         "Der Datensatz an Offset &H53400 gehört nicht zu Pokemon 201 (gefunden: 0), daher ist unbekannt, in welcher "
         "Größe das Spiel die Frontpics der Unown zeichnet."},
        {{.kind = ErrorKind::EmptyName},
         "Der neue Name ist leer. Ein Pokemon ohne Namen wird nicht geschrieben; bitte einen Namen eingeben."},
        {{.kind = ErrorKind::NotThisGameNoPicture},
         "Die Datei \"/tmp/rom.gbc\" ist kein Rom von Pokemon Gold oder Silber (englisch oder deutsch): Kein "
         "Bildzeiger führt zu einem Bild."},
    };
    for (const auto& [error, text] : cases) {
        const std::string german = de::Text(error, kPath);
        EXPECT_NE(german.find(text), std::string::npos) << german;
        EXPECT_EQ(test::EnglishMismatch(german, en::Text(error, kPath)), "") << german;
    }
}

TEST(Messages, NotesInGerman)
{
    const std::string sizeByte = "Die Größenangabe des Bildes wurde nicht geschrieben: ";
    const std::pair<Note, std::string> cases[] = {
        {{.kind = NoteKind::SizeByteLanguageUnknown}, sizeByte + "Die Sprache des Roms konnte nicht erkannt werden."},
        {{.kind = NoteKind::SizeByteRecord, .offset = 0x51B00, .value = 1},
         sizeByte + "Der Datensatz an Offset &H51B00 gehört nicht zu Pokemon 1 (gefunden: 0)."},
        {{.kind = NoteKind::OldPictureKept, .offset = 0x100000, .region = Region::Picture, .slot = {K::Pokemon, 1, true}},
         "Das alte Bild an Offset &H100000 wurde nicht gelöscht, weil das Löschen auch das Bild von Pokemon 1 "
         "(Backpic) treffen würde."},
        {{.kind = NoteKind::OldPictureKept, .offset = 0x103F00, .region = Region::Picture, .slot = {K::Trainer, 66}},
         "Das alte Bild an Offset &H103F00 wurde nicht gelöscht, weil das Löschen auch das Bild von Trainer 66 "
         "treffen würde."},
    };
    for (const auto& [note, text] : cases) {
        EXPECT_EQ(de::Text(note), text);
        EXPECT_EQ(test::EnglishMismatch(de::Text(note), en::Text(note)), "") << text;
    }
}

// What is wrong in a .pal file, in both languages with the same facts.
TEST(Messages, PaletteFiles)
{
    using K = rom::PalFileError::Kind;
    const std::pair<rom::PalFileError, std::string> cases[] = {
        {{K::NotAColourLine, 3},
         "Die Datei \"a.pal\" (Zeile 3) enthält eine Zeile, die nicht \"RGB r, g, b\" mit Zahlen von 0 bis 31 ist."},
        {{K::ComponentTooLarge, 2, 40},
         "Die Datei \"a.pal\" (Zeile 2) gibt den Farbanteil 40 an; ein Farbanteil liegt zwischen 0 und 31."},
        {{K::WrongLineCount, 3},
         "Die Datei \"a.pal\" enthält 3 Farbzeilen; eine Palettendatei enthält zwei (Farbe 1, Farbe 2)."},
    };
    for (const auto& [error, text] : cases) {
        EXPECT_EQ(de::Text(error, "a.pal"), text);
        EXPECT_EQ(test::EnglishMismatch(de::Text(error, "a.pal"), en::Text(error, "a.pal")), "") << text;
    }
}

// A batch's outcomes and a pack's files left out, in both languages with the same facts.
TEST(Messages, BatchOutcomesAndPackFiles)
{
    using O = rom::BatchOutcome;
    const std::vector<rom::BatchItem> items{{.name = "a.png"}, {.name = "b.png"}};
    const rom::BatchStep steps[] = {
        {.outcome = O::Unchanged},
        {.item = 1, .outcome = O::SameAs, .sameAs = 0},
        {.outcome = O::InPlace, .offset = 0x1F0000, .bytes = 700, .oldBytes = 713},
        {.outcome = O::Recoloured, .offset = 0xAD6D},
        {.outcome = O::PaletteSet, .offset = 0xAD79},
        {.outcome = O::Moved, .offset = 0x1F4000, .bytes = 800, .oldBytes = 713, .fromOffset = 0x110000},
        {.outcome = O::Moved, .offset = 0x1F4000, .bytes = 800, .from = rom::OldPlace::Shared, .fromOffset = 0x110000},
        {.outcome = O::Moved, .offset = 0x1F4000, .bytes = 800, .from = rom::OldPlace::OutsideRom},
    };
    std::set<std::string> german;
    for (const rom::BatchStep& step : steps) {
        const std::string de = de::Text(step, items), en = en::Text(step, items);
        EXPECT_EQ(test::Facts(de), test::Facts(en)) << de << " / " << en;
        german.insert(de);
    }
    EXPECT_EQ(german.size(), std::size(steps)) << "each outcome its own text";
    EXPECT_EQ(de::Text(steps[5], items), "verschoben von &H110000 (713 Bytes) nach &H1F4000, 800 Bytes");
    EXPECT_EQ(de::Text(steps[1], items), "dasselbe wie a.png");

    const rom::PackSkipped skipped{"pokemon/pikachu/front_silver.png", rom::PackSkip::OtherEdition,
                                   "pokemon/pikachu/front_gold.png"};
    EXPECT_EQ(de::Text(skipped, rom::GameVersion::Gold),
              "nicht verwendet (das Rom ist Gold; verwendet wird pokemon/pikachu/front_gold.png)");
    EXPECT_EQ(de::Text(rom::PackIgnored{"egg/", 3}), "übergangen (nicht Teil des Aufbaus; 3 Dateien)");
    EXPECT_EQ(test::Facts(de::Text(rom::PackIgnored{"egg/", 3})), test::Facts(en::Text(rom::PackIgnored{"egg/", 3})));
    for (auto kind : {rom::PatchKind::ZeroOldPicture, rom::PatchKind::PictureData, rom::PatchKind::Palette,
                      rom::PatchKind::Name, rom::PatchKind::PicturePointer, rom::PatchKind::SizeByte,
                      rom::PatchKind::Checksum})
        EXPECT_STRNE(de::PatchName(kind), "?");
}

// English offsets as the command line writes them; steps in the user's words.
TEST(Messages, EnglishNumbersAndSteps)
{
    EXPECT_EQ(en::Text(OutOfRangeError(NumberField::Offset, 0x200000, 0, 0x1FFFFF)),
              "Offset 0x200000 is outside the allowed range 0x0 to 0x1FFFFF.");
    EXPECT_EQ(en::Text(OutOfRangeError(NumberField::PokemonNumber, 300, 1, 251)),
              "Pokemon number 300 is outside the allowed range 1 to 251.");
    const Error step{.kind = ErrorKind::WriteFailed, .systemCode = ENOSPC, .text = "flush"};
    EXPECT_NE(de::Text(step, kPath).find("(Sichern auf den Datenträger, Systemfehler 28: "), std::string::npos);
    EXPECT_NE(en::Text(step, kPath).find("(flush, system error 28: "), std::string::npos);
    EXPECT_EQ(en::Text({.kind = ErrorKind::BatchNoRoom, .offset = 0x1F0000, .value = 20000, .low = 16384, .text = "a.png"}),
              "a.png needs 20000 bytes (with 2 zero bytes before them), but the largest free run is 16384 bytes at "
              "0x1F0000.");
}

} // namespace
} // namespace orv
