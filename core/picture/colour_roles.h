#pragma once
// Which colours of a picture take the roles of colours 1 and 2 when none are
// chosen, so that a picture taken out of a ROM and edited by any paint
// program that keeps its four colours goes back with the same tile data and
// palette order.

#include <optional>
#include <vector>

#include "gbc_color.h"
#include "working_picture.h"

namespace orv {

struct ColourRoles {
    Colour colour1 = 0, colour2 = 0;
};

// The slot's pair, when every colour of the picture besides white and black
// is one of its two as a game colour: each picture colour takes the role it
// has there, and a role the picture does not use keeps the slot's colour.
std::optional<ColourRoles> SlotColourRoles(const std::vector<Colour>& colours, const PalettePair& pair);

// An indexed picture's table in shade order (entry 0 white, entry 3 black):
// entries 1 and 2. With the slot's pair, an entry no pixel uses (not in
// used) keeps the slot's colour.
std::optional<ColourRoles> TableColourRoles(const std::vector<Colour>& table, const std::vector<Colour>& used,
                                            const std::optional<PalettePair>& slotPair);

// Stand-ins for shades 1 and 2 while a grayscale picture is coded; never
// white or black.
constexpr Colour kGrayShade1 = 0x010101, kGrayShade2 = 0x020202;

// A grayscale picture beside a given pair (a pack's normal.pal): its pixels as
// white, kGrayShade1, kGrayShade2 and black by lightness; four grays in their
// order, fewer each by the nearest of 255, 170, 85 and 0. None for more than
// four grays or any other colour.
std::optional<WorkingPicture> ShadesByLightness(WorkingPicture picture);

} // namespace orv
