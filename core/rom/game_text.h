#pragma once
// The games' one-byte character code, and Pokemon names in the ROM.

#include <array>
#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "error.h"
#include "rom_image.h"

namespace orv::rom {

// Text of every byte value (UTF-8; empty for bytes without text, 0x50 included).
class CharTable {
public:
    CharTable();
    const std::string& text(uint8_t byte) const { return entries_[byte]; }

private:
    std::array<std::string, 256> entries_;
};

// The table the games use, built once.
const CharTable& GameCharTable();

// Appends the text of every byte; bytes without text add nothing.
std::string DecodeGameText(std::span<const uint8_t> bytes, const CharTable& table = GameCharTable());

struct UnencodableCharacter {
    std::string character; // the first character (UTF-8) without a table entry
    size_t index = 0;      // its position in characters, from 0
};
// Greedy longest match (up to 4 characters), lowest byte on ties.
std::expected<std::vector<uint8_t>, UnencodableCharacter>
EncodeGameText(std::string_view text, const CharTable& table = GameCharTable());

// The L bytes of a name field: the encoded name, then 0x50 up to L.
// NameUnencodable, NameTooLong; OutOfRange for L outside 1 .. 20.
std::expected<std::vector<uint8_t>, Error> NameFieldBytes(std::string_view name, int nameLength);

// Offset of Pokemon n's name: base from the language's table pointer + L * (n - 1).
// LanguageUnknown, OutOfRange (n outside 1 .. 251, L outside 1 .. 20), TooShort
// (the name) when the field lies past the end.
std::expected<int64_t, Error> PokemonNameLocation(const RomImage& rom, int number, int nameLength);

struct PokemonName {
    std::string text;
    int64_t offset = 0; // NameOffset
};
// Reads and decodes the L bytes of Pokemon n's name.
std::expected<PokemonName, Error> ReadPokemonName(const RomImage& rom, int number, int nameLength);

// The names of Pokemon 1 .. 251 as the ROM's name table holds them, each up to
// its first 0x50 (for showing beside the numbers); the errors of
// PokemonNameLocation, TooShort when the table runs past the end.
std::expected<std::vector<std::string>, Error> ReadPokemonNames(const RomImage& rom, int nameLength);

// The file name after the last "\" or "/", up to its first "."; the whole
// name when it has no ".".
std::string SourceNameFromPath(std::string_view path);

} // namespace orv::rom
