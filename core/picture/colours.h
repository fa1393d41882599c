#pragma once
// Colours of a loaded picture and their reduction to four shades.

#include <array>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <vector>

#include "error.h"
#include "working_picture.h"

namespace orv {

using Palette = std::array<Colour, 5>;

// Longest colour list offered for choosing colours 1 and 2.
constexpr size_t kMaxListedColours = 255;

// Colours other than black and white, in first-occurrence order of a scan
// that takes the columns left to right and each column from the bottom line
// up. TooManyColours beyond kMaxListedColours.
std::expected<std::vector<Colour>, Error> CollectColours(const WorkingPicture& picture);

// A colour list item: six upper-case hexadecimal digits RRGGBB.
std::string ColourItemText(Colour colour);

// Exchanges bits 0..7 with bits 16..23 (0x00RRGGBB <-> 0x00BBGGRR).
constexpr Colour SwapRedBlue(Colour colour)
{
    return (colour & 0xFF00FF00u) | ((colour & 0xFFu) << 16) | ((colour >> 16) & 0xFFu);
}

// Shade 0..3 of a colour: compared with palette[0], [3], [1], [2] in this
// order; any other colour is replaced once by palette[4]. When palette[4]
// matches none of them either, the colour gets shade 0 (white).
int ShadeIndex(const Palette& palette, Colour colour);

// Items chosen in the lists of colour 1 and colour 2 when a picture is
// loaded: the first and the second colour found (a shorter list leaves its
// palette entry).
inline constexpr int kPreselectedColour1 = 0;
inline constexpr int kPreselectedColour2 = 1;

// The four choices for the remaining colours: black, white, colour 1, colour 2.
inline constexpr int kSubstituteChoices = 4;

// A stored choice of the remaining colours as an index of the four: anything
// outside 0..3 (including -1, nothing selected) becomes 0, black, so the
// substitute always is one of the four shades.
int ColourOverrideIndex(long long stored);

// The colour of a remaining-colours choice: black, white, or the colour last chosen
// as colour 1 or colour 2. Empty for an index outside 0..3.
std::optional<Colour> SubstituteColour(int index, Colour chosenColour1, Colour chosenColour2);

struct ColourMappingRequest {
    Palette palette;                  // the current Palette
    std::optional<Colour> colour1;    // the colour chosen as colour 1, if any
    std::optional<Colour> colour2;    // the colour chosen as colour 2, if any
    std::optional<Colour> substitute; // what the remaining colours become, if chosen
    int width = 0;                    // PicWidth
    int height = 0;                   // PicHeight
};

struct ColourMapping {
    Palette palette;         // white, colour 1, colour 2, black, substitute
    int32_t rawLength = 0;   // PicWidth * (PicHeight / 4)
    std::string paletteText; // e.g. "FF03007C"
};

// The four shades from the choices: a colour not chosen keeps its palette entry.
ColourMapping ApplyColourMapping(const ColourMappingRequest& request);

// Bytes of 2-bit tile data a picture of this size needs.
constexpr int32_t RawLengthFor(int width, int height)
{
    return width <= 0 || height <= 0 ? 0 : width * (height / 4);
}

} // namespace orv
