#include "colours.h"

#include <unordered_set>

#include "gbc_color.h"

namespace orv {

std::expected<std::vector<Colour>, Error> CollectColours(const WorkingPicture& picture)
{
    std::vector<Colour> colours;
    std::unordered_set<Colour> seen;
    for (int x = 0; x < picture.width; ++x) {
        for (int y = 0; y < picture.height; ++y) {
            const Colour colour = picture.at(x, y);
            if (colour == kBlack || colour == kWhite || !seen.insert(colour).second)
                continue;
            if (colours.size() == kMaxListedColours)
                return std::unexpected(Error{.kind = ErrorKind::TooManyColours});
            colours.push_back(colour);
        }
    }
    return colours;
}

std::string ColourItemText(Colour colour)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string text(6, '0');
    for (int i = 5; i >= 0; --i, colour >>= 4)
        text[static_cast<size_t>(i)] = digits[colour & 0xF];
    return text;
}

static int matchShade(const Palette& palette, Colour colour)
{
    if (colour == palette[0])
        return 0;
    if (colour == palette[3])
        return 3;
    if (colour == palette[1])
        return 1;
    if (colour == palette[2])
        return 2;
    return -1;
}

int ShadeIndex(const Palette& palette, Colour colour)
{
    int shade = matchShade(palette, colour);
    if (shade < 0)
        shade = matchShade(palette, palette[4]);
    return shade < 0 ? 0 : shade;
}

int ColourOverrideIndex(long long stored)
{
    return stored >= 0 && stored < kSubstituteChoices ? static_cast<int>(stored) : 0;
}

std::optional<Colour> SubstituteColour(int index, Colour chosenColour1, Colour chosenColour2)
{
    switch (index) {
    case 0: return kBlack;
    case 1: return kWhite;
    case 2: return chosenColour1;
    case 3: return chosenColour2;
    default: return std::nullopt;
    }
}

ColourMapping ApplyColourMapping(const ColourMappingRequest& request)
{
    ColourMapping result;
    result.palette = request.palette;
    result.palette[0] = kWhite;
    if (request.colour1)
        result.palette[1] = *request.colour1;
    if (request.colour2)
        result.palette[2] = *request.colour2;
    result.palette[3] = kBlack;
    if (request.substitute)
        result.palette[4] = *request.substitute;
    result.rawLength = RawLengthFor(request.width, request.height);
    result.paletteText = PaletteText(MakePalettePair(result.palette[1], result.palette[2]));
    return result;
}

} // namespace orv
