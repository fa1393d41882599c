#include <gtest/gtest.h>

#include <functional>

#include "core_facts.h"
#include "extraction.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using K = Slot::Kind;

// The standard ROM with pictures for the given sizes and broken streams.
struct Roms {
    test::SyntheticRom rom = test::SyntheticRom::Standard('E');
    RomImage image, shortRom;
    Roms()
    {
        rom.placePicture(0x105000, test::MakeTiles(12, 40));
        rom.placePicture(0x106000, test::MakeTiles(50, 41));
        rom.placePicture(0x107000, test::MakeTiles(42, 42));
        rom.placePicture(0x108000, test::MakeTiles(600, 43));
        rom.put(0x10C000, std::vector<uint8_t>{0x02, 0x61, 0x62, 0x63, 0xFF}); // 3 bytes
        rom.put(0x10D000, std::vector<uint8_t>{0x84, 0x80, 0xFF});             // copy of nothing
        rom.put(test::kRomSize - 3, std::vector<uint8_t>{0x1F, 0x01, 0x02});   // no end marker
        rom.setPicturePointer(0x8000C, test::kRomSize - 3);                    // trainer 5
        rom.setPicturePointer(0x48024, 0x10D000);                              // Pokemon 7 front
        rom.setPicturePointer(0x4802A, 0x3FC000);                              // Pokemon 8: past the end
        // Pokemon 9: 0x4000 pairs that each unpack to 1024 zeros, 16 MiB in all.
        for (int64_t at = 0x120000; at < 0x128000; at += 2)
            rom.put(at, std::vector<uint8_t>{0xEF, 0xFF});
        rom.bytes[0x128000] = 0xFF;
        rom.setPicturePointer(0x48030, 0x120000);
        image = RomImage(rom.bytes);
        shortRom = RomImage(test::SyntheticRom('E', 0x48004).bytes); // ends inside the pointer table
    }
};

const RomImage& Rom()
{
    static const Roms roms;
    return roms.image;
}

ExtractRequest At(int64_t offset, int64_t width = 0, int64_t height = 0)
{
    return {.offset = offset, .width = width, .height = height};
}

TEST(Extraction, GamePicturesWithTheirPalettes)
{
    const auto rom = test::SyntheticRom::Standard('E');
    const std::tuple<const char*, ExtractRequest, std::array<uint8_t, 4>, int> cases[] = {
        {"poke1front", {.slot = Slot{}, .width = 16}, {0xFF, 0x03, 0x00, 0x7C}, 56}, // size ignored
        {"poke1back", {.slot = Slot{K::Pokemon, 1, true}}, {0xFF, 0x03, 0x00, 0x7C}, 48},
        {"poke25back", {.slot = Slot{K::Pokemon, 25, true}}, {25, 0x11, 0xE6, 0x22}, 48},
        {"unown3front", {.slot = Slot{K::Unown, 3}}, {201, 0x11, 0x36, 0x22}, 40},
        {"unown26back", {.slot = Slot{K::Unown, 26, true, true}}, {201, 0x33, 0x44, 0x49}, 32},
        {"trainer2", {.slot = Slot{K::Trainer, 2, true, true}}, {2, 0x55, 0x82, 0x66}, 56},
        {"trainer66", {.slot = Slot{K::Trainer, 66}}, {66, 0x55, 0xC2, 0x66}, 48},
    };
    for (const auto& [name, request, palette, side] : cases) {
        auto picture = ExtractFromRom(Rom(), request);
        ASSERT_TRUE(picture) << name << ": " << test::Facts(picture);
        EXPECT_EQ(picture->offset, rom.picture(name).offset) << name;
        EXPECT_EQ(picture->tileData, rom.picture(name).tiles) << name;
        EXPECT_EQ(picture->palette.pair, palette) << name;
        EXPECT_EQ(std::pair(picture->width, picture->height), std::pair(side, side)) << name;
    }
    // By offset, with the default palette.
    auto picture = ExtractFromRom(Rom(), At(0x103000));
    ASSERT_TRUE(picture) << test::Facts(picture);
    EXPECT_EQ(picture->tileData, rom.picture("trainer2").tiles);
    EXPECT_EQ(picture->palette.text, "FF03007C");
    EXPECT_EQ(picture->palette.colours, (std::array<uint32_t, 2>{0xFFFF00, 0x0000FF}));
    EXPECT_EQ(picture->width, 56);
}

TEST(Extraction, TypedSizes)
{
    const std::tuple<ExtractRequest, int, int> cases[] = {
        {At(0x105000, 16, 0), 16, 48}, // 12 tiles, 2 per row
        {At(0x105000, 0, 16), 48, 16},
        {At(0x105000, 24, 40), 24, 40},
        {At(0x105000), 24, 24}, // sqrt(12) = 3.46 -> 3 tiles
        {At(0x106000), 56, 56}, // 50 tiles
        {At(0x107000), 48, 48}, // 42 tiles
    };
    for (const auto& [request, width, height] : cases) {
        auto picture = ExtractFromRom(Rom(), request);
        ASSERT_TRUE(picture) << request.offset << ": " << test::Facts(picture);
        EXPECT_EQ(std::pair(picture->width, picture->height), std::pair(width, height))
            << request.offset << " " << request.width << "x" << request.height;
    }
}

TEST(Extraction, RefusedRequests)
{
    static const Roms roms;
    const auto slot = [](K kind, int64_t number) { return ExtractRequest{.slot = Slot{kind, number}}; };
    const auto noPicture = [](int64_t offset, StreamFault fault) {
        return Error{.kind = ErrorKind::NoPicture, .offset = offset, .fault = fault};
    };
    const std::tuple<const RomImage&, ExtractRequest, Error> cases[] = {
        {roms.shortRom, slot(K::Pokemon, 2), TooShortError(RomPart::PointerTable, 0x48009, 0x48004)},
        {roms.image, slot(K::Pokemon, 0), OutOfRangeError(NumberField::PokemonNumber, 0, 1, 251)},
        {roms.image, slot(K::Pokemon, 252), OutOfRangeError(NumberField::PokemonNumber, 252, 1, 251)},
        {roms.image, slot(K::Unown, 27), OutOfRangeError(NumberField::UnownIndex, 27, 1, 26)},
        {roms.image, slot(K::Trainer, 67), OutOfRangeError(NumberField::TrainerNumber, 67, 1, 66)},
        {roms.image, slot(K::Trainer, 5), noPicture(test::kRomSize - 3, StreamFault::NoEndMarker)},
        {roms.image, slot(K::Pokemon, 7), noPicture(0x10D000, StreamFault::BadCopySource)},
        {roms.image, slot(K::Pokemon, 8), noPicture(0x3FC000, StreamFault::NoEndMarker)},
        {roms.image, At(0x10C000), noPicture(0x10C000, StreamFault::ShorterThanTile)},
        {roms.image, At(0x200000), OutOfRangeError(NumberField::Offset, 0x200000, 0, 0x1FFFFF)},
        {roms.image, At(-5), OutOfRangeError(NumberField::Offset, -5, 0, 0x1FFFFF)},
        {roms.image, At(0x105000, 4, 0), {.kind = ErrorKind::TooNarrow, .value = 4, .high = 1}},
        {roms.image, At(0x105000, 0, 7), {.kind = ErrorKind::TooNarrow, .value = 7, .high = 0}},
        {roms.image, At(0x105000, 256, 256), {.kind = ErrorKind::PictureTooLarge, .low = 256, .high = 256}},
        {roms.image, At(0x108000), noPicture(0x108000, StreamFault::OutputFull)}, // 600 tiles
        {roms.image, slot(K::Pokemon, 9), noPicture(0x120000, StreamFault::OutputFull)},
    };
    for (const auto& [rom, request, error] : cases)
        EXPECT_EQ(test::Facts(ExtractFromRom(rom, request)), test::Facts(error));
}

// Pokemon 201 reads the Unown table's first entry, with the Pokemon's palette.
TEST(Extraction, Pokemon201IsTheFirstUnownForm)
{
    auto rom = test::SyntheticRom::Standard('E');
    const auto placed = rom.placePicture(0x10E000, test::MakeTiles(16, 44));
    rom.setPicturePointer(0x7C000, 0x10E000); // Unown 1 front
    const RomImage image(rom.bytes);
    const auto pokemon = ExtractFromRom(image, {.slot = Slot{K::Pokemon, 201}});
    const auto unown = ExtractFromRom(image, {.slot = Slot{K::Unown, 1}});
    ASSERT_TRUE(pokemon && unown) << test::Facts(pokemon);
    EXPECT_EQ(pokemon->tileData, placed.tiles);
    EXPECT_EQ(unown->offset, pokemon->offset);
    EXPECT_EQ(pokemon->palette.pair, (std::array<uint8_t, 4>{201, 0x11, 0x36, 0x22}));
}

} // namespace
} // namespace orv::rom
