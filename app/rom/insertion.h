#pragma once
// Writing an encoded picture into a ROM: planned in full as byte patches,
// checked before the first write, then applied.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <vector>

#include "byte_patch.h"
#include "rom_error.h"

namespace orv::rom {

// The choices of pages 5, 6 and 9 and the picture to write.
struct InsertRequest {
    std::filesystem::path romPath;
    std::vector<uint8_t> encoded; // EncodedData; N is its size
    std::string offsetText;       // Text4, read like a typed number ("&H" for hex)
    bool replaceSlot = true;      // Check4: pointer, palette, size byte (and name)
    bool trainer = false;         // Check8
    int64_t trainerNumber = 1;    // Text7, 1 .. 66
    int64_t pokemonNumber = 1;    // Text3, 1 .. 251; 201 takes the Unown table
    bool unown = false;           // Check5: the number counts as 201
    int64_t unownIndex = 1;       // Label18, 1 .. 26 (the Unown table's entries)
    bool back = false;            // "Backpic"
    bool shiny = false;           // "Shiny"
    bool deleteOriginal = false;  // Check6: zero the replaced picture first
    bool changeName = false;      // Check11 (ignored for trainers)
    std::string newName;          // the chosen name, UTF-8
    int64_t nameLength = 10;      // L from page 1, 1 .. 20
    uint32_t colour1 = 0;         // Palette[1], 0x00RRGGBB
    uint32_t colour2 = 0;         // Palette[2]
    int width = 0;                // PicWidth, for the front-picture size byte
    int height = 0;               // PicHeight
};

// Something the user is told although the insertion goes ahead.
struct PlanNote {
    std::string german, english;
};

struct InsertionPlan {
    int64_t fileSize = 0;           // the ROM's length when planned
    int64_t dataOffset = 0;         // where the encoded data goes
    std::vector<BytePatch> patches; // in writing order
    std::vector<PlanNote> notes;    // e.g. a size byte left alone
};

// Reads the ROM and computes every byte to write, in the order: zeros over
// the old picture, the data, the palette, the name, the pointer, the size byte.
// Nothing is written. Errors (German texts; each has its English one):
//  OpenFailed "Error: <errno>"; ReadFailed; CodecMissing;
//  TooShort "Die Datei \"<path>\" ist zu kurz für die Bilddaten / die Zeigertabelle /
//    die Palette / den Namen / die Größenangabe (benötigt bis &H..., Dateilänge &H...).";
//  NoPicture "Es liegen keine Bilddaten zum Schreiben vor." (N = 0);
//  OutOfRange "<Der Offset | Die Pokemonnummer | Der Unown-Index | Die Trainernummer |
//    Die Namenslänge> <v> liegt außerhalb des erlaubten Bereichs von <min> bis <max>."
//    (offset 0 .. length - N - 1, Pokemon 1 .. 251, Unown 1 .. 26, trainer 1 .. 66, L 1 .. 20);
//  OutOfRange "Der Offset &H... kann von keinem Bildzeiger erreicht werden (ab &H400000
//    und in den Bänken &H13 und &H14 nicht möglich). Bitte einen anderen Offset wählen.";
//  NoPicture "Das alte Bild an Offset &H... kann nicht gelöscht werden, weil dort keine
//    vollständigen Bilddaten liegen. Es wurde nichts geschrieben; ohne \"Delete Original
//    Picture\" ist das Einfügen möglich.";
//  BadName (see NameFieldBytes); LanguageUnknown when a name is to be written.
// The size byte is left out, and a note starting "Die Größenangabe des Bildes wurde
// nicht geschrieben: " (English: "The size byte of the picture was not written: ")
// says why: "Das Bild passt mit <w> x <h> Kacheln nicht in die Größenangabe (1 bis 9
// Kacheln je Richtung).", "Die Sprache des Roms konnte nicht erkannt werden.", or
// "Der Datensatz an Offset &H... gehört nicht zu Pokemon <n> (gefunden: <k>)."
std::expected<InsertionPlan, RomError> PlanInsertion(const InsertRequest& request);

// Opens the ROM read-write, checks it still has the planned length, writes
// every patch and flushes (German texts; English alongside). OpenFailed "Error: <errno>"; FileChanged
// "Die Datei \"<path>\" hat sich seit der Prüfung verändert. Es wurde nichts
// geschrieben."; WriteFailed "Beim Schreiben in die Datei \"<path>\" ist ein
// Fehler aufgetreten (Systemfehler <n>). Die Datei ist möglicherweise nur
// teilweise geschrieben."
std::expected<void, RomError> ApplyInsertion(const std::filesystem::path& path,
                                             const InsertionPlan& plan);

} // namespace orv::rom
