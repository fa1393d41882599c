// Free runs and pictures per bank on the synthetic ROM, whose contents are known.

#include <gtest/gtest.h>

#include "space_map.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using test::SyntheticRom;

struct BankRow {
    int64_t bank;
    int pictures;
    int64_t pictureBytes;
    std::vector<std::pair<int64_t, int64_t>> runs;
    bool operator==(const BankRow&) const = default;
};

std::vector<BankRow> Rows(const SpaceMap& map)
{
    std::vector<BankRow> rows;
    for (const BankSpace& b : map.banks) {
        BankRow row{b.bank, b.pictures, b.pictureBytes, {}};
        for (const FreeRun& run : b.runs)
            row.runs.emplace_back(run.offset, run.length);
        rows.push_back(row);
    }
    return rows;
}

TEST(SpaceMap, PicturesAndFreeRunsPerBank)
{
    SyntheticRom rom = SyntheticRom::Standard('E');
    const auto size = [&](const char* name) { return static_cast<int64_t>(rom.picture(name).stream.size()); };
    const auto fill = [&](int64_t from, int64_t length) { std::fill_n(rom.bytes.begin() + from, length, 0); };
    fill(0x2000, 0x100);                         // bank 0
    fill(0x4E000, 0x100);                        // bank 0x13
    fill(test::kNameTable - 100, 400);           // runs into the name table: only its first 100 bytes are free
    fill(0x120000, 63);                          // one short of the default
    fill(rom.picture("trainer66").offset - 70, 70); // up to a picture
    const int64_t trainer66 = rom.picture("trainer66").offset;

    auto map = MapSpace(RomFile::fromBytes("rom.gb", rom.bytes), 64);
    ASSERT_TRUE(map) << map.error().english;
    const std::vector<BankRow> expected{
        {0x1F, 1, size("poke25front"), {}},
        {0x20, 1, size("poke25back"), {}},
        {0x2E, 1, size("unown3front"), {}},
        {0x40, 5, size("poke1front") + size("poke1back") + size("unown3back") + size("unown26back") + size("trainer2"),
         {{trainer66 - 70, 70}}},
        {0x41, 1, size("trainer66"), {}},
        {0x44, 1, size("placeholder"), {}},
        {0x6B, 0, 0, {{test::kNameTable - 100, 100}}},
        {0x7C, 0, 0, {{0x1F0000, 0x4000}}}, // the free area, cut at the bank's end
        {0x7D, 0, 0, {{0x1F4000, 0x4000}}},
    };
    EXPECT_EQ(Rows(*map), expected);
    EXPECT_EQ(map->pictures, 10);
    EXPECT_EQ(map->runs, 4u);
    EXPECT_EQ(map->freeBytes, 70 + 100 + 0x8000);
    ASSERT_TRUE(map->largest);
    EXPECT_EQ(map->largest->offset, 0x1F0000);

    auto smaller = MapSpace(RomFile::fromBytes("rom.gb", rom.bytes), 63);
    EXPECT_EQ(smaller->runs, 5u);
    auto none = MapSpace(RomFile::fromBytes("rom.gb", rom.bytes), 0x4001);
    EXPECT_EQ(none->runs, 0u);
    EXPECT_FALSE(none->largest);
}

} // namespace
} // namespace orv::rom
