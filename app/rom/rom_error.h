#pragma once
// Failures of the ROM core, each carrying the German text the wizard shows
// and an English text with the same facts for the command line.

#include <cstdint>
#include <filesystem>
#include <string>

namespace orv::rom {

struct RomError {
    enum class Kind {
        OpenFailed,      // the file could not be opened
        ReadFailed,      // a read failed on an open file
        TooShort,        // a table, palette, name or record lies past the end of the file
        LanguageUnknown, // header language byte neither "D" nor "E"
        OutOfRange,      // a number or offset outside its allowed range
        NoPicture,       // no complete compressed picture at an offset
        BadSize,         // typed picture size unusable
        BadName,         // name not encodable or too long
        CodecMissing,    // libvexlib.so could not be loaded
        FileChanged,     // the ROM changed between planning and writing
        WriteFailed,     // the new ROM could not be written; the old one is unchanged
        TooLarge,        // far too long to be a ROM of these games
        Busy,            // another instance holds the ROM's lock
        InTheWay,        // the data would overwrite what must stay (a table, another picture)
        Unreachable,     // no picture pointer can lead there, or the game cannot read it whole
        NoRoom,          // the free-space search found no place
        BadPicture,      // the picture to write does not fit its slot (size, stream)
        NotThisGame,     // no ROM of Pokemon Gold or Silver (no language byte, no picture)
        BadShape,        // a shape the game does not draw whole in that slot
    };
    Kind kind;
    std::string message; // German, shown as is in the error box
    int systemCode = 0;  // errno of a failed open, read or write
    std::string english; // the same facts in English
};

// The numbers a request carries, as OutOfRange names them.
enum class NumberField { Offset, PokemonNumber, UnownIndex, TrainerNumber, NameLength };

// The places in a ROM that TooShort names when the file ends before them.
enum class RomPart { PictureData, PointerTable, Palette, Name, SizeByte, Header, NameTablePointer };

// Message texts. German offsets appear as "&H" and upper-case hex digits, the
// way the offset field accepts them; English ones as "0x", the way the
// command line writes them.
std::string HexText(int64_t value);
std::string HexEnglish(int64_t value);

// "Die Datei \"<path>\" konnte nicht geöffnet werden (Systemfehler <code>: <text>)."
RomError OpenFailed(const std::filesystem::path& path, int code);
// "Error: <code>" (the insertion step's own wording for a failed open)
// English: "The ROM file could not be opened (system error <code>: <text>). Nothing was written."
RomError InsertOpenFailed(int code);
// "Die Datei \"<path>\" konnte nicht gelesen werden (Systemfehler <code>: <text>)."
RomError ReadFailed(const std::filesystem::path& path, int code);
// "Die Datei \"<path>\" ist mit <size> Bytes zu groß für ein Rom (höchstens <max> Bytes)."
RomError TooLarge(const std::filesystem::path& path, int64_t size, int64_t max);
// "Die Datei \"<path>\" ist zu kurz für <part> (benötigt bis <end>, Dateilänge <size>)."
// <part> in the accusative, e.g. "die Zeigertabelle".
// English: "The file \"<path>\" is too short for the pointer table (needs up to <end>, file length <size>)."
RomError TooShort(const std::filesystem::path& path, RomPart part, int64_t end, int64_t size);
// "Fehler: Sprache des Roms konnte nicht erkannt werden."
RomError LanguageUnknown();
// "<Der Offset | Die Pokemonnummer | Der Unown-Index | Die Trainernummer | Die Namenslänge>
// <value> liegt außerhalb des erlaubten Bereichs von <min> bis <max>."
// English: "Pokemon number 300 is outside the allowed range 1 to 251."
RomError OutOfRange(NumberField field, int64_t value, int64_t min, int64_t max);
// "Die Bibliothek libvexlib.so konnte nicht geladen werden: <detail>"
RomError CodecMissing(const std::string& detail);

} // namespace orv::rom
