// The header's title and checksums, and the checksum patch every change ends with.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "cartridge_header.h"
#include "patch_appliers.h"
#include "byte_patch.h"
#include "rom_image.h"

namespace orv::rom {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes WithTitle(const std::string& title, uint8_t colourFlag)
{
    Bytes rom(0x8000, 0x01);
    std::ranges::fill(rom.begin() + 0x134, rom.begin() + 0x144, 0);
    std::ranges::copy(title, rom.begin() + 0x134);
    rom[0x143] = colourFlag;
    return rom;
}

TEST(CartridgeHeader, TitleAndChecksums)
{
    // 25 bytes of 1: 0 - 25 * 2 = 0xCE; 0x8000 bytes of 1 but the two checksum bytes.
    Bytes ones(0x8000, 0x01);
    auto plain = ReadCartridgeHeader(ones);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->headerChecksumComputed, 0xCE);
    EXPECT_EQ(plain->globalChecksumComputed, 0x7FFE);
    EXPECT_EQ(plain->globalChecksum, 0x0101);
    EXPECT_FALSE(plain->headerChecksumRight() || plain->globalChecksumRight());
    ones[0x14D] = 0xCE; // which the global sum counts: 0x7FFE - 1 + 0xCE
    ones[0x14E] = 0x80;
    ones[0x14F] = 0xCB;
    EXPECT_TRUE(ReadCartridgeHeader(ones)->headerChecksumRight());
    EXPECT_TRUE(ReadCartridgeHeader(ones)->globalChecksumRight());
    EXPECT_FALSE(ReadCartridgeHeader(Bytes(0x14F, 0)));
    EXPECT_TRUE(ReadCartridgeHeader(Bytes(0x150, 0)));

    const std::tuple<Bytes, const char*, const char*> titles[] = {
        {WithTitle("POKEMON_GLDAAUE", 0x80), "POKEMON_GLD", "AAUE"},
        {WithTitle("POKEMON_SLVAAXD", 0xC0), "POKEMON_SLV", "AAXD"},
        {WithTitle("ABCDEFGHIJKLMNOP", 0x50), "ABCDEFGHIJKLMNOP", ""}, // an old header: 16 characters, no flag
        {WithTitle("TETRIS", 0x00), "TETRIS", ""},
        {WithTitle("LONG COLOUR NAM", 0x80), "LONG COLOUR NAM", ""}, // no game code after it
        {WithTitle("A\x7F\x01Z", 0x00), "A??Z", ""},
    };
    for (const auto& [rom, title, code] : titles) {
        auto header = ReadCartridgeHeader(rom);
        ASSERT_TRUE(header) << title;
        EXPECT_EQ(header->title, title);
        EXPECT_EQ(header->gameCode, code) << title;
    }
}

TEST(CartridgeHeader, ChecksumPatchFollowsTheChange)
{
    Bytes wrong(0x10000, 0x22); // its stored checksum 0x2222 is wrong
    const RomImage rom(wrong);
    const BytePatch data{PatchKind::PictureData, 0x5000, {1, 2, 3}};
    const BytePatch same{PatchKind::PictureData, 0x6000, {0x22, 0x22}};
    const BytePatch outside{PatchKind::PictureData, 0x10000, {9}};
    const BytePatch overChecksum{PatchKind::Name, 0x14E, {0, 0}};
    const std::tuple<const char*, std::vector<BytePatch>, bool> cases[] = { // changes anything
        {"new bytes", {data}, true},
        {"the same bytes", {same}, false},
        {"no patches", {}, false},
        {"new bytes beside a patch outside the file", {data, outside}, true},
        {"a patch over the checksum bytes", {overChecksum, same}, true},
    };
    for (const auto& [what, patches, changes] : cases) {
        auto checksum = GlobalChecksumPatch(rom, patches);
        ASSERT_TRUE(checksum) << what;
        EXPECT_EQ(checksum->kind, PatchKind::Checksum);
        EXPECT_EQ(checksum->offset, 0x14E);
        std::vector<BytePatch> all;
        std::ranges::copy_if(patches, std::back_inserter(all), [&](const BytePatch& p) { return p.end() <= 0x10000; });
        all.push_back(*checksum);
        const Bytes result = ApplyPatches(rom, all).value();
        if (changes)
            EXPECT_EQ(test::GlobalChecksumOf(result), result[0x14E] << 8 | result[0x14F]) << what;
        else
            EXPECT_EQ(result, wrong) << what << ": the ROM stays byte-identical";
        EXPECT_EQ(result[0x14D], 0x22) << what << ": the header checksum is never written";
    }
    EXPECT_FALSE(GlobalChecksumPatch(RomImage(Bytes(0x14F, 1)), std::vector{data}));
}

} // namespace
} // namespace orv::rom
