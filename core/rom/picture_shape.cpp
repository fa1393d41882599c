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

SlotKind KindOf(const Slot& slot)
{
    const Slot entry = TableEntry(slot);
    switch (entry.kind) {
    case Slot::Kind::Trainer: return SlotKind::Trainer;
    case Slot::Kind::Unown: return entry.back ? SlotKind::UnownBack : SlotKind::UnownFront;
    case Slot::Kind::Pokemon: break;
    }
    return entry.back ? SlotKind::PokemonBack : SlotKind::PokemonFront;
}

} // namespace orv::rom
