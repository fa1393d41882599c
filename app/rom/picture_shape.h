#pragma once
// The picture shapes the games draw whole in each kind of slot. A front
// picture is drawn from the low nibble of its size byte (its height in
// tiles): 5 as 5 x 5 tiles, 6 as 6 x 6, anything else as 7 x 7. Back
// pictures are always drawn as 6 x 6 tiles, trainer pictures as 7 x 7. The
// 26 Unown fronts share the size byte of Pokemon 201.

#include <cstdint>
#include <string>
#include <vector>

namespace orv::rom {

enum class SlotKind { PokemonFront, PokemonBack, UnownFront, UnownBack, Trainer };

struct PictureShape {
    int width = 0, height = 0; // pixels
    bool operator==(const PictureShape&) const = default;
};

// The shape a front picture with this size byte is drawn in.
PictureShape DrawnFrontShape(uint8_t sizeByte);

// The shapes drawn whole in a slot of this kind. An Unown front takes the
// shape its shared size byte draws now, unless all 26 fronts take a new shape
// together (allUnownFronts): then any shape a Pokemon front may have.
std::vector<PictureShape> ShownShapes(SlotKind kind, uint8_t unownSizeByte, bool allUnownFronts);
bool GameShows(SlotKind kind, PictureShape shape, uint8_t unownSizeByte, bool allUnownFronts);

// "40 x 40, 48 x 48 oder 56 x 56" / "40 x 40, 48 x 48 or 56 x 56".
std::string ShapeList(const std::vector<PictureShape>& shapes, bool english);

} // namespace orv::rom
