#include <gtest/gtest.h>

#include "game_text.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(GameText, TableFillingOrder)
{
    const auto& table = GameCharTable();
    const std::pair<uint8_t, const char*> entries[] = {
        {0x80, "A"}, {0x99, "Z"}, {0x9A, "("}, {0x9E, "["},    {0xA0, "a"}, {0xB9, "z"},
        {0xBA, "{"}, {0xF6, "0"}, {0xFF, "9"}, {0x54, "POKé"}, {0xBE, "ß"}, {0xC5, "ü"},
        {0x50, ""},  {0x00, ""},  {0xBB, ""},  {0xE8, "."},    {0xF2, "."}, {0xEF, "(m)"},
    };
    for (const auto& [byte, text] : entries)
        EXPECT_EQ(table.text(byte), text) << std::hex << int(byte);
}

TEST(GameText, Decode)
{
    EXPECT_EQ(DecodeGameText(Bytes{0x87, 0x80, 0x8B, 0x8B, 0x8E, 0x50, 0x50, 0x50, 0x50, 0x50}),
              "HALLO");
    // Bytes without text vanish, and 0x50 does not end the reading.
    EXPECT_EQ(DecodeGameText(Bytes{0x80, 0x50, 0x00, 0x81, 0xBA, 0x54, 0xD4}), "AB{POKé's");
}

TEST(GameText, NameFieldsOfTheExamples)
{
    struct Case {
        const char* name;
        Bytes encoded; // before the 0x50 filler
    };
    const Case cases[] = {
        {"HALLO", {0x87, 0x80, 0x8B, 0x8B, 0x8E}},
        {"DR.NO", {0x83, 0x91, 0xE8, 0x8D, 0x8E}},
        {"POKéBALL", {0x54, 0x81, 0x80, 0x8B, 0x8B}},
        {"Äpfel", {0xC0, 0xAF, 0xA5, 0xA4, 0xAB}},
        {"SIMNA", {0x92, 0x88, 0xE2, 0x80}},
        {"{", {0xBA}},
        {"", {}},
        {"ABCDEFGHIJ", {0x80, 0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89}},
        {"PK's(m)", {0xE1, 0xD4, 0xEF}},
        {"(f)'", {0xF5, 0xE0}},
        {"([", {0x9A, 0x9E}},
        {"ßÖ 9", {0xBE, 0xC1, 0x7F, 0xFF}},
    };
    for (const auto& c : cases) {
        auto field = NameFieldBytes(c.name, 10);
        ASSERT_TRUE(field) << c.name;
        Bytes expected = c.encoded;
        expected.resize(10, 0x50);
        EXPECT_EQ(*field, expected) << c.name;
        EXPECT_EQ(EncodeGameText(c.name), c.encoded) << c.name;
    }
}

TEST(GameText, RefusedNames)
{
    struct Case {
        const char* name;
        int length;
        RomError::Kind kind;
        const char* message;
    };
    const Case cases[] = {
        {"é", 10, RomError::Kind::BadName,
         "Der Name \"é\" enthält das Zeichen \"é\", das im Spiel nicht darstellbar ist."},
        {"AB#C", 10, RomError::Kind::BadName,
         "Der Name \"AB#C\" enthält das Zeichen \"#\", das im Spiel nicht darstellbar ist."},
        {"ABCDEFGHIJK", 10, RomError::Kind::BadName,
         "Der Name \"ABCDEFGHIJK\" braucht 11 Bytes, im Rom ist aber nur Platz für 10."},
        {"POKéMON", 3, RomError::Kind::BadName,
         "Der Name \"POKéMON\" braucht 4 Bytes, im Rom ist aber nur Platz für 3."},
        {"A", 0, RomError::Kind::OutOfRange,
         "Die Namenslänge 0 liegt außerhalb des erlaubten Bereichs von 1 bis 20."},
        {"A", 21, RomError::Kind::OutOfRange,
         "Die Namenslänge 21 liegt außerhalb des erlaubten Bereichs von 1 bis 20."},
    };
    for (const auto& c : cases) {
        auto field = NameFieldBytes(c.name, c.length);
        ASSERT_FALSE(field) << c.name;
        EXPECT_EQ(field.error().kind, c.kind) << c.name;
        EXPECT_EQ(field.error().message, c.message);
    }
    auto bad = EncodeGameText("AB\xC3"); // truncated UTF-8
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().index, 2u);
    EXPECT_EQ(EncodeGameText("ABCé").error().index, 3u);
    EXPECT_EQ(NameFieldBytes("POKé", 1), Bytes{0x54});
}

TEST(GameText, SourceNameFromPath)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Bilder\\drache.neu.gif", "drache"},
        {"/home/user/bilder/glurak.bmp", "glurak"},
        {"C:\\Bilder/mixed\\last.gif", "last"},
        {"ohnepunkt", "ohnepunkt"},
        {"C:\\Ordner.mit.punkt\\bild", "bild"},
        {".versteckt", ""},
        {"", ""},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(SourceNameFromPath(path), name) << path;
}

TEST(GameText, ReadPokemonNameFromRom)
{
    test::TempDir dir;
    for (char language : {'D', 'e'}) {
        auto rom = test::SyntheticRom::Standard(language, test::Compression::Literal);
        rom.write(dir / "rom.gbc");
        auto name = ReadPokemonName(dir / "rom.gbc", 25, 10);
        ASSERT_TRUE(name) << name.error().message;
        EXPECT_EQ(name->text, "P25");
        EXPECT_EQ(name->offset, test::kNameTable + 240);
        // L = 3 puts name 4 at base + 9: the last filler of "P1", then "P2".
        auto shortName = ReadPokemonName(dir / "rom.gbc", 4, 3);
        ASSERT_TRUE(shortName);
        EXPECT_EQ(shortName->offset, test::kNameTable + 9);
        EXPECT_EQ(shortName->text, "P2");
    }
    auto unknown = test::SyntheticRom::Standard('X', test::Compression::Literal);
    unknown.write(dir / "unknown.gbc");
    auto name = ReadPokemonName(dir / "unknown.gbc", 1, 10);
    ASSERT_FALSE(name);
    EXPECT_EQ(name.error().message, "Fehler: Sprache des Roms konnte nicht erkannt werden.");
    EXPECT_EQ(ReadPokemonName(dir / "missing.gbc", 1, 10).error().kind, RomError::Kind::OpenFailed);
    EXPECT_EQ(ReadPokemonName(dir / "rom.gbc", 252, 10).error().kind, RomError::Kind::OutOfRange);
    EXPECT_EQ(ReadPokemonName(dir / "rom.gbc", 0, 10).error().kind, RomError::Kind::OutOfRange);
}

} // namespace
} // namespace orv::rom
