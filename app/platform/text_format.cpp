#include "rom_error.h"

#include <cstdio>

#include "binary_file.h"

namespace orv::rom {

namespace {
std::string hex(const char* prefix, int64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%s%s%llX", value < 0 ? "-" : "", prefix,
                  static_cast<unsigned long long>(value < 0 ? -value : value));
    return text;
}
} // namespace

std::string HexText(int64_t value) { return hex("&H", value); }
std::string HexEnglish(int64_t value) { return hex("0x", value); }

namespace {

struct Words {
    const char* german;
    const char* english;
};

Words words(NumberField field)
{
    switch (field) {
    case NumberField::Offset: return {"Der Offset", "Offset"};
    case NumberField::PokemonNumber: return {"Die Pokemonnummer", "Pokemon number"};
    case NumberField::UnownIndex: return {"Der Unown-Index", "Unown index"};
    case NumberField::TrainerNumber: return {"Die Trainernummer", "Trainer number"};
    case NumberField::NameLength: return {"Die Namenslänge", "Name length"};
    }
    return {"Der Wert", "Value"};
}

Words words(RomPart part)
{
    switch (part) {
    case RomPart::PictureData: return {"die Bilddaten", "the picture data"};
    case RomPart::PointerTable: return {"die Zeigertabelle", "the pointer table"};
    case RomPart::Palette: return {"die Palette", "the palette"};
    case RomPart::Name: return {"den Namen", "the name"};
    case RomPart::SizeByte: return {"die Größenangabe", "the size byte"};
    case RomPart::Header: return {"den Kopf des Roms", "the ROM header"};
    case RomPart::NameTablePointer: return {"den Zeiger auf die Namenstabelle", "the pointer to the name table"};
    }
    return {"die Daten", "the data"};
}

std::string quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

} // namespace

RomError OpenFailed(const std::filesystem::path& path, int code)
{
    return {RomError::Kind::OpenFailed,
            "Die Datei " + quoted(path) + " konnte nicht geöffnet werden (" + systemErrorGerman(code) + ").",
            code, "The file " + quoted(path) + " could not be opened (" + systemErrorEnglish(code) + ")."};
}

RomError InsertOpenFailed(int code)
{
    return {RomError::Kind::OpenFailed, "Error: " + std::to_string(code), code,
            "The ROM file could not be opened (" + systemErrorEnglish(code) + "). Nothing was written."};
}

RomError ReadFailed(const std::filesystem::path& path, int code)
{
    return {RomError::Kind::ReadFailed,
            "Die Datei " + quoted(path) + " konnte nicht gelesen werden (" + systemErrorGerman(code) + ").",
            code, "The file " + quoted(path) + " could not be read (" + systemErrorEnglish(code) + ")."};
}

RomError TooLarge(const std::filesystem::path& path, int64_t size, int64_t max)
{
    return {RomError::Kind::TooLarge,
            "Die Datei " + quoted(path) + " ist mit " + std::to_string(size) + " Bytes zu groß für ein Rom (höchstens " +
                std::to_string(max) + " Bytes).",
            0,
            "The file " + quoted(path) + " is too large for a ROM at " + std::to_string(size) + " bytes (at most " +
                std::to_string(max) + ")."};
}

RomError TooShort(const std::filesystem::path& path, RomPart part, int64_t end, int64_t size)
{
    const auto [german, english] = words(part);
    return {RomError::Kind::TooShort,
            "Die Datei " + quoted(path) + " ist zu kurz für " + german + " (benötigt bis " + HexText(end) +
                ", Dateilänge " + HexText(size) + ").",
            0,
            "The file " + quoted(path) + " is too short for " + english + " (needs up to " + HexEnglish(end) +
                ", file length " + HexEnglish(size) + ")."};
}

RomError LanguageUnknown()
{
    return {RomError::Kind::LanguageUnknown, "Fehler: Sprache des Roms konnte nicht erkannt werden.", 0,
            "The language of the ROM could not be recognised."};
}

RomError OutOfRange(NumberField field, int64_t value, int64_t min, int64_t max)
{
    const auto [german, english] = words(field);
    // English offsets as the command line writes them.
    const auto number = [field](int64_t v) {
        return field == NumberField::Offset && v >= 0 ? HexEnglish(v) : std::to_string(v);
    };
    return {RomError::Kind::OutOfRange,
            german + (" " + std::to_string(value)) + " liegt außerhalb des erlaubten Bereichs von " +
                std::to_string(min) + " bis " + std::to_string(max) + ".",
            0,
            english + (" " + number(value)) + " is outside the allowed range " + number(min) + " to " + number(max) +
                "."};
}

RomError CodecMissing(const std::string& detail)
{
    return {RomError::Kind::CodecMissing, "Die Bibliothek libvexlib.so konnte nicht geladen werden: " + detail, 0,
            "The library libvexlib.so could not be loaded: " + detail};
}

} // namespace orv::rom
