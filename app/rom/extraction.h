#pragma once
// Taking a compressed picture out of a ROM: by game slot or at a typed offset.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <vector>

#include "rom_error.h"
#include "rom_layout.h"

namespace orv::rom {

// The choices of pages 10 and 2.
struct ExtractRequest {
    std::filesystem::path romPath;
    bool bySlot = true; // Check12: through the pointer tables
    // Slot (bySlot): number 201 takes the Unown table with unownIndex.
    int64_t pokemonNumber = 1; // Text1, 1 .. 251
    bool unown = false;        // Check1: the number counts as 201
    int64_t unownIndex = 1;    // Text2, 1 .. 26
    bool back = false;         // "Backpic"
    bool shiny = false;        // Check2
    bool trainer = false;      // Check7
    int64_t trainerNumber = 1; // Text6, 1 .. 66
    // Offset (not bySlot): texts as typed, read like the offset field.
    std::string offsetText;   // Text12
    bool specifySize = false; // Check13
    std::string widthText;    // Text13
    std::string heightText;   // Text14
};

struct ExtractedPicture {
    int64_t offset = 0;            // where the stream was found
    std::vector<uint8_t> stream;   // SourceStream, end marker included
    std::vector<uint8_t> tileData; // SourceTileData; RawLength is its size
    PaletteWords palette;          // from the ROM, or "FF03007C" by offset
    int width = 0;                 // PicWidth
    int height = 0;                // PicHeight
};

// Square side in pixels for a decompressed length: 8 * round(sqrt(length / 16)),
// halves to even; 0 below one tile.
int SquareSideForLength(int64_t decompressedLength);

// Errors, each with its German text (the English one says the same, e.g.
// "There is no complete picture data at offset &H1FFFFD in the file \"<path>\". ..."):
//  OpenFailed, ReadFailed, TooShort ("die Zeigertabelle", "die Palette");
//  OutOfRange: "Die Pokemonnummer n ...", "Der Unown-Index u ...",
//    "Die Trainernummer t ...", "Der Offset o liegt außerhalb ... von 0 bis <Länge-1>.";
//  NoPicture: "An Offset &H... der Datei \"<path>\" liegen keine vollständigen
//    Bilddaten." + a reason ("Vor dem Dateiende fehlt das Endezeichen." /
//    "Ein Kopierbefehl liest außerhalb der bisher entpackten Daten." /
//    "Die entpackten Daten sind kürzer als eine Kachel (16 Bytes).");
//  BadSize: "Die angegebene Breite/Höhe <v> ist kleiner als 8 Pixel." /
//    "Das Bild wäre mit <w> x <h> Pixeln größer als 32767 Pixel.";
//  CodecMissing.
// Measuring stops as soon as the output passes kMaxTileDataBytes (NoPicture:
// "Die entpackten Daten wären größer als ein Bild von 32767 Pixeln."), before
// anything that size is allocated.
std::expected<ExtractedPicture, RomError> ExtractFromRom(const ExtractRequest& request);
// The same on a ROM already read (request.romPath is not used).
std::expected<ExtractedPicture, RomError> ExtractFromRom(const RomFile& rom, const ExtractRequest& request);

// A ROM as a source must be one of these games' ROMs: long enough for the
// picture pointer tables (TooShort naming "die Zeigertabelle"), with a known
// language (LanguageUnknown), and with a slot whose pointer leads to a
// readable picture (otherwise the failure of Pokemon 1's front picture, as
// extracting it gives it).
std::expected<void, RomError> CheckRomSource(const RomFile& rom);

} // namespace orv::rom
