#include <gtest/gtest.h>

#include "rom_layout.h"

namespace orv::rom {
namespace {

TEST(RomLayout, PicturePointersWithBankRemap)
{
    const std::pair<BankPointer, int64_t> decoded[] = {
        {{0x13, 0x00, 0x40}, 0x7C000}, // stored 0x13 means bank 0x1F, not mapped on to 0x2E
        {{0x1F, 0x00, 0x40}, 0xB8000},   {{0x14, 0x34, 0x52}, 0x81234}, {{0x7C, 0x00, 0x40}, 0x1F0000},
        {{0x05, 0x34, 0xD2}, 0x15234}, // high byte >= 0x80 read like & 0x3F
    };
    for (const auto& [stored, offset] : decoded)
        EXPECT_EQ(DecodePicturePointer(stored), offset) << std::hex << offset;
    const std::pair<int64_t, BankPointer> encoded[] = {
        {0x7C000, {0x13, 0x00, 0x40}}, {0xB8000, {0x1F, 0x00, 0x40}},  {0x83FFF, {0x14, 0xFF, 0x7F}},
        {0x4C000, {0x13, 0x00, 0x40}}, {0x1F0000, {0x7C, 0x00, 0x40}}, {0x3FFFFF, {0xFF, 0xFF, 0x7F}},
    };
    for (const auto& [offset, stored] : encoded)
        EXPECT_EQ(EncodePicturePointer(offset), stored) << std::hex << offset;
    // Data in banks 0x13 and 0x14 would read back as banks 0x1F and 0x20.
    for (int64_t offset : {0x4C000, 0x53FFF, 0x400000, -1})
        EXPECT_FALSE(PicturePointerReachable(offset)) << std::hex << offset;
    for (int64_t offset : {0x4BFFF, 0x54000, 0x3FFFFF})
        EXPECT_TRUE(PicturePointerReachable(offset)) << std::hex << offset;
    // The name-table pointer is a plain one.
    EXPECT_EQ(DecodeBankPointer({0x13, 0x00, 0x40}), 0x4C000);
    EXPECT_EQ(EncodeBankPointer(0x7C000), (BankPointer{0x1F, 0x00, 0x40}));
}

TEST(RomLayout, TableLocationsAndSizeByte)
{
    // Slots the ROM-level tests do not tell apart from their neighbours.
    const std::pair<int64_t, int64_t> locations[] = {
        {PicturePointerLocation(false, 1, 1, false), 0x48000},
        {PicturePointerLocation(false, 201, 1, false), 0x7C000},
        {PicturePointerLocation(false, 201, 1, true), 0x7C003},
        {PicturePointerLocation(false, 201, 26, true), 0x7C099},
        {PicturePointerLocation(true, 1, 5, true), 0x80000}, // back and index ignored
        {PicturePointerLocation(true, 66, 1, false), 0x800C3},
        {PaletteLocation(true, 1, true), 0xB541},
        {SizeByteLocation(RomLanguage::German, 201), 0x53411},
    };
    for (size_t i = 0; i < std::size(locations); ++i)
        EXPECT_EQ(locations[i].first, locations[i].second) << "row " << i;
    const std::tuple<int, int, std::optional<uint8_t>> sizes[] = {
        {56, 56, 0x77}, {40, 48, 0x56}, {72, 72, 0x99}, {63, 63, 0x77},
        {80, 56, {}},   {56, 80, {}},   {56, 4, {}},    {-8, 8, {}},
    };
    for (const auto& [width, height, byte] : sizes)
        EXPECT_EQ(FrontPicSizeByte(width, height), byte) << width << "x" << height;
}

} // namespace
} // namespace orv::rom
