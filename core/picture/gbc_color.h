#pragma once
// The games' 15-bit colours and their 4-byte palette pairs.

#include <array>
#include <cstdint>
#include <string>

namespace orv {

using GbcColor = uint16_t; // bits 0..4 red, 5..9 green, 10..14 blue

// 0x00RRGGBB -> word: each 8-bit component divided by 8.
GbcColor ToGbcColor(uint32_t colour);
// word -> 0x00RRGGBB: each 5-bit component c becomes c * 255 / 31; bit 15 ignored.
uint32_t FromGbcColor(GbcColor word);

// Colour 1 then colour 2, each low byte first.
using PalettePair = std::array<uint8_t, 4>;
PalettePair MakePalettePair(uint32_t colour1, uint32_t colour2);
// The two colours of a pair, as 0x00RRGGBB.
std::array<uint32_t, 2> PairColours(const PalettePair& pair);
// The 4 bytes in file order, two upper-case hexadecimal digits each ("FF03007C").
std::string PaletteText(const PalettePair& pair);

// Palette of a picture taken by bare offset: yellow and blue.
constexpr PalettePair kDefaultPalettePair{0xFF, 0x03, 0x00, 0x7C};

} // namespace orv
