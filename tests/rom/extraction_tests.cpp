#include <gtest/gtest.h>

#include "extraction.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

class Extraction : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        rom_ = new test::SyntheticRom(test::SyntheticRom::Standard('E'));
        // Pictures for the typed-size cases, and broken streams at the end.
        rom_->placePicture(0x105000, test::MakeTiles(12, 40));
        rom_->placePicture(0x106000, test::MakeTiles(50, 41));
        rom_->placePicture(0x107000, test::MakeTiles(42, 42));
        rom_->placePicture(0x108000, test::MakeTiles(600, 43));
        rom_->put(0x10C000, std::vector<uint8_t>{0x02, 0x61, 0x62, 0x63, 0xFF}); // 3 bytes
        rom_->put(0x10D000, std::vector<uint8_t>{0x84, 0x80, 0xFF});             // copy of nothing
        rom_->put(test::kRomSize - 3, std::vector<uint8_t>{0x1F, 0x01, 0x02});   // no end marker
        rom_->setTrainerPicture(5, test::kRomSize - 3);
        rom_->setPokemonPicture(7, false, 0x10D000);
    }
    static void TearDownTestSuite() { delete rom_; }
    void SetUp() override { rom_->write(path()); }

    std::filesystem::path path() const { return dir_ / "rom.gbc"; }
    ExtractRequest slot(int number) const
    {
        ExtractRequest r;
        r.romPath = path();
        r.pokemonNumber = number;
        return r;
    }
    ExtractRequest at(const std::string& offset) const
    {
        ExtractRequest r;
        r.romPath = path();
        r.bySlot = false;
        r.offsetText = offset;
        return r;
    }

    static test::SyntheticRom* rom_;
    test::TempDir dir_;
};
test::SyntheticRom* Extraction::rom_ = nullptr;

TEST_F(Extraction, GamePictures)
{
    struct Case {
        const char* picture;
        ExtractRequest request;
        std::array<uint8_t, 4> palette;
        int side;
    };
    auto back = [](ExtractRequest r) {
        r.back = true;
        return r;
    };
    auto shiny = [](ExtractRequest r) {
        r.shiny = true;
        return r;
    };
    auto unown = [&](int index) {
        auto r = slot(201);
        r.unownIndex = index;
        return r;
    };
    auto unownBox = [&](int index) {
        auto r = slot(12);
        r.unown = true;
        r.unownIndex = index;
        return r;
    };
    auto trainer = [&](int number) {
        auto r = slot(99);
        r.trainer = true;
        r.trainerNumber = number;
        return r;
    };
    auto sized = slot(1);
    sized.specifySize = true; // ignored for game pictures
    sized.widthText = "16";
    const Case cases[] = {
        {"poke1front", sized, {0xFF, 0x03, 0x00, 0x7C}, 56},
        {"poke1back", back(slot(1)), {0xFF, 0x03, 0x00, 0x7C}, 48},
        {"poke25front", shiny(slot(25)), {25, 0x33, 0x44, 25}, 56},
        {"poke25back", back(slot(25)), {25, 0x11, 0xFF - 25, 0x22}, 48},
        {"unown3front", unownBox(3), {201, 0x11, 0xFF - 201, 0x22}, 40},
        {"unown26back", shiny(back(unown(26))), {201, 0x33, 0x44, 201 & 0x7F}, 32},
        {"trainer2", shiny(back(trainer(2))), {2, 0x55, 0x82, 0x66}, 56},
        {"trainer66", trainer(66), {66, 0x55, 0x80 + 66, 0x66}, 48},
        {"placeholder", slot(2), {2, 0x11, 0xFF - 2, 0x22}, 32},
    };
    for (const auto& c : cases) {
        const auto& placed = rom_->picture(c.picture);
        auto picture = ExtractFromRom(c.request);
        ASSERT_TRUE(picture) << c.picture << ": " << picture.error().message;
        EXPECT_EQ(picture->offset, placed.offset) << c.picture;
        EXPECT_EQ(picture->stream, placed.stream) << c.picture;
        EXPECT_EQ(picture->tileData, placed.tiles) << c.picture;
        EXPECT_EQ(picture->palette.pair, c.palette) << c.picture;
        EXPECT_EQ(picture->palette.text, PaletteText(c.palette)) << c.picture;
        EXPECT_EQ(picture->width, c.side) << c.picture;
        EXPECT_EQ(picture->height, c.side) << c.picture;
    }
}

TEST_F(Extraction, ByOffsetWithDefaultPalette)
{
    auto picture = ExtractFromRom(at("&H103000"));
    ASSERT_TRUE(picture) << picture.error().message;
    EXPECT_EQ(picture->tileData, rom_->picture("trainer2").tiles);
    EXPECT_EQ(picture->palette.text, "FF03007C");
    EXPECT_EQ(picture->palette.colours[0], 0xFFFF00u);
    EXPECT_EQ(picture->palette.colours[1], 0x0000FFu);
    EXPECT_EQ(picture->width, 56);
    auto decimal = ExtractFromRom(at(std::to_string(0x103000)));
    ASSERT_TRUE(decimal);
    EXPECT_EQ(decimal->stream, picture->stream);
}

TEST_F(Extraction, SquareSide)
{
    const std::pair<int64_t, int> cases[] = {
        {16, 8},       {49 * 16, 56}, {50 * 16, 56}, {42 * 16, 48}, {56 * 16 + 15, 56},
        {57 * 16, 64}, {0, 0},        {15, 0},
    };
    for (const auto& [length, side] : cases)
        EXPECT_EQ(SquareSideForLength(length), side) << length;
}

TEST_F(Extraction, TypedSizes)
{
    struct Case {
        const char* offset;
        bool specify;
        const char *x, *y;
        int width, height;
    };
    const Case cases[] = {
        {"&H105000", true, "16", "", 16, 48}, // 12 tiles, 2 per row
        {"&H105000", true, "", "16", 48, 16},    {"&H105000", true, "24", "40", 24, 40},
        {"&H105000", true, "0", "0", 24, 24}, // sqrt(12) = 3.46 -> 3 tiles
        {"&H105000", false, "16", "16", 24, 24}, {"&H106000", false, "", "", 56, 56}, // 50 tiles
        {"&H107000", false, "", "", 48, 48},                                          // 42 tiles
        {"&H105000", true, "&H10", " 8", 16, 8},
    };
    for (const auto& c : cases) {
        auto r = at(c.offset);
        r.specifySize = c.specify;
        r.widthText = c.x;
        r.heightText = c.y;
        auto picture = ExtractFromRom(r);
        ASSERT_TRUE(picture) << c.offset << " " << c.x << "x" << c.y << ": " << picture.error().message;
        EXPECT_EQ(picture->width, c.width) << c.offset << " " << c.x << "x" << c.y;
        EXPECT_EQ(picture->height, c.height) << c.offset << " " << c.x << "x" << c.y;
    }
}

TEST_F(Extraction, RefusedRequests)
{
    auto sized = [&](const char* x, const char* y, const char* offset = "&H105000") {
        auto r = at(offset);
        r.specifySize = true;
        r.widthText = x;
        r.heightText = y;
        return r;
    };
    auto unown = [&](int index) {
        auto r = slot(201);
        r.unownIndex = index;
        return r;
    };
    auto trainer = [&](int number) {
        auto r = slot(1);
        r.trainer = true;
        r.trainerNumber = number;
        return r;
    };
    auto missing = slot(1);
    missing.romPath = dir_ / "missing.gbc";
    struct Case {
        const char* what;
        ExtractRequest request;
        RomError::Kind kind;
        const char* text; // part of the message
    };
    const Case cases[] = {
        {"missing file", missing, RomError::Kind::OpenFailed, "konnte nicht geöffnet werden"},
        {"pokemon 0", slot(0), RomError::Kind::OutOfRange, "Die Pokemonnummer 0 liegt außerhalb"},
        {"pokemon 252", slot(252), RomError::Kind::OutOfRange, "von 1 bis 251."},
        {"unown 27", unown(27), RomError::Kind::OutOfRange, "Der Unown-Index 27"},
        {"unown 0", unown(0), RomError::Kind::OutOfRange, "Der Unown-Index 0"},
        {"trainer 67", trainer(67), RomError::Kind::OutOfRange, "Die Trainernummer 67"},
        {"no end marker", trainer(5), RomError::Kind::NoPicture, "fehlt das Endezeichen"},
        {"bad copy", slot(7), RomError::Kind::NoPicture, "Kopierbefehl"},
        {"under one tile", at("&H10C000"), RomError::Kind::NoPicture, "kürzer als eine Kachel"},
        {"offset past end", at("&H200000"), RomError::Kind::OutOfRange, "Der Offset 2097152"},
        {"negative offset", at("-5"), RomError::Kind::OutOfRange, "Der Offset -5"},
        {"width 4", sized("4", ""), RomError::Kind::BadSize, "Breite 4 ist kleiner als 8 Pixel."},
        {"height 7", sized("", "7"), RomError::Kind::BadSize, "Höhe 7 ist kleiner als 8 Pixel."},
        {"negative width", sized("-16", "16"), RomError::Kind::BadSize, "Breite -16"},
        {"too many pixels", sized("256", "256"), RomError::Kind::BadSize, "größer als 32767 Pixel."},
        {"large square", at("&H108000"), RomError::Kind::BadSize, "192 x 192"},
        {"huge typed", sized("&HFFFFFFFFFFFF", "8"), RomError::Kind::BadSize, "größer als 32767"},
    };
    for (const auto& c : cases) {
        auto picture = ExtractFromRom(c.request);
        ASSERT_FALSE(picture) << c.what;
        EXPECT_EQ(picture.error().kind, c.kind) << c.what << ": " << picture.error().message;
        EXPECT_NE(picture.error().message.find(c.text), std::string::npos)
            << c.what << ": " << picture.error().message;
    }
}

TEST_F(Extraction, ShortRom)
{
    test::SyntheticRom shortRom('E', 0x48004);
    shortRom.write(dir_ / "short.gbc");
    auto r = slot(2);
    r.romPath = dir_ / "short.gbc";
    auto picture = ExtractFromRom(r);
    ASSERT_FALSE(picture);
    EXPECT_EQ(picture.error().kind, RomError::Kind::TooShort);
    EXPECT_NE(picture.error().message.find("zu kurz für die Zeigertabelle"), std::string::npos);
    // A pointer into a bank past the end finds no picture.
    shortRom.setPokemonPicture(1, false, 0x1FC000);
    shortRom.write(dir_ / "short.gbc");
    r.pokemonNumber = 1;
    EXPECT_EQ(ExtractFromRom(r).error().kind, RomError::Kind::NoPicture);
}

} // namespace
} // namespace orv::rom
