#pragma once
// Colours of a loaded picture and their reduction to four shades (page 8).

#include <array>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <vector>

#include "picture_error.h"
#include "working_picture.h"

namespace orv {

using Palette = std::array<Colour, 5>;

// Longest colour list page 8 offers.
constexpr size_t kMaxListedColours = 255;

// Colours other than black and white, in first-occurrence order of a scan
// that takes the columns left to right and each column from the bottom line
// up. Refused with:
//   "Das Bild enthält mehr als 255 Farben außer Schwarz und Weiß. Bitte
//    verringern Sie die Anzahl der Farben und laden Sie das Bild erneut."
// (English: "The picture has more than 255 colours besides black and white. ...")
std::expected<std::vector<Colour>, PictureError> CollectColours(const WorkingPicture& picture);

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

// Items chosen in the "Farbe 1:" and "Farbe 2:" lists when a picture is
// loaded: the first and the second colour found (a shorter list leaves its
// palette entry).
inline constexpr int kPreselectedColour1 = 0;
inline constexpr int kPreselectedColour2 = 1;

// The four items of "Restliche Farben zu:" (Combo5).
inline constexpr std::array<const char*, 4> kSubstituteTexts{"Schwarz", "Weiß", "Farbe 1", "Farbe 2"};

// The stored "ColorOverride" as an index into kSubstituteTexts: anything
// outside 0..3 (including -1, "nothing selected") becomes 0 "Schwarz", so the
// substitute always is one of the four shades.
int ColourOverrideIndex(long long stored);

// Item data of Combo5's item index: black, white, or the colour last chosen
// as colour 1 or colour 2. Empty for an index outside 0..3.
std::optional<Colour> SubstituteColour(int index, Colour chosenColour1, Colour chosenColour2);

struct ColourMappingRequest {
    Palette palette;                  // the current Palette
    std::optional<Colour> colour1;    // Combo3's selected item data, if any
    std::optional<Colour> colour2;    // Combo4's selected item data, if any
    std::optional<Colour> substitute; // Combo5's selected item data, if any
    int width = 0;                    // PicWidth
    int height = 0;                   // PicHeight
};

struct ColourMapping {
    Palette palette;         // white, colour 1, colour 2, black, substitute
    int32_t rawLength = 0;   // PicWidth * (PicHeight / 4)
    std::string paletteText; // e.g. "FF03007C"
};

// Page 8's Next: a list without a selection keeps its palette entry.
ColourMapping ApplyColourMapping(const ColourMappingRequest& request);

// Bytes of 2-bit tile data a picture of this size needs.
constexpr int32_t RawLengthFor(int width, int height)
{
    return width <= 0 || height <= 0 ? 0 : width * (height / 4);
}

} // namespace orv
