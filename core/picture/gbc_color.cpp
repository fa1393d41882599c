#include "gbc_color.h"

namespace orv {

GbcColor ToGbcColor(uint32_t colour)
{
    const uint32_t r = (colour >> 16) & 0xFF, g = (colour >> 8) & 0xFF, b = colour & 0xFF;
    return static_cast<GbcColor>((b / 8) * 1024 + (g / 8) * 32 + (r / 8));
}

uint32_t FromGbcColor(GbcColor word)
{
    const uint32_t r = ((word & 0x1Fu) * 255) / 31;
    const uint32_t g = (((word >> 5) & 0x1Fu) * 255) / 31;
    const uint32_t b = (((word >> 10) & 0x1Fu) * 255) / 31;
    return (r << 16) | (g << 8) | b;
}

PalettePair MakePalettePair(uint32_t colour1, uint32_t colour2)
{
    const GbcColor a = ToGbcColor(colour1), b = ToGbcColor(colour2);
    return {static_cast<uint8_t>(a & 0xFF), static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(b & 0xFF),
            static_cast<uint8_t>(b >> 8)};
}

std::array<uint32_t, 2> PairColours(const PalettePair& pair)
{
    return {FromGbcColor(static_cast<GbcColor>(pair[0] | pair[1] << 8)),
            FromGbcColor(static_cast<GbcColor>(pair[2] | pair[3] << 8))};
}

std::string PaletteText(const PalettePair& pair)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (uint8_t byte : pair) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

} // namespace orv
