#include "colour_roles.h"

#include <algorithm>
#include <array>
#include <functional>

namespace orv {

std::optional<ColourRoles> SlotColourRoles(const std::vector<Colour>& colours, const PalettePair& pair)
{
    const auto [slot1, slot2] = PairColours(pair);
    const GbcColor word1 = ToGbcColor(slot1), word2 = ToGbcColor(slot2);
    if (colours.empty() || word1 == word2)
        return std::nullopt;
    ColourRoles roles{slot1, slot2};
    for (Colour c : colours) {
        if (ToGbcColor(c) == word1)
            roles.colour1 = c;
        else if (ToGbcColor(c) == word2)
            roles.colour2 = c;
        else
            return std::nullopt;
    }
    return roles;
}

std::optional<ColourRoles> TableColourRoles(const std::vector<Colour>& table, const std::vector<Colour>& used,
                                            const std::optional<PalettePair>& slotPair)
{
    if (table.size() < 4 || table[0] != kWhite || table[3] != kBlack)
        return std::nullopt;
    ColourRoles roles{table[1], table[2]};
    if (slotPair) {
        const auto [slot1, slot2] = PairColours(*slotPair);
        if (std::ranges::find(used, roles.colour1) == used.end())
            roles.colour1 = slot1;
        if (std::ranges::find(used, roles.colour2) == used.end())
            roles.colour2 = slot2;
    }
    return roles;
}

namespace {

bool isGray(Colour c) { return (c >> 16 & 0xFF) == (c & 0xFF) && (c >> 8 & 0xFF) == (c & 0xFF); }

} // namespace

std::optional<WorkingPicture> ShadesByLightness(WorkingPicture picture)
{
    std::vector<Colour> grays;
    for (Colour c : picture.pixels) {
        if (!isGray(c))
            return std::nullopt;
        if (std::ranges::find(grays, c) == grays.end()) {
            if (grays.size() == 4)
                return std::nullopt;
            grays.push_back(c);
        }
    }
    std::ranges::sort(grays, std::greater<>());
    constexpr std::array<Colour, 4> kShades{kWhite, kGrayShade1, kGrayShade2, kBlack};
    const auto shadeOf = [&](Colour gray) {
        if (grays.size() == 4)
            return static_cast<size_t>(std::ranges::find(grays, gray) - grays.begin());
        return static_cast<size_t>((255 - (gray & 0xFF) + 42) / 85); // 0..3, the nearest level
    };
    for (Colour& c : picture.pixels)
        c = kShades[shadeOf(c)];
    return picture;
}

} // namespace orv
