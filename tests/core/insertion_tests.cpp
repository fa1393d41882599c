#include <gtest/gtest.h>

#include <functional>

#include "codec.h"
#include "core_facts.h"
#include "free_space.h"
#include "game_text.h"
#include "insertion.h"
#include "rom_layout.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using Bytes = std::vector<uint8_t>;
using Change = std::function<void(InsertRequest&)>;
using Changes = std::vector<std::pair<int64_t, Bytes>>;
using K = Slot::Kind;

Bytes Encoded(int tiles, uint32_t seed) { return codec::Encode(test::MakeTiles(tiles, seed)).value(); }

const Bytes kData = Encoded(49, 99); // a 56 x 56 picture
const Bytes kData40 = Encoded(25, 98); // a 40 x 40 picture
const Bytes kData48 = Encoded(36, 97); // a 48 x 48 picture
const Bytes kPointer{0x7C, 0x00, 0x40}; // to 0x1F0000
const Bytes kYellowBlue{0xFF, 0x03, 0x00, 0x7C};

class Insertion : public ::testing::Test {
protected:
    // The request puts kData 56 x 56 at 0x1F0000 into Pokemon 1's front slot.
    InsertRequest request(const test::SyntheticRom& rom, const Change& change = {})
    {
        original_ = rom.bytes;
        InsertRequest r;
        r.encoded = kData;
        r.offset = 0x1F0000;
        r.slot = Slot{};
        r.colour1 = 0xFFFF00;
        r.colour2 = 0x0000FF;
        r.width = r.height = 56;
        if (change)
            change(r);
        return r;
    }

    // Plans on the ROM as requested and applies the patches, as the faces do.
    std::expected<InsertionPlan, Error> insert(const InsertRequest& r)
    {
        const RomImage rom(original_);
        auto plan = PlanInsertion(rom, r);
        if (!plan)
            return plan;
        auto bytes = ApplyPatches(rom, plan->patches);
        if (!bytes)
            return std::unexpected(bytes.error());
        result_ = std::move(*bytes);
        return plan;
    }

    std::expected<InsertionPlan, Error> plan(const InsertRequest& r) const
    {
        return PlanInsertion(RomImage(original_), r);
    }

    // The result is the original with exactly these bytes put in, in this order.
    void expectResult(const Changes& changes, const std::string& what)
    {
        Bytes wanted = original_;
        for (const auto& [offset, bytes] : changes)
            std::copy(bytes.begin(), bytes.end(), wanted.begin() + offset);
        const auto changed = test::ChangedOffsets(wanted, result_);
        EXPECT_TRUE(changed.empty()) << what << ": " << changed.size() << " bytes differ, first at 0x"
                                     << std::hex << (changed.empty() ? 0 : changed.front());
    }

    Bytes original_, result_;
};

TEST_F(Insertion, WritesExactlyTheSlotsBytes)
{
    const auto english = test::SyntheticRom::Standard('E');
    const auto german = test::SyntheticRom::Standard('D');
    const auto unknown = test::SyntheticRom::Standard('X');
    auto germanNoSpecies = german;
    germanNoSpecies.bytes[german.recordLocation(1)] = 0;
    const auto& oldUnown = english.picture("unown3front"); // bank 0x2E, stored as 0x1F
    const Bytes small = Encoded(25, 5);
    const Changes front{{0x1F0000, kData}, {0x48000, kPointer}, {0xAD45, kYellowBlue}};
    auto size56 = [](auto&) {};
    // What, ROM, request, the bytes written, why the size byte was left alone.
    const std::tuple<const char*, const test::SyntheticRom&, Change, Changes, std::optional<Note>> cases[] = {
        {"Pokemon 25 back shiny", english,
         [](auto& r) { r.slot = Slot{K::Pokemon, 25, true, true}; r.encoded = kData48; r.width = r.height = 48; },
         {{0x1F0000, kData48}, {0x48093, kPointer}, {0xAE09, kYellowBlue}}, std::nullopt},
        {"Pokemon 1 front, English", english, size56,
         {{0x1F0000, kData}, {0x48000, kPointer}, {0xAD45, kYellowBlue}, {0x51B1C, {0x77}}}, std::nullopt},
        {"Pokemon 1 front, German", german, size56,
         {{0x1F0000, kData}, {0x48000, kPointer}, {0xAD45, kYellowBlue}, {0x51B11, {0x77}}}, std::nullopt},
        {"Unown 3 by the box, deleting the original", english,
         [](auto& r) { r.slot = Slot{K::Unown, 3}; r.deleteOriginal = true; r.encoded = kData40; r.width = r.height = 40; },
         {{oldUnown.offset, Bytes(oldUnown.stream.size(), 0)}, {0x1F0000, kData40}, {0x7C00C, kPointer},
          {0xB385, kYellowBlue}, {0x5341C, {0x55}}}, std::nullopt},
        {"Unown 3 in a new size, all fronts together", english,
         [](auto& r) { r.slot = Slot{K::Unown, 3}; r.allUnownFronts = true; },
         {{0x1F0000, kData}, {0x7C00C, kPointer}, {0xB385, kYellowBlue}, {0x5341C, {0x77}}}, std::nullopt},
        {"any shape: 40 x 48 for a front", english,
         [](auto& r) { r.encoded = Encoded(30, 4); r.width = 40; r.height = 48; r.anyShape = true; },
         {{0x1F0000, Encoded(30, 4)}, {0x48000, kPointer}, {0xAD45, kYellowBlue}, {0x51B1C, {0x56}}}, std::nullopt},
        {"any shape: 72 x 72 for a front, the largest the size byte holds", english,
         [](auto& r) { r.encoded = Encoded(81, 4); r.width = r.height = 72; r.anyShape = true; },
         {{0x1F0000, Encoded(81, 4)}, {0x48000, kPointer}, {0xAD45, kYellowBlue}, {0x51B1C, {0x99}}}, std::nullopt},
        {"trainer 2 ignores the Pokemon choices", english,
         [](auto& r) { r.slot = Slot{K::Trainer, 2, true, true}; r.newName = "X"; },
         {{0x1F0000, kData}, {0x80003, kPointer}, {0xB545, kYellowBlue}}, std::nullopt},
        {"data alone, the rest ignored", unknown,
         [](auto& r) { r.slot.reset(); r.deleteOriginal = true; r.newName = "#"; },
         {{0x1F0000, kData}}, std::nullopt},
        {"its own old stream at its own offset, without a question", english,
         [&](auto& r) { r.offset = 0x100000; r.encoded = english.picture("poke1front").stream; },
         {{0x48000, {0x40, 0x00, 0x40}}, {0xAD45, kYellowBlue}, {0x51B1C, {0x77}}}, std::nullopt},
        {"deleting the original at the same offset", english,
         [&](auto& r) {
             r.offset = 0x100000; r.encoded = small; r.width = r.height = 40;
             r.deleteOriginal = true; r.newName = "NEU";
         },
         {{0x100000, Bytes(english.picture("poke1front").stream.size(), 0)}, {0x100000, small},
          {0xAD45, kYellowBlue}, {test::kNameTable, test::NameBytes("NEU")},
          {0x48000, {0x40, 0x00, 0x40}}, {0x51B1C, {0x55}}}, std::nullopt},
        {"unknown language", unknown, size56, front, Note{.kind = NoteKind::SizeByteLanguageUnknown}},
        {"German record without the number", germanNoSpecies, size56, front,
         Note{.kind = NoteKind::SizeByteRecord, .offset = 0x51B00, .value = 1, .low = 0}},
    };
    for (const auto& [what, rom, change, changes, note] : cases) {
        auto plan = insert(request(rom, change));
        ASSERT_TRUE(plan) << what << ": " << test::Facts(plan);
        EXPECT_EQ(plan->overwrite.bytes, 0) << what;
        ASSERT_EQ(plan->notes.size(), note ? 1u : 0u) << what;
        if (note) {
            EXPECT_EQ(plan->notes[0].kind, note->kind) << what;
            EXPECT_EQ(std::tuple(plan->notes[0].offset, plan->notes[0].value, plan->notes[0].low, plan->notes[0].high),
                      std::tuple(note->offset, note->value, note->low, note->high))
                << what;
        }
        expectResult(changes, what);
    }
}

TEST_F(Insertion, RefusedWithTheirFacts)
{
    auto english = test::SyntheticRom::Standard('E');
    // An old picture that runs into the end of the file without an end marker.
    english.put(test::kRomSize - 3, Bytes{0x1F, 0x01, 0x02});
    english.setPicturePointer(0x48012, test::kRomSize - 3); // Pokemon 4 front
    const test::SyntheticRom unknown('X'), shortTable('E', 0x48050), shortRecord('E', 0x51B30);
    const test::SyntheticRom huge('E', 0x400400);
    auto noUnownRecord = test::SyntheticRom::Standard('D');
    noUnownRecord.bytes[noUnownRecord.recordLocation(201)] = 0;
    const auto unownFront = [](auto& r) { r.slot = Slot{K::Unown, 1}; r.encoded = kData40; r.width = r.height = 40; };
    const int64_t n = std::ssize(kData), last = test::kRomSize - n - 1;
    const auto at = [](int64_t offset, bool slot = true) {
        return [=](InsertRequest& r) {
            r.offset = offset;
            if (!slot)
                r.slot.reset();
        };
    };
    const auto inTheWay = [&](int64_t offset, Region region, int64_t begin, int64_t end, Slot slot = {}) {
        return Error{.kind = ErrorKind::InTheWay, .offset = offset, .value = n, .low = begin, .high = end,
                     .region = region, .slot = slot};
    };
    const auto& poke1back = english.picture("poke1back");
    const int64_t placeholderEnd = 0x110000 + english.picture("placeholder").stream.size();
    const std::tuple<const test::SyntheticRom&, Change, Error> cases[] = {
        {english, at(last + 1), OutOfRangeError(NumberField::Offset, last + 1, 0, last)},
        {english, at(-1), OutOfRangeError(NumberField::Offset, -1, 0, last)},
        // Where no pointer leads, or the game cannot read the picture whole.
        {english, at(0x4C100), {.kind = ErrorKind::Unreachable, .offset = 0x4C100}},
        {english, at(0x2000), {.kind = ErrorKind::Unreachable, .offset = 0x2000}},
        {huge, at(0x400000), {.kind = ErrorKind::Unreachable, .offset = 0x400000}},
        {english, at(0x1F3FF0), {.kind = ErrorKind::PastBank, .offset = 0x1F3FF0, .value = n, .high = 0x7C}},
        // What lies there, with or without a slot.
        {english, at(1, false), inTheWay(1, Region::Header, 0x100, 0x150)},
        {english, at(0x48000, false), inTheWay(0x48000, Region::PokemonPointers, 0x48000, 0x485E2)},
        {english, at(0x7C090), inTheWay(0x7C090, Region::UnownPointers, 0x7C000, 0x7C09C)},
        {english, at(0x80000), inTheWay(0x80000, Region::TrainerPointers, 0x80000, 0x800C6)},
        {english, at(0xAD00), inTheWay(0xAD00, Region::PokemonPalettes, 0xAD45, 0xB51D)},
        {english, at(0xB640, false), inTheWay(0xB640, Region::TrainerPalettes, 0xB541, 0xB649)},
        {english, at(0x52000), inTheWay(0x52000, Region::BaseData, 0x51B0B, 0x53A6B)},
        {english, at(0x1B0100), inTheWay(0x1B0100, Region::NameTable, 0x1B0000, 0x1B09CE)},
        {english, at(0x101000),
         inTheWay(0x101000, Region::Picture, poke1back.offset, poke1back.offset + std::ssize(poke1back.stream),
                  Slot{K::Pokemon, 1, true})},
        {english, [](auto& r) { r.offset = 0x110000; r.slot = Slot{K::Pokemon, 3}; }, // a picture the slot shares
         inTheWay(0x110000, Region::Picture, 0x110000, placeholderEnd, Slot{K::Pokemon, 2})},
        // The slot's numbers and the picture itself.
        {english, [](auto& r) { r.slot = Slot{K::Pokemon, 0}; },
         OutOfRangeError(NumberField::PokemonNumber, 0, 1, 251)},
        {english, [](auto& r) { r.slot = Slot{K::Pokemon, 252}; },
         OutOfRangeError(NumberField::PokemonNumber, 252, 1, 251)},
        {english, [](auto& r) { r.slot = Slot{K::Unown, 27}; }, OutOfRangeError(NumberField::UnownIndex, 27, 1, 26)},
        {english, [](auto& r) { r.slot = Slot{K::Trainer, 67}; },
         OutOfRangeError(NumberField::TrainerNumber, 67, 1, 66)},
        {english, [](auto& r) { r.encoded = test::MakeTiles(8, 1); }, {.kind = ErrorKind::NotAStream}},
        {english, [](auto& r) { r.width = r.height = 48; },
         {.kind = ErrorKind::SizeMismatch, .value = 49, .low = 48, .high = 48}},
        {english, [](auto& r) { r.width = 80; r.anyShape = true; }, {.kind = ErrorKind::TooManyTiles, .low = 10, .high = 7}},
        {english, [](auto& r) { r.width = 80; },
         {.kind = ErrorKind::BadShape, .low = 80, .high = 56, .slot = Slot{}, .shapes = {{40, 40}, {48, 48}, {56, 56}}}},
        {english, [](auto& r) { r.slot = Slot{K::Trainer, 2}; r.encoded = kData48; r.width = r.height = 48; },
         {.kind = ErrorKind::BadShape, .low = 48, .high = 48, .slot = Slot{K::Trainer, 2}, .shapes = {{56, 56}}}},
        {english, [](auto& r) { r.slot = Slot{K::Unown, 2}; }, // the Unown fronts' size byte draws 40 x 40
         {.kind = ErrorKind::BadShape, .value = 1, .low = 56, .high = 56, .slot = Slot{K::Unown, 2}, .shapes = {{40, 40}}}},
        {english, [](auto& r) { r.newName = ""; }, {.kind = ErrorKind::EmptyName}},
        // The size the Unown fronts are drawn in cannot be read.
        {noUnownRecord, unownFront, {.kind = ErrorKind::UnownRecord, .offset = 0x53400, .value = 0}},
        {unknown, unownFront, {.kind = ErrorKind::LanguageUnknown}},
        {english, [](auto& r) { r.newName = "MEW#"; }, {.kind = ErrorKind::NameUnencodable, .text = "MEW#", .other = "#"}},
        {unknown, [](auto& r) { r.newName = "MEW"; }, {.kind = ErrorKind::LanguageUnknown}},
        {english, [](auto& r) { r.slot = Slot{K::Pokemon, 4}; r.deleteOriginal = true; },
         {.kind = ErrorKind::OldPictureBroken, .offset = test::kRomSize - 3}},
        {english, [](auto& r) { r.encoded.clear(); }, {.kind = ErrorKind::NoData}},
        {shortTable, [](auto& r) { r.offset = 0x4000; r.slot = Slot{K::Pokemon, 25}; },
         TooShortError(RomPart::PointerTable, 0x48093, 0x48050)},
        {shortRecord, [](auto& r) { r.offset = 0x4000; r.slot = Slot{K::Pokemon, 2}; },
         TooShortError(RomPart::SizeByte, 0x51B3D, 0x51B30)},
    };
    for (const auto& [rom, change, error] : cases)
        EXPECT_EQ(test::Facts(insert(request(rom, change))), test::Facts(error));
    // The data alone may go from 4 MB on.
    ASSERT_TRUE(insert(request(huge, [](auto& r) { r.offset = 0x400000; r.slot.reset(); })));
    expectResult({{0x400000, kData}}, "data alone");
}

TEST_F(Insertion, UnknownBytesInTheWayAreCountedNotWritten)
{
    auto rom = test::SyntheticRom::Standard('E');
    // 0xAA under the data, but for one zero byte and one that the data repeats.
    std::fill_n(rom.bytes.begin() + 0x120000, kData.size(), 0xAA);
    rom.bytes[0x120001] = 0;
    rom.bytes[0x120002] = kData[2];
    auto planned = plan(request(rom, [](auto& r) { r.offset = 0x120000; }));
    ASSERT_TRUE(planned) << test::Facts(planned);
    const auto same = std::count(kData.begin() + 3, kData.end(), 0xAA) + (kData[0] == 0xAA);
    EXPECT_EQ(planned->overwrite.bytes, static_cast<int64_t>(kData.size()) - 2 - same);
    EXPECT_EQ(planned->overwrite.first, kData[0] == 0xAA ? 0x120003 : 0x120000);
    // Over the slot's own old picture nothing unknown is in the way.
    auto own = plan(request(rom, [](auto& r) { r.offset = 0x100000; r.encoded = Encoded(25, 3); r.width = r.height = 40; }));
    ASSERT_TRUE(own) << test::Facts(own);
    EXPECT_EQ(own->overwrite.bytes, 0);
}

TEST_F(Insertion, DeletingTheOriginalSparesSharedBytes)
{
    auto rom = test::SyntheticRom::Standard('E');
    // Pokemon 1's front and back share one stream; Pokemon 2's old picture is
    // zeros that measure as a stream running on into trainer 66's (0x104000).
    rom.setPicturePointer(0x48003, 0x100000);
    std::fill_n(rom.bytes.begin() + 0x103F00, 0x100, 0);
    rom.setPicturePointer(0x48006, 0x103F00);
    const std::tuple<int, int64_t, Slot> cases[] = {
        {1, 0x100000, Slot{K::Pokemon, 1, true}}, {2, 0x103F00, Slot{K::Trainer, 66}}};
    for (const auto& [pokemon, kept, sharer] : cases) {
        auto done = insert(request(rom, [&](auto& r) { r.slot = Slot{K::Pokemon, pokemon}; r.deleteOriginal = true; }));
        ASSERT_TRUE(done) << test::Facts(done);
        ASSERT_EQ(done->notes.size(), 1u);
        const Note& note = done->notes[0];
        EXPECT_EQ(note.kind, NoteKind::OldPictureKept);
        EXPECT_EQ(note.offset, kept);
        EXPECT_EQ(note.region, Region::Picture);
        EXPECT_EQ(note.slot, sharer);
        expectResult({{0x1F0000, kData},
                    {PicturePointerLocation(false, pokemon, 1, false), kPointer},
                    {PaletteLocation(false, pokemon, false), kYellowBlue},
                    {rom.sizeByteLocation(pokemon), {0x77}}},
                   std::to_string(pokemon));
    }
}

TEST_F(Insertion, FreePlacePassesOverWhatThePlanRefuses)
{
    auto rom = test::SyntheticRom::Standard('E');
    // Zeros in bank 0, in bank 0x13 and inside the name table come first.
    std::fill_n(rom.bytes.begin() + 0x2000, 0x1000, 0);
    std::fill_n(rom.bytes.begin() + 0x4C000, 0x1000, 0);
    std::fill_n(rom.bytes.begin() + test::kNameTable + 0x800, 0x400, 0);
    const auto r = request(rom);
    const RomImage image(rom.bytes);
    auto planned = PlanInsertionAtFreePlace(image, r, 0);
    ASSERT_TRUE(planned) << test::Facts(planned);
    EXPECT_EQ(planned->dataOffset, test::kFreeArea + 2);
    // Without a slot, only bank 0 is passed over.
    auto data = PlanInsertionAtFreePlace(image, request(rom, [](auto& q) { q.slot.reset(); }), 0);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->dataOffset, 0x4C002);
    auto none = PlanInsertionAtFreePlace(image, r, test::kFreeArea + test::kFreeAreaLength);
    ASSERT_FALSE(none);
    EXPECT_EQ(test::Facts(none), test::Facts({.kind = ErrorKind::NoRoom,
                                               .offset = test::kFreeArea + test::kFreeAreaLength,
                                               .value = std::ssize(kData)}));
}

} // namespace
} // namespace orv::rom
