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

struct InsertionPlan {
    int64_t fileSize = 0;            // the ROM's length when planned
    int64_t dataOffset = 0;          // where the encoded data goes
    std::vector<BytePatch> patches;  // in writing order
    std::vector<std::string> notes;  // German texts for the user, e.g. a size byte left alone
};

// Reads the ROM and computes every byte to write, in the order: zeros over
// the old picture, the data, the palette, the name, the pointer, the size byte.
// Nothing is written. Errors (texts in the .cpp beside each check):
//  OpenFailed "Error: <errno>"; ReadFailed; TooShort (tables, palette, name);
//  OutOfRange: "Der Offset ..." (0 .. length - N - 1), "Die Pokemonnummer ...",
//    "Der Unown-Index ...", "Die Trainernummer ...", "Die Namenslänge ...";
//  OutOfRange "Der Offset &H... kann von keinem Bildzeiger erreicht werden ..."
//    (from 0x400000 on, or in banks 0x13/0x14, which pointers cannot name);
//  NoPicture: the picture to delete is no complete stream inside the file;
//  BadName (Pokemon name not encodable or longer than L); LanguageUnknown
//    when a name is to be written; CodecMissing.
// The size byte is left out, with a note, when the picture is over 9 x 9
// tiles, the language is not recognised, or the base-data record before it
// does not carry the Pokemon's number.
std::expected<InsertionPlan, RomError> PlanInsertion(const InsertRequest& request);

// Opens the ROM read-write, checks it still has the planned length, writes
// every patch and flushes. OpenFailed "Error: <errno>"; FileChanged
// "Die Datei \"<path>\" hat sich seit der Prüfung verändert. Es wurde nichts
// geschrieben."; WriteFailed "Beim Schreiben in die Datei \"<path>\" ist ein
// Fehler aufgetreten (Systemfehler <n>). Die Datei ist möglicherweise nur
// teilweise geschrieben."
std::expected<void, RomError> ApplyInsertion(const std::filesystem::path& path,
                                             const InsertionPlan& plan);

} // namespace orv::rom
