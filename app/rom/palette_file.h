#pragma once
// The sprite packs' .pal files: two colour lines "RGB r, g, b" with 5-bit
// components, colour 1 first, each written as "\tRGB 13, 23, 08".

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

#include "gbc_color.h"

namespace orv::rom {

struct PalFileError {
    enum class Kind {
        NotAColourLine,   // a line that is neither blank, a comment nor "RGB r, g, b"
        ComponentTooLarge, // a component above 31
        WrongLineCount,    // not exactly two colour lines
    };
    Kind kind;
    int line = 0;  // 1-based; the count of colour lines for WrongLineCount
    int value = 0; // the component for ComponentTooLarge
    bool operator==(const PalFileError&) const = default;
};

// Blank lines and text after ';' are ignored; the keyword is read in any case.
std::expected<PalettePair, PalFileError> ParsePalFile(std::string_view text);
std::string FormatPalFile(const PalettePair& pair);

// A 5-bit component as the packs' PNGs write it: (c << 3) | (c >> 2).
uint8_t PackComponent(unsigned fiveBits);
// A game colour word as such an 0x00RRGGBB colour.
uint32_t PackColour(GbcColor word);

} // namespace orv::rom
