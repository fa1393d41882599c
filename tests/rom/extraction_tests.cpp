#include <gtest/gtest.h>

#include <functional>

#include "extraction.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using Change = std::function<void(ExtractRequest&)>;

// The standard ROM with pictures for the typed sizes and broken streams, and a
// ROM that ends inside the pointer table; written once.
struct Files {
    test::TempDir dir;
    test::SyntheticRom rom = test::SyntheticRom::Standard('E');
    Files()
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
        rom.write(dir / "rom.gbc");
        test::SyntheticRom('E', 0x48004).write(dir / "short.gbc");
    }
};

ExtractRequest Request(const Change& change)
{
    static const Files files;
    ExtractRequest r;
    r.romPath = files.dir / "rom.gbc";
    change(r);
    return r;
}

ExtractRequest At(const std::string& offset, const char* x = nullptr, const char* y = "")
{
    return Request([&](ExtractRequest& r) {
        r.bySlot = false;
        r.offsetText = offset;
        r.specifySize = x != nullptr;
        r.widthText = x ? x : "16"; // ignored without specifySize
        r.heightText = y;
    });
}

TEST(Extraction, GamePicturesWithTheirPalettes)
{
    const auto rom = test::SyntheticRom::Standard('E');
    const std::tuple<const char*, Change, std::array<uint8_t, 4>, int> cases[] = {
        {"poke1front", [](auto& r) { r.specifySize = true; r.widthText = "16"; }, // size ignored
         {0xFF, 0x03, 0x00, 0x7C}, 56},
        {"poke1back", [](auto& r) { r.back = true; }, {0xFF, 0x03, 0x00, 0x7C}, 48},
        {"poke25back", [](auto& r) { r.pokemonNumber = 25; r.back = true; }, {25, 0x11, 0xE6, 0x22}, 48},
        {"unown3front", [](auto& r) { r.pokemonNumber = 12; r.unown = true; r.unownIndex = 3; },
         {201, 0x11, 0x36, 0x22}, 40},
        {"unown26back", [](auto& r) { r.pokemonNumber = 201; r.unownIndex = 26; r.back = r.shiny = true; },
         {201, 0x33, 0x44, 0x49}, 32},
        {"trainer2", [](auto& r) { r.trainer = r.back = r.shiny = true; r.trainerNumber = 2; },
         {2, 0x55, 0x82, 0x66}, 56},
        {"trainer66", [](auto& r) { r.trainer = true; r.trainerNumber = 66; }, {66, 0x55, 0xC2, 0x66}, 48},
    };
    for (const auto& [name, change, palette, side] : cases) {
        auto picture = ExtractFromRom(Request(change));
        ASSERT_TRUE(picture) << name << ": " << picture.error().message;
        EXPECT_EQ(picture->offset, rom.picture(name).offset) << name;
        EXPECT_EQ(picture->tileData, rom.picture(name).tiles) << name;
        EXPECT_EQ(picture->palette.pair, palette) << name;
        EXPECT_EQ(std::pair(picture->width, picture->height), std::pair(side, side)) << name;
    }
    // By offset, with the default palette.
    auto picture = ExtractFromRom(At("&H103000"));
    ASSERT_TRUE(picture) << picture.error().message;
    EXPECT_EQ(picture->tileData, rom.picture("trainer2").tiles);
    EXPECT_EQ(picture->palette.text, "FF03007C");
    EXPECT_EQ(picture->palette.colours, (std::array<uint32_t, 2>{0xFFFF00, 0x0000FF}));
    EXPECT_EQ(picture->width, 56);
}

TEST(Extraction, TypedSizes)
{
    const std::tuple<ExtractRequest, int, int> cases[] = {
        {At("&H105000", "16", ""), 16, 48}, // 12 tiles, 2 per row
        {At("&H105000", "", "16"), 48, 16},
        {At("&H105000", "24", "40"), 24, 40},
        {At("&H105000", "0", "0"), 24, 24}, // sqrt(12) = 3.46 -> 3 tiles
        {At("&H105000"), 24, 24},
        {At("&H106000"), 56, 56}, // 50 tiles
        {At("&H107000"), 48, 48}, // 42 tiles
    };
    for (const auto& [request, width, height] : cases) {
        auto picture = ExtractFromRom(request);
        ASSERT_TRUE(picture) << request.offsetText << ": " << picture.error().message;
        EXPECT_EQ(std::pair(picture->width, picture->height), std::pair(width, height))
            << request.offsetText << " " << request.widthText << "x" << request.heightText;
    }
}

TEST(Extraction, RefusedRequests)
{
    using K = RomError::Kind;
    const std::tuple<ExtractRequest, RomError::Kind, const char*> cases[] = {
        {Request([](auto& r) { r.romPath.replace_filename("missing.gbc"); }), K::OpenFailed,
         "konnte nicht geöffnet werden"},
        {Request([](auto& r) { r.romPath.replace_filename("short.gbc"); r.pokemonNumber = 2; }), K::TooShort,
         "zu kurz für die Zeigertabelle"},
        {Request([](auto& r) { r.pokemonNumber = 0; }), K::OutOfRange, "Die Pokemonnummer 0 liegt"},
        {Request([](auto& r) { r.pokemonNumber = 252; }), K::OutOfRange, "von 1 bis 251."},
        {Request([](auto& r) { r.pokemonNumber = 201; r.unownIndex = 27; }), K::OutOfRange, "Unown-Index 27"},
        {Request([](auto& r) { r.trainer = true; r.trainerNumber = 67; }), K::OutOfRange, "Trainernummer 67"},
        {Request([](auto& r) { r.trainer = true; r.trainerNumber = 5; }), K::NoPicture, "fehlt das Ende"},
        {Request([](auto& r) { r.pokemonNumber = 7; }), K::NoPicture, "Kopierbefehl"},
        {Request([](auto& r) { r.pokemonNumber = 8; }), K::NoPicture, "An Offset &H3FC000 der Datei"},
        {At("&H10C000"), K::NoPicture, "kürzer als eine Kachel (16 Bytes)."},
        {At("&H200000"), K::OutOfRange, "Der Offset 2097152"},
        {At("-5"), K::OutOfRange, "Der Offset -5"},
        {At("&H105000", "4", ""), K::BadSize, "Breite 4 ist kleiner als 8 Pixel."},
        {At("&H105000", "", "7"), K::BadSize, "Höhe 7 ist kleiner als 8 Pixel."},
        {At("&H105000", "256", "256"), K::BadSize, "256 x 256 Pixeln größer als 32767 Pixel."},
        {At("&H108000"), K::NoPicture, "größer als ein Bild von 32767 Pixeln."}, // 600 tiles
        {Request([](auto& r) { r.pokemonNumber = 9; }), K::NoPicture, "größer als ein Bild von 32767 Pixeln."},
    };
    for (const auto& [request, kind, text] : cases) {
        auto picture = ExtractFromRom(request);
        ASSERT_FALSE(picture) << text;
        EXPECT_EQ(picture.error().kind, kind) << picture.error().message;
        EXPECT_NE(picture.error().message.find(text), std::string::npos) << picture.error().message;
    }
}

} // namespace
} // namespace orv::rom
