#include "rom_error.h"

#include <cstdio>

namespace orv::rom {

std::string HexText(int64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%s&H%llX", value < 0 ? "-" : "",
                  static_cast<unsigned long long>(value < 0 ? -value : value));
    return text;
}

namespace {
std::string quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }
} // namespace

RomError OpenFailed(const std::filesystem::path& path, int code)
{
    return {RomError::Kind::OpenFailed,
            "Die Datei " + quoted(path) + " konnte nicht geöffnet werden (Systemfehler " +
                std::to_string(code) + ").",
            code};
}

RomError InsertOpenFailed(int code)
{
    return {RomError::Kind::OpenFailed, "Error: " + std::to_string(code), code};
}

RomError ReadFailed(const std::filesystem::path& path, int code)
{
    return {RomError::Kind::ReadFailed,
            "Die Datei " + quoted(path) + " konnte nicht gelesen werden (Systemfehler " +
                std::to_string(code) + ").",
            code};
}

RomError TooShort(const std::filesystem::path& path, const std::string& what, int64_t end, int64_t size)
{
    return {RomError::Kind::TooShort, "Die Datei " + quoted(path) + " ist zu kurz für " + what +
                                          " (benötigt bis " + HexText(end) + ", Dateilänge " +
                                          HexText(size) + ")."};
}

RomError LanguageUnknown()
{
    return {RomError::Kind::LanguageUnknown, "Fehler: Sprache des Roms konnte nicht erkannt werden."};
}

RomError OutOfRange(const std::string& what, int64_t value, int64_t min, int64_t max)
{
    return {RomError::Kind::OutOfRange, what + " " + std::to_string(value) +
                                            " liegt außerhalb des erlaubten Bereichs von " +
                                            std::to_string(min) + " bis " + std::to_string(max) + "."};
}

RomError CodecMissing(const std::string& detail)
{
    return {RomError::Kind::CodecMissing,
            "Die Bibliothek libvexlib.so konnte nicht geladen werden: " + detail};
}

} // namespace orv::rom
