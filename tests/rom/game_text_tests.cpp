#include <gtest/gtest.h>

#include "game_text.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(GameText, DecodingAndNameFields)
{
    // Bytes without text vanish, 0x50 does not end the reading, and both dots read back.
    const Bytes bytes{0x87, 0x80, 0x8B, 0x8B, 0x8E, 0x50, 0x00, 0xBB, 0x81, 0x54, 0xD4, 0xE8, 0xF2};
    EXPECT_EQ(DecodeGameText(bytes), "HALLOBPOKé's..");

    const std::tuple<const char*, int, Bytes, std::string> cases[] = { // name, L, bytes or refusal
        {"HALLO", 10, {0x87, 0x80, 0x8B, 0x8B, 0x8E}, ""},
        {"DR.NO", 10, {0x83, 0x91, 0xE8, 0x8D, 0x8E}, ""},
        {"POKéBALL", 10, {0x54, 0x81, 0x80, 0x8B, 0x8B}, ""},
        {"Äpfel", 10, {0xC0, 0xAF, 0xA5, 0xA4, 0xAB}, ""},
        {"SIMNA", 10, {0x92, 0x88, 0xE2, 0x80}, ""},
        {"{", 10, {0xBA}, ""},
        {"", 10, {}, ""},
        {"PK's(m)", 10, {0xE1, 0xD4, 0xEF}, ""},
        {"([", 10, {0x9A, 0x9E}, ""}, // the single entries fill the table after the ranges
        {"ßÖ 9", 10, {0xBE, 0xC1, 0x7F, 0xFF}, ""},
        {"ABCDEFGHIJ", 10, {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89}, ""},
        {"POKé", 1, {0x54}, ""},
        {"é", 10, {}, "Der Name \"é\" enthält das Zeichen \"é\", das im Spiel nicht darstellbar ist."},
        {"ABCDEFGHIJK", 10, {},
         "Der Name \"ABCDEFGHIJK\" braucht 11 Bytes, im Rom ist aber nur Platz für 10."},
        {"POKéMON", 3, {}, "Der Name \"POKéMON\" braucht 4 Bytes, im Rom ist aber nur Platz für 3."},
        {"A", 21, {}, "Die Namenslänge 21 liegt außerhalb des erlaubten Bereichs von 1 bis 20."},
    };
    for (auto [name, length, expected, refusal] : cases) {
        auto field = NameFieldBytes(name, length);
        EXPECT_EQ(field ? "" : field.error().message, refusal) << name;
        expected.resize(static_cast<size_t>(length), 0x50);
        EXPECT_EQ(field.value_or(Bytes{}), refusal.empty() ? expected : Bytes{}) << name;
    }
    EXPECT_EQ(EncodeGameText("AB\xC3").error().index, 2u); // truncated UTF-8
    // Overlong forms do not pass as the letter they hide ("\xC1\x8F" would be "O").
    EXPECT_EQ(EncodeGameText("E\xC1\x8F").error().index, 1u);
    EXPECT_EQ(EncodeGameText("\xE0\x81\x81").error().index, 0u);
}

TEST(GameText, SourceNameFromPath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Bilder\\drache.neu.gif", "drache"}, {"/home/user/glurak.bmp", "glurak"},
        {"C:\\Bilder/mixed\\last.gif", "last"},   {"C:\\Ordner.mit.punkt\\bild", "bild"},
        {".versteckt", ""},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(SourceNameFromPath(path), name) << path;
}

TEST(GameText, ReadPokemonNameFromRom)
{
    test::TempDir dir;
    for (char language : {'d', 'e'}) { // the language byte in either case
        test::SyntheticRom::Standard(language).write(dir / "rom.gbc");
        // L = 3 puts name 4 at base + 9: the last filler of "P1", then "P2".
        for (auto [number, length, offset, text] : {std::tuple(25, 10, 240, "P25"), {4, 3, 9, "P2"}}) {
            auto name = ReadPokemonName(dir / "rom.gbc", number, length);
            ASSERT_TRUE(name) << name.error().message;
            EXPECT_EQ(name->offset, test::kNameTable + offset);
            EXPECT_EQ(name->text, text);
        }
    }
    EXPECT_EQ(ReadPokemonName(dir / "rom.gbc", 252, 10).error().kind, RomError::Kind::OutOfRange);
    test::SyntheticRom('X').write(dir / "unknown.gbc");
    EXPECT_EQ(ReadPokemonName(dir / "unknown.gbc", 1, 10).error().message,
              "Fehler: Sprache des Roms konnte nicht erkannt werden.");
    test::SyntheticRom('E', 0x100).write(dir / "tiny.gbc"); // ends before the header byte
    EXPECT_EQ(ReadPokemonName(dir / "tiny.gbc", 1, 10).error().kind, RomError::Kind::TooShort);
}

// All names at once, each cut at its terminator even when bytes follow it.
TEST(GameText, ReadPokemonNamesForTheLabels)
{
    auto content = test::SyntheticRom::Standard('E');
    const uint8_t cut[] = {0x80, 0x50, 0x81, 0x82}; // "A", end, then "BC"
    std::ranges::copy(cut, content.bytes.begin() + content.nameLocation(7));
    auto names = ReadPokemonNames(RomFile::fromBytes("rom.gbc", content.bytes), 10);
    ASSERT_TRUE(names) << names.error().message;
    ASSERT_EQ(names->size(), 251u);
    EXPECT_EQ(names->front(), "P1");
    EXPECT_EQ((*names)[6], "A");
    EXPECT_EQ(names->back(), "P251");

    // A table whose last name lies past the end of the file gives no names.
    content.bytes.resize(static_cast<size_t>(content.nameLocation(251) + 5));
    EXPECT_EQ(ReadPokemonNames(RomFile::fromBytes("rom.gbc", content.bytes), 10).error().kind,
              RomError::Kind::TooShort);
    EXPECT_EQ(ReadPokemonNames(RomFile::fromBytes("rom.gbc", content.bytes), 21).error().kind,
              RomError::Kind::OutOfRange);
}

} // namespace
} // namespace orv::rom
