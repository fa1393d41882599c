#include <gtest/gtest.h>

#include "rom_layout.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

TEST(RomLayout, LanguageByteInEitherCase)
{
    const std::pair<uint8_t, std::optional<RomLanguage>> cases[] = {
        {'D', RomLanguage::German},  {'d', RomLanguage::German}, {'E', RomLanguage::English},
        {'e', RomLanguage::English}, {'J', std::nullopt},        {'F', std::nullopt},
        {0, std::nullopt},           {0xC4, std::nullopt},
    };
    for (const auto& [byte, language] : cases)
        EXPECT_EQ(LanguageFromByte(byte), language) << int(byte);
}

TEST(RomLayout, DetectLanguageFromFile)
{
    test::TempDir dir;
    for (char byte : {'d', 'E', 'x'}) {
        test::SyntheticRom rom(byte, 0x1000);
        rom.write(dir / "rom.gbc");
        auto file = RomFile::open(dir / "rom.gbc");
        ASSERT_TRUE(file);
        auto language = DetectRomLanguage(*file);
        if (byte == 'x') {
            ASSERT_FALSE(language);
            EXPECT_EQ(language.error().message, "Fehler: Sprache des Roms konnte nicht erkannt werden.");
        } else {
            EXPECT_EQ(language, byte == 'd' ? RomLanguage::German : RomLanguage::English);
        }
    }
    test::SyntheticRom tiny('E', 0x100); // ends before the header byte
    tiny.write(dir / "tiny.gbc");
    auto file = RomFile::open(dir / "tiny.gbc");
    ASSERT_TRUE(file);
    EXPECT_EQ(DetectRomLanguage(*file).error().kind, RomError::Kind::TooShort);
}

TEST(RomLayout, PicturePointersWithBankRemap)
{
    struct Case {
        BankPointer stored;
        int64_t offset;
    };
    const Case decoded[] = {
        {{0x13, 0x00, 0x40}, 0x7C000}, // stored 0x13 means bank 0x1F, not mapped on to 0x2E
        {{0x1F, 0x00, 0x40}, 0xB8000},
        {{0x14, 0x34, 0x52}, 0x81234},
        {{0x7C, 0x00, 0x40}, 0x1F0000},
        {{0x05, 0x34, 0xD2}, 0x5 * 0x4000 + 0x1234}, // high byte >= 0x80 like & 0x3F
        {{0x05, 0x34, 0x12}, 0x5 * 0x4000 + 0x1234},
    };
    for (const auto& c : decoded)
        EXPECT_EQ(DecodePicturePointer(c.stored), c.offset) << std::hex << c.offset;

    const std::pair<int64_t, BankPointer> encoded[] = {
        {0x7C000, {0x13, 0x00, 0x40}}, {0xB8000, {0x1F, 0x00, 0x40}},  {0x83FFF, {0x14, 0xFF, 0x7F}},
        {0x4C000, {0x13, 0x00, 0x40}}, {0x1F0000, {0x7C, 0x00, 0x40}}, {0x3FFFFF, {0xFF, 0xFF, 0x7F}},
    };
    for (const auto& [offset, stored] : encoded)
        EXPECT_EQ(EncodePicturePointer(offset), stored) << std::hex << offset;

    // Data in banks 0x13 and 0x14 reads back as banks 0x1F and 0x20.
    EXPECT_EQ(DecodePicturePointer(*EncodePicturePointer(0x4C000)), 0x7C000);
    for (int64_t offset : {0x4C000, 0x4FFFF, 0x50000, 0x53FFF, 0x400000, -1})
        EXPECT_FALSE(PicturePointerReachable(offset)) << std::hex << offset;
    for (int64_t offset : {0x0, 0x4BFFF, 0x54000, 0x7C000, 0x80000, 0xB8000, 0x3FFFFF})
        EXPECT_TRUE(PicturePointerReachable(offset)) << std::hex << offset;
    EXPECT_FALSE(EncodeBankPointer(0x400000));
    EXPECT_FALSE(WritePicturePointer(0x48000, 0x400000));
    auto patch = WritePicturePointer(0x48093, 0x1F0000);
    ASSERT_TRUE(patch);
    EXPECT_EQ(patch->offset, 0x48093);
    EXPECT_EQ(patch->bytes, (std::vector<uint8_t>{0x7C, 0x00, 0x40}));
}

TEST(RomLayout, PlainBankPointerHasNoRemap)
{
    EXPECT_EQ(DecodeBankPointer({0x13, 0x00, 0x40}), 0x4C000);
    EXPECT_EQ(EncodeBankPointer(0x7C000), (BankPointer{0x1F, 0x00, 0x40}));
}

TEST(RomLayout, TableLocations)
{
    struct Case {
        const char* what;
        int64_t actual, expected;
    };
    const Case cases[] = {
        {"poke 1 front", PicturePointerLocation(false, 1, 1, false), 0x48000},
        {"poke 1 back", PicturePointerLocation(false, 1, 1, true), 0x48003},
        {"poke 25 back", PicturePointerLocation(false, 25, 7, true), 0x48093},
        {"unown 1 front", PicturePointerLocation(false, 201, 1, false), 0x7C000},
        {"unown 1 back", PicturePointerLocation(false, 201, 1, true), 0x7C003},
        {"unown 3 front", PicturePointerLocation(false, 201, 3, false), 0x7C00C},
        {"unown 3 back", PicturePointerLocation(false, 201, 3, true), 0x7C00F},
        {"unown 26 back", PicturePointerLocation(false, 201, 26, true), 0x7C099},
        {"trainer 1", PicturePointerLocation(true, 1, 5, true), 0x80000},
        {"trainer 2", PicturePointerLocation(true, 2, 1, false), 0x80003},
        {"trainer 66", PicturePointerLocation(true, 66, 1, false), 0x800C3},
        {"poke 1 normal", PaletteLocation(false, 1, false), 0xAD45},
        {"poke 1 shiny", PaletteLocation(false, 1, true), 0xAD49},
        {"poke 25 shiny", PaletteLocation(false, 25, true), 0xAE09},
        {"poke 201 normal", PaletteLocation(false, 201, false), 0xB385},
        {"poke 201 shiny", PaletteLocation(false, 201, true), 0xB389},
        {"trainer 1 palette", PaletteLocation(true, 1, true), 0xB541},
        {"trainer 2 palette", PaletteLocation(true, 2, false), 0xB545},
        {"trainer 66 palette", PaletteLocation(true, 66, false), 0xB645},
        {"size 1 german", SizeByteLocation(RomLanguage::German, 1), 0x51B11},
        {"size 201 german", SizeByteLocation(RomLanguage::German, 201), 0x53411},
        {"size 1 english", SizeByteLocation(RomLanguage::English, 1), 0x51B1C},
        {"size 201 english", SizeByteLocation(RomLanguage::English, 201), 0x5341C},
        {"record 1 english", BaseDataRecordLocation(RomLanguage::English, 1), 0x51B0B},
        {"record 2 english", BaseDataRecordLocation(RomLanguage::English, 2), 0x51B2B},
        {"record 1 german", BaseDataRecordLocation(RomLanguage::German, 1), 0x51B00},
        {"names german", NameTablePointerLocation(RomLanguage::German), 0x35E5},
        {"names english", NameTablePointerLocation(RomLanguage::English), 0x35EE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.what;
}

TEST(RomLayout, FrontPictureSizeByte)
{
    struct Case {
        int width, height;
        std::optional<uint8_t> byte;
    };
    const Case cases[] = {
        {56, 56, 0x77}, {40, 48, 0x56}, {8, 8, 0x11}, {72, 72, 0x99}, {80, 56, {}},
        {56, 80, {}},   {0, 56, {}},    {56, 4, {}},  {63, 63, 0x77}, {-8, 8, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrontPicSizeByte(c.width, c.height), c.byte) << c.width << "x" << c.height;
}

TEST(RomLayout, PaletteWordsBothWays)
{
    const auto words = MakePaletteWords({0xFF, 0x03, 0x00, 0x7C});
    EXPECT_EQ(words.colours[0], 0xFFFF00u);
    EXPECT_EQ(words.colours[1], 0x0000FFu);
    EXPECT_EQ(words.text, "FF03007C");
    const auto patch = WritePaletteWords(0xAD45, 0xFFFF00, 0x0000FF);
    EXPECT_EQ(patch.offset, 0xAD45);
    EXPECT_EQ(patch.bytes, (std::vector<uint8_t>{0xFF, 0x03, 0x00, 0x7C}));
}

TEST(RomLayout, ReadsFromRomAndReportsShortFiles)
{
    test::TempDir dir;
    for (char language : {'D', 'E'}) {
        auto rom = test::SyntheticRom::Standard(language, test::Compression::Literal);
        rom.write(dir / "rom.gbc");
        auto file = RomFile::open(dir / "rom.gbc");
        ASSERT_TRUE(file);
        EXPECT_EQ(ReadNameTableBase(*file, language == 'D' ? RomLanguage::German : RomLanguage::English),
                  test::kNameTable);
        EXPECT_EQ(ReadPicturePointer(*file, 0x48093), 0x81000);
        EXPECT_EQ(ReadPicturePointer(*file, 0x7C00C), 0xB8100);
        auto palette = ReadPaletteWords(*file, 0xAD45);
        ASSERT_TRUE(palette);
        EXPECT_EQ(palette->text, "FF03007C");
    }
    test::SyntheticRom shortRom('E', 0x48002);
    shortRom.write(dir / "short.gbc");
    auto file = RomFile::open(dir / "short.gbc");
    ASSERT_TRUE(file);
    auto pointer = ReadPicturePointer(*file, 0x48000);
    ASSERT_FALSE(pointer);
    EXPECT_EQ(pointer.error().kind, RomError::Kind::TooShort);
    EXPECT_NE(pointer.error().message.find("ist zu kurz für die Zeigertabelle"), std::string::npos)
        << pointer.error().message;
    EXPECT_TRUE(ReadPaletteWords(*file, 0xAD45));
    EXPECT_EQ(ReadPaletteWords(*file, 0x48000).error().kind, RomError::Kind::TooShort);
}

} // namespace
} // namespace orv::rom
