// One slot type for every request: table entries, ranges, and where a slot's
// pointer and palette lie (the layout written down here independently).

#include <gtest/gtest.h>

#include "core_facts.h"
#include "slot.h"

namespace orv::rom {
namespace {

using K = Slot::Kind;

TEST(Slot, TableEntriesAndRanges)
{
    EXPECT_EQ(TableEntry({K::Pokemon, 201, true, true}), (Slot{K::Unown, 1, true, false}));
    EXPECT_EQ(TableEntry({K::Trainer, 5, true, true}), (Slot{K::Trainer, 5, false, false}));
    EXPECT_EQ(TableEntry({K::Pokemon, 25, true, true}), (Slot{K::Pokemon, 25, true, false}));
    // Checked: the shiny choice stays where a palette has one.
    EXPECT_EQ(CheckedSlot({K::Pokemon, 201, false, true}).value(), (Slot{K::Unown, 1, false, true}));
    EXPECT_EQ(CheckedSlot({K::Trainer, 66, true, true}).value(), (Slot{K::Trainer, 66}));
    const std::pair<Slot, Error> refused[] = {
        {{K::Pokemon, 0}, OutOfRangeError(NumberField::PokemonNumber, 0, 1, 251)},
        {{K::Pokemon, 5'000'000'000}, OutOfRangeError(NumberField::PokemonNumber, 5'000'000'000, 1, 251)},
        {{K::Unown, 27}, OutOfRangeError(NumberField::UnownIndex, 27, 1, 26)},
        {{K::Trainer, 67}, OutOfRangeError(NumberField::TrainerNumber, 67, 1, 66)},
    };
    for (const auto& [slot, error] : refused)
        EXPECT_EQ(test::Facts(CheckedSlot(slot)), test::Facts(error));
}

TEST(Slot, PointerAndPaletteLocations)
{
    const std::tuple<Slot, int64_t, int64_t> cases[] = {
        {{K::Pokemon, 1}, 0x48000, 0xAD45},
        {{K::Pokemon, 25, true, true}, 0x48093, 0xAE09},
        {{K::Pokemon, 201, true}, 0x7C003, 0xB385}, // the Unown table, Pokemon 201's palette
        {{K::Unown, 3, false, true}, 0x7C00C, 0xB389},
        {{K::Trainer, 2, true, true}, 0x80003, 0xB545},
    };
    for (const auto& [slot, pointer, palette] : cases) {
        EXPECT_EQ(PointerLocation(slot), pointer) << slot.number;
        EXPECT_EQ(PaletteLocation(slot), palette) << slot.number;
    }
}

TEST(Slot, AllSlotsInTableOrder)
{
    const auto& entries = AllPictureSlots();
    const auto& listed = AllPictureSlots(Pokemon201::Listed);
    EXPECT_EQ(entries.size(), 250u * 2 + 26 * 2 + 66);
    EXPECT_EQ(listed.size(), entries.size() + 2);
    EXPECT_EQ(listed[400], (Slot{K::Pokemon, 201, false}));
    EXPECT_EQ(entries[400], (Slot{K::Pokemon, 202, false}));
    EXPECT_EQ(entries.back(), (Slot{K::Trainer, 66}));
    for (const Slot& slot : entries)
        EXPECT_EQ(TableEntry(slot), slot);
}

} // namespace
} // namespace orv::rom
