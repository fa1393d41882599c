#pragma once
// Failures of the ROM core, each carrying the German text the wizard shows.

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
        WriteFailed,     // a write or the final flush failed
    };
    Kind kind;
    std::string message; // shown as is in the error box
    int systemCode = 0;  // errno of a failed open, read or write
};

// Message texts. Offsets appear as "&H" and upper-case hex digits, the way
// the offset field accepts them.
std::string HexText(int64_t value);

// "Die Datei \"<path>\" konnte nicht geöffnet werden (Systemfehler <code>)."
RomError OpenFailed(const std::filesystem::path& path, int code);
// "Error: <code>" (the insertion step's own wording for a failed open)
RomError InsertOpenFailed(int code);
// "Die Datei \"<path>\" konnte nicht gelesen werden (Systemfehler <code>)."
RomError ReadFailed(const std::filesystem::path& path, int code);
// "Die Datei \"<path>\" ist zu kurz für <what> (benötigt bis <end>, Dateilänge <size>)."
// `what` names the thing in the accusative, e.g. "die Zeigertabelle".
RomError TooShort(const std::filesystem::path& path, const std::string& what, int64_t end, int64_t size);
// "Fehler: Sprache des Roms konnte nicht erkannt werden."
RomError LanguageUnknown();
// "<what> <value> liegt außerhalb des erlaubten Bereichs von <min> bis <max>."
RomError OutOfRange(const std::string& what, int64_t value, int64_t min, int64_t max);
// "Die Bibliothek libvexlib.so konnte nicht geladen werden: <detail>"
RomError CodecMissing(const std::string& detail);

} // namespace orv::rom
