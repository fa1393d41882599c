#include "picture_shape.h"

#include <algorithm>

namespace orv::rom {

namespace {
constexpr PictureShape kSmall{40, 40}, kMiddle{48, 48}, kLarge{56, 56};
} // namespace

PictureShape DrawnFrontShape(uint8_t sizeByte)
{
    switch (sizeByte & 0x0F) {
    case 5: return kSmall;
    case 6: return kMiddle;
    default: return kLarge;
    }
}

std::vector<PictureShape> ShownShapes(SlotKind kind, uint8_t unownSizeByte, bool allUnownFronts)
{
    switch (kind) {
    case SlotKind::PokemonBack:
    case SlotKind::UnownBack: return {kMiddle};
    case SlotKind::Trainer: return {kLarge};
    case SlotKind::UnownFront:
        if (!allUnownFronts)
            return {DrawnFrontShape(unownSizeByte)};
        break;
    case SlotKind::PokemonFront: break;
    }
    return {kSmall, kMiddle, kLarge};
}

bool GameShows(SlotKind kind, PictureShape shape, uint8_t unownSizeByte, bool allUnownFronts)
{
    const auto shown = ShownShapes(kind, unownSizeByte, allUnownFronts);
    return std::ranges::find(shown, shape) != shown.end();
}

std::string ShapeList(const std::vector<PictureShape>& shapes, bool english)
{
    std::string list;
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (i > 0)
            list += i + 1 < shapes.size() ? ", " : english ? " or " : " oder ";
        list += std::to_string(shapes[i].width) + " x " + std::to_string(shapes[i].height);
    }
    return list;
}

} // namespace orv::rom
