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
    auto plan = PlanBatch(image, shared, true);
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

} // namespace
} // namespace orv::rom
