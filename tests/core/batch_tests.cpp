// Several pictures into their slots as one planned change.

#include <gtest/gtest.h>

#include "batch_plan.h"
#include "codec.h"
#include "core_facts.h"
#include "extraction.h"
#include "free_space.h"
#include "synthetic_rom.h"
#include "tiles.h"

namespace orv::rom {
namespace {

using Bytes = std::vector<uint8_t>;
using K = Slot::Kind;

BatchItem Coded(std::string name, Slot slot, Bytes tiles, int side, uint32_t colour1 = 0xFFFF00,
                uint32_t colour2 = 0x0000FF, bool literal = false)
{
    Bytes stream = literal ? WrapUncompressed(tiles) : codec::Encode(tiles).value();
    return {std::move(name), slot, std::move(tiles), std::move(stream), colour1, colour2, side, side};
}

class Batch : public ::testing::Test {
protected:
    test::SyntheticRom rom = test::SyntheticRom::Standard('E');
    RomImage image{rom.bytes};

    // The slot as the planned patches leave the ROM.
    ExtractedPicture after(const BatchPlan& plan, const Slot& slot) const
    {
        const RomImage changed(ApplyPatches(image, plan.patches).value());
        return ExtractFromRom(changed, {.slot = slot}).value();
    }
};

TEST_F(Batch, UnchangedInPlaceMovedAndRepeated)
{
    const auto& front = rom.picture("poke1front");
    const auto& trainer = rom.picture("trainer2");
    const std::vector<BatchItem> items{
        {"same", Slot{}, front.tiles, front.stream, 0xFFFF00, 0x0000FF, 56, 56},
        Coded("smaller", {K::Pokemon, 1, true}, Bytes(36 * 16, 0), 48),
        Coded("larger", {K::Trainer, 2}, test::MakeTiles(49, 3), 56, 0xFFFF00, 0x0000FF, true),
        Coded("unown", {K::Unown, 1}, test::MakeTiles(25, 4), 40), // the Unown fronts' size byte draws 40 x 40
        Coded("alias", {K::Pokemon, 201}, test::MakeTiles(25, 4), 40),
    };
    auto plan = PlanBatch(image, items);
    ASSERT_TRUE(plan) << test::Facts(plan.error().error);
    ASSERT_EQ(plan->steps.size(), 5u);
    EXPECT_EQ(plan->changed, 3u);
    const BatchStep& same = plan->steps[0];
    EXPECT_EQ(std::tuple(same.item, same.outcome), std::tuple(size_t{0}, BatchOutcome::Unchanged));
    const BatchStep& alias = plan->steps[1];
    EXPECT_EQ(std::tuple(alias.item, alias.outcome, alias.sameAs), std::tuple(size_t{4}, BatchOutcome::SameAs, size_t{3}));

    const BatchStep& smaller = plan->steps[2];
    EXPECT_EQ(smaller.outcome, BatchOutcome::InPlace);
    EXPECT_EQ(smaller.offset, rom.picture("poke1back").offset);
    EXPECT_EQ(smaller.oldBytes, std::ssize(rom.picture("poke1back").stream));

    const BatchStep& larger = plan->steps[3];
    EXPECT_EQ(larger.outcome, BatchOutcome::Moved);
    EXPECT_EQ(std::tuple(larger.from, larger.fromOffset, larger.oldBytes),
              std::tuple(OldPlace::Zeroed, trainer.offset, std::ssize(trainer.stream)));
    EXPECT_GE(larger.offset, test::kFreeArea);
    EXPECT_EQ(larger.bytes, std::ssize(items[2].stream));

    // The Unown table's first entry is the placeholder every other entry shares: left there.
    const BatchStep& unown = plan->steps[4];
    EXPECT_EQ(std::tuple(unown.outcome, unown.from), std::tuple(BatchOutcome::Moved, OldPlace::Shared));
    EXPECT_TRUE(plan->notes.empty()) << "the step tells it, not a note";

    for (size_t i : {1u, 2u, 3u})
        EXPECT_EQ(after(*plan, items[i].slot).tileData, items[i].tileData) << items[i].name;
    EXPECT_EQ(after(*plan, {K::Pokemon, 201}).tileData, items[4].tileData);
    // The trainer's old stream is zeros now, and counted as free.
    const Bytes changed = ApplyPatches(image, plan->patches).value();
    EXPECT_TRUE(std::all_of(changed.begin() + trainer.offset, changed.begin() + trainer.offset + std::ssize(trainer.stream),
                            [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(plan->freeBefore, test::kFreeAreaLength);
    int64_t freeAfter = 0;
    for (const FreeRun& run : FreeRuns(changed, kCountedRunBytes))
        freeAfter += run.length;
    EXPECT_EQ(plan->freeAfter, freeAfter);
    EXPECT_GT(freeAfter, 0);
}

TEST_F(Batch, NotesConflictsAndNoRoom)
{
    // One palette, two colours; a trainer in a shape the game does not draw whole.
    std::vector<BatchItem> shared{
        Coded("front", {K::Pokemon, 5}, Bytes(49 * 16, 0x11), 56, 0xFF0000, 0x00FF00),
        Coded("back", {K::Pokemon, 5, true}, Bytes(36 * 16, 0x22), 48, 0x0000FF, 0x00FF00),
        Coded("small trainer", {K::Trainer, 66}, Bytes(36 * 16, 0x33), 48),
        Coded("small front", {K::Pokemon, 6}, Bytes(16 * 16, 0x44), 32),
    };
    auto misshapen = PlanBatch(image, shared);
    ASSERT_FALSE(misshapen);
    ASSERT_EQ(misshapen.error().misshapen.size(), 2u);
    EXPECT_EQ(misshapen.error().misshapen[0].first, 2u);
    EXPECT_EQ(test::Facts(misshapen.error().misshapen[0].second),
              test::Facts({.kind = ErrorKind::BadShape, .low = 48, .high = 48, .slot = Slot{K::Trainer, 66},
                           .shapes = {{56, 56}}}));
    EXPECT_EQ(misshapen.error().misshapen[1].first, 3u);
    // Any shape, for a ROM whose code draws others.
    auto plan = PlanBatch(image, shared, {.anyShape = true});
    ASSERT_TRUE(plan) << test::Facts(plan.error().error);
    ASSERT_FALSE(plan->notes.empty());
    const Note& clash = plan->notes.back().note;
    EXPECT_EQ(std::tuple(clash.kind, clash.text, clash.other),
              std::tuple(NoteKind::PaletteShared, std::string("back"), std::string("front")));

    auto conflict = PlanBatch(image, {Coded("a", {K::Unown, 1}, Bytes(400, 1), 40),
                                      Coded("b", {K::Pokemon, 201}, Bytes(400, 2), 40)});
    ASSERT_FALSE(conflict);
    EXPECT_EQ(test::Facts(conflict.error().error), test::Facts({.kind = ErrorKind::SlotConflict, .text = "a", .other = "b"}));
    EXPECT_FALSE(conflict.error().item);

    // Larger than any bank can take.
    const BatchItem huge = Coded("huge", {K::Trainer, 3}, test::MakeTiles(1024, 5), 56, 0xFFFF00, 0x0000FF, true);
    auto noRoom = PlanBatch(image, {huge});
    ASSERT_FALSE(noRoom);
    EXPECT_EQ(test::Facts(noRoom.error().error),
              test::Facts({.kind = ErrorKind::BatchNoRoom, .offset = test::kFreeArea, .value = std::ssize(huge.stream),
                           .low = 0x4000, .text = "huge"}));

    // The 26 Unown fronts take a new shape together only.
    std::vector<BatchItem> fronts;
    for (int u = 1; u <= 26; ++u)
        fronts.push_back(Coded("u" + std::to_string(u), {K::Unown, u}, test::MakeTiles(49, u), 56));
    EXPECT_TRUE(PlanBatch(image, fronts)) << "all 26 in one new shape";
    fronts.pop_back();
    auto some = PlanBatch(image, fronts);
    ASSERT_FALSE(some);
    EXPECT_EQ(some.error().misshapen.size(), 25u);

    // An item's own refusal names the item.
    auto refused = PlanBatch(image, {Coded("far", {K::Trainer, 67}, Bytes(256, 1), 32)});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().item, size_t{0});
    EXPECT_EQ(refused.error().error.kind, ErrorKind::OutOfRange);
}

// Palettes without pictures: palette items, and pictures whose tiles the
// slot holds already, each write the 4 bytes of their pair and nothing else.
TEST_F(Batch, PaletteItemsAndRecolouredPicturesWriteOnlyTheirPair)
{
    const auto& front = rom.picture("poke1front");
    const PalettePair red{0x1F, 0x00, 0x00, 0x00}, green{0xE0, 0x03, 0x00, 0x7C};
    const PalettePair shiny25{25, 0x33, 0x44, 25}; // as the synthetic ROM holds it
    const std::vector<BatchItem> items{
        PaletteItem("shiny.pal", {K::Pokemon, 7, false, true}, red),
        PaletteItem("kept.pal", {K::Pokemon, 25, false, true}, shiny25),
        Coded("front", {}, front.tiles, 56, 0x00FF00, 0x0000FF),           // Pokemon 1, new pair
        Coded("back", {K::Pokemon, 1, true}, rom.picture("poke1back").tiles, 48, 0x00FF00, 0x0000FF),
        PaletteItem("unown shiny", {K::Unown, 5, true, true}, green), // the letters' shared pair
    };
    auto plan = PlanBatch(image, items, {.paletteConflictsRefused = true});
    ASSERT_TRUE(plan) << test::Facts(plan.error().error);
    std::vector<std::tuple<size_t, BatchOutcome, int64_t>> steps;
    for (const BatchStep& step : plan->steps)
        steps.emplace_back(step.item, step.outcome, step.offset);
    EXPECT_EQ(steps, (std::vector<std::tuple<size_t, BatchOutcome, int64_t>>{
                         {1, BatchOutcome::Unchanged, 0},
                         {0, BatchOutcome::PaletteSet, 0xAD45 + 8 * 6 + 4},
                         {2, BatchOutcome::Recoloured, 0xAD45},
                         {3, BatchOutcome::Recoloured, 0xAD45},
                         {4, BatchOutcome::PaletteSet, 0xB389},
                     }));
    // Pokemon 1's pair once, though two pictures give it.
    std::vector<std::pair<int64_t, Bytes>> patches;
    for (const BytePatch& patch : plan->patches) {
        EXPECT_EQ(patch.kind, PatchKind::Palette);
        patches.emplace_back(patch.offset, patch.bytes);
    }
    EXPECT_EQ(patches, (std::vector<std::pair<int64_t, Bytes>>{{0xAD45 + 8 * 6 + 4, {0x1F, 0, 0, 0}},
                                                              {0xAD45, {0xE0, 0x03, 0x00, 0x7C}},
                                                              {0xB389, {0xE0, 0x03, 0x00, 0x7C}}}));
    EXPECT_EQ(plan->changed, 4u);
    EXPECT_TRUE(plan->notes.empty());
}

TEST_F(Batch, PairsOfOnePaletteMustAgreeUnderTheRule)
{
    const auto& front = rom.picture("poke1front");
    // The front as the ROM holds it (unchanged), the back with other colours.
    const std::vector<BatchItem> items{
        Coded("front.png", {}, front.tiles, 56, 0xFFFF00, 0x0000FF),
        Coded("back.png", {K::Pokemon, 1, true}, Bytes(36 * 16, 0x22), 48, 0xFF0000, 0x0000FF),
    };
    auto refused = PlanBatch(image, items, {.paletteConflictsRefused = true});
    ASSERT_FALSE(refused);
    EXPECT_EQ(test::Facts(refused.error().error),
              test::Facts({.kind = ErrorKind::PaletteConflict, .low = 0xFF03007C, .high = 0x1F00007C,
                           .text = "front.png", .other = "back.png"}));
    // The Unown letters and Pokemon 201 are one palette; shiny pairs are another.
    auto letters = PlanBatch(image, {PaletteItem("normal.pal", {K::Pokemon, 201}, {1, 2, 3, 4}),
                                     Coded("a", {K::Unown, 3}, Bytes(256, 1), 32, 0xFF0000, 0x00FF00),
                                     PaletteItem("shiny.pal", {K::Unown, 3, false, true}, {5, 6, 7, 8})},
                             {.paletteConflictsRefused = true});
    ASSERT_FALSE(letters);
    EXPECT_EQ(std::tuple(letters.error().error.text, letters.error().error.other),
              std::tuple(std::string("normal.pal"), std::string("a")));
    // Without the rule the later pair is written and told of.
    auto noted = PlanBatch(image, items);
    ASSERT_TRUE(noted) << test::Facts(noted.error().error);
    EXPECT_EQ(after(*noted, {K::Pokemon, 1, true}).palette.text, "1F00007C");
}

TEST(PaletteChange, OnePatchAtTheSlotsPalette)
{
    const RomImage rom(test::SyntheticRom::Standard('E').bytes);
    const PalettePair pair{0x12, 0x34, 0x56, 0x78};
    struct Row {
        Slot slot;
        int64_t location;
    };
    for (const Row& row : {Row{{K::Pokemon, 1}, 0xAD45}, Row{{K::Pokemon, 251, true, true}, 0xAD45 + 8 * 250 + 4},
                           Row{{K::Unown, 26, false, true}, 0xB389}, Row{{K::Trainer, 66}, 0xB645}}) {
        auto patch = PlanPaletteChange(rom, row.slot, pair);
        ASSERT_TRUE(patch) << test::Facts(patch.error());
        EXPECT_EQ(std::tuple(patch->kind, patch->offset, patch->bytes),
                  std::tuple(PatchKind::Palette, row.location, Bytes{0x12, 0x34, 0x56, 0x78}));
    }
    EXPECT_EQ(test::Facts(PlanPaletteChange(rom, {K::Trainer, 67}, pair)),
              test::Facts(OutOfRangeError(NumberField::TrainerNumber, 67, 1, 66)));
    const RomImage shorter(std::span(rom.bytes()).first(0xAD47));
    EXPECT_EQ(test::Facts(PlanPaletteChange(shorter, {K::Pokemon, 1}, pair)),
              test::Facts(TooShortError(RomPart::Palette, 0xAD49, 0xAD47)));
}

} // namespace
} // namespace orv::rom
