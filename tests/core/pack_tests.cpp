// Sprite-pack names and .pal files, and which ROM a file is.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "pack_index.h"
#include "pack_layout.h"
#include "palette_file.h"
#include "rom_identity.h"

namespace orv::rom {
namespace {

std::span<const uint8_t> bytesOf(std::string_view text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

TEST(RomIdentity, Sha1OfKnownMessagesAcrossBlockEdges)
{
    EXPECT_EQ(Sha1Text(Sha1({})), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(Sha1Text(Sha1(bytesOf("abc"))), "a9993e364706816aba3e25717850c26c9cd0d89d");
    // 56 bytes: the length no longer fits the first padding block.
    EXPECT_EQ(Sha1Text(Sha1(bytesOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"))),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    const std::string million(1000000, 'a');
    EXPECT_EQ(Sha1Text(Sha1(bytesOf(million))), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

std::vector<uint8_t> romWithHeader(std::string_view title, std::string_view code)
{
    std::vector<uint8_t> rom(0x8000, 0);
    std::ranges::copy(title, rom.begin() + 0x134);
    std::ranges::copy(code, rom.begin() + 0x13F);
    rom[0x143] = 0x80;
    return rom;
}

TEST(RomIdentity, EditionFromTitleAndGameCode)
{
    struct Row {
        std::string_view title, code;
        GameVersion version;
        EditionLanguage language;
    };
    for (const Row& row : {
             Row{"POKEMON_GLD", "AAUE", GameVersion::Gold, EditionLanguage::English},
             Row{"POKEMON_SLV", "AAXE", GameVersion::Silver, EditionLanguage::English},
             Row{"POKEMON_GLD", "AAUD", GameVersion::Gold, EditionLanguage::German},
             Row{"POKEMON_SLV", "AAXD", GameVersion::Silver, EditionLanguage::German},
             Row{"POKEMON_SLV", "", GameVersion::Silver, EditionLanguage::Unknown}, // title alone
             Row{"MY HACK", "AAXE", GameVersion::Silver, EditionLanguage::English}, // code alone
             Row{"TETRIS", "", GameVersion::Unknown, EditionLanguage::Unknown},
         }) {
        const Edition edition = EditionOfRom(romWithHeader(row.title, row.code));
        EXPECT_EQ(edition.version, row.version) << row.title << " " << row.code;
        EXPECT_EQ(edition.language, row.language) << row.title << " " << row.code;
    }
    EXPECT_EQ(EditionOfRom(std::vector<uint8_t>(0x140, 0)).version, GameVersion::Unknown);
    const auto rom = romWithHeader("POKEMON_GLD", "AAUE");
    const RomIdentity identity = IdentifyRom(rom);
    EXPECT_FALSE(identity.unchangedRetail);
    EXPECT_EQ(identity.sha1, Sha1(rom));
    EXPECT_EQ(identity.edition.gameCode, "AAUE");
}

TEST(PalFile, ReadsTheLayoutsLinesAndWritesThemBack)
{
    const auto pair = ParsePalFile("\tRGB 31, 20, 04\n\n\tRGB 08, 00, 31 ; shade\n");
    ASSERT_TRUE(pair);
    const unsigned first = 31 | 20 << 5 | 4 << 10, second = 8 | 0 << 5 | 31 << 10;
    EXPECT_EQ(*pair, (PalettePair{uint8_t(first & 0xFF), uint8_t(first >> 8), uint8_t(second & 0xFF),
                                  uint8_t(second >> 8)}));
    EXPECT_EQ(FormatPalFile(*pair), "\tRGB 31, 20, 04\n\tRGB 08, 00, 31\n");
    EXPECT_EQ(ParsePalFile(FormatPalFile(*pair)), pair);
    // No final newline, CRLF, lower case, spaces instead of a tab.
    EXPECT_EQ(ParsePalFile("rgb 31,20,4\r\n  RGB 8, 0, 31"), pair);
}

TEST(PalFile, RefusesWhatIsNotTwoColourLines)
{
    using K = PalFileError::Kind;
    struct Row {
        std::string_view text;
        K kind;
        int line, value;
    };
    for (const Row& row : {
             Row{"", K::WrongLineCount, 0, 0},
             Row{"\tRGB 1, 2, 3\n", K::WrongLineCount, 1, 0},
             Row{"\tRGB 1, 2, 3\n\tRGB 1, 2, 3\n\tRGB 1, 2, 3\n", K::WrongLineCount, 3, 0},
             Row{"\tRGB 1, 2, 3\n\tRGB 1, 32, 3\n", K::ComponentTooLarge, 2, 32},
             Row{"\tRGB 1, 2\n\tRGB 1, 2, 3\n", K::NotAColourLine, 1, 0},
             Row{"\n\tRGB 1, 2, 3 4\n", K::NotAColourLine, 2, 0},
             Row{"\tRGBA 1, 2, 3\n", K::NotAColourLine, 1, 0},
             Row{"\tRGB -1, 2, 3\n", K::NotAColourLine, 1, 0},
             Row{"\tRGB 99999, 2, 3\n", K::NotAColourLine, 1, 0},
         }) {
        const auto pair = ParsePalFile(row.text);
        ASSERT_FALSE(pair) << row.text;
        EXPECT_EQ(pair.error().kind, row.kind) << row.text;
        EXPECT_EQ(pair.error().line, row.line) << row.text;
        EXPECT_EQ(pair.error().value, row.value) << row.text;
    }
}

TEST(PalFile, PackColoursSpreadFiveBitsOverEight)
{
    EXPECT_EQ(PackComponent(0), 0);
    EXPECT_EQ(PackComponent(31), 255);
    EXPECT_EQ(PackComponent(13), (13 << 3) | (13 >> 2));
    EXPECT_EQ(PackColour(static_cast<GbcColor>(31 | 0 << 5 | 13 << 10)), 0xFF0000u | PackComponent(13));
    for (unsigned c = 0; c < 32; ++c)
        EXPECT_EQ(ToGbcColor(PackColour(static_cast<GbcColor>(c | c << 5 | c << 10))), c | c << 5 | c << 10);
}

TEST(PackLayout, EveryPathReadsBackAsItsEntry)
{
    std::set<std::string> paths;
    const auto check = [&paths](PackEntry entry) {
        const std::string path = PackPath(entry);
        ASSERT_FALSE(path.empty()) << int(entry.kind) << " " << entry.number;
        EXPECT_TRUE(paths.insert(path).second) << path;
        EXPECT_EQ(ParsePackPath(path), entry) << path;
    };
    for (int n = 1; n <= 251; ++n)
        for (PackFile f : {PackFile::Front, PackFile::FrontGold, PackFile::FrontSilver, PackFile::Back,
                           PackFile::NormalPal, PackFile::ShinyPal})
            if (n != 201 || f == PackFile::NormalPal || f == PackFile::ShinyPal)
                check({PackKind::Pokemon, n, f});
    for (int u = 1; u <= 26; ++u)
        for (PackFile f : {PackFile::Front, PackFile::FrontGold, PackFile::FrontSilver, PackFile::Back})
            check({PackKind::Unown, u, f});
    for (int t = 1; t <= 66; ++t)
        check({PackKind::Trainer, t, PackFile::TrainerPicture});
    EXPECT_EQ(paths.size(), 250u * 6 + 2 + 26 * 4 + 66);

    EXPECT_EQ(PackPath({PackKind::Pokemon, 25, PackFile::Front}), "pokemon/pikachu/front.png");
    EXPECT_EQ(PackPath({PackKind::Pokemon, 201, PackFile::ShinyPal}), "pokemon/unown/shiny.pal");
    EXPECT_EQ(PackPath({PackKind::Unown, 3, PackFile::Back}), "pokemon/unown_c/back.png");
    EXPECT_EQ(PackPath({PackKind::Trainer, 1, PackFile::TrainerPicture}), "trainers/falkner.png");
    EXPECT_EQ(PackName(PackKind::Pokemon, 251), "celebi");
    EXPECT_EQ(PackName(PackKind::Unown, 26), "unown_z");
    EXPECT_EQ(PackName(PackKind::Trainer, 0), "");
}

TEST(PackLayout, OtherPathsAreNotEntries)
{
    for (std::string_view path : {"pokemon/unown/front.png", "pokemon/unown_a/shiny.pal", "pokemon/pikachu/front.bmp",
                                  "pokemon/pikachu", "egg/front.png", "pokemon/missingno/front.png",
                                  "trainers/falkner/front.png", "trainers/nobody.png", "pokemon/pikachu/x/front.png"})
        EXPECT_FALSE(ParsePackPath(path)) << path;
    EXPECT_EQ(ParsePackPath("Pokemon/Pikachu/FRONT_GOLD.png"), (PackEntry{PackKind::Pokemon, 25, PackFile::FrontGold}));
    EXPECT_EQ(ParsePackPath("pokemon//pikachu/back.png"), (PackEntry{PackKind::Pokemon, 25, PackFile::Back}));
}

// extract-all's files in both layouts: each pack file once, naming the slot
// it holds; each flat name once, in its fixed digits.
TEST(PackLayout, ExtractAllsFilesInBothLayouts)
{
    std::set<std::string> paths;
    size_t palettes = 0;
    for (const PackOutput& output : PackOutputs()) {
        EXPECT_TRUE(paths.insert(output.relative).second) << output.relative;
        const auto entry = ParsePackPath(output.relative);
        ASSERT_TRUE(entry) << output.relative;
        palettes += output.palette;
        EXPECT_EQ(output.palette, entry->file == PackFile::NormalPal || entry->file == PackFile::ShinyPal);
        EXPECT_EQ(output.slot.number, entry->number) << output.relative;
        EXPECT_EQ(output.slot.kind == Slot::Kind::Trainer, entry->kind == PackKind::Trainer) << output.relative;
        EXPECT_EQ(output.slot.back, entry->file == PackFile::Back) << output.relative;
        EXPECT_EQ(output.slot.shiny, entry->file == PackFile::ShinyPal) << output.relative;
    }
    EXPECT_EQ(paths.size() - palettes, 618u);
    EXPECT_EQ(palettes, 252u);

    std::set<std::string> names;
    for (const Slot& slot : AllPictureSlots(Pokemon201::Listed))
        EXPECT_TRUE(names.insert(FlatName(slot)).second) << FlatName(slot);
    EXPECT_EQ(names.size(), 620u);
    EXPECT_EQ(FlatName({Slot::Kind::Pokemon, 25}), "pokemon-025-front");
    EXPECT_EQ(FlatName({Slot::Kind::Pokemon, 201, true}), "pokemon-201-back");
    EXPECT_EQ(FlatName({Slot::Kind::Unown, 3, true}), "unown-03-back");
    EXPECT_EQ(FlatName({Slot::Kind::Trainer, 12}), "trainer-12");
}

std::vector<std::string> pathsOf(const std::vector<PackFileUse>& uses)
{
    std::vector<std::string> paths;
    for (const PackFileUse& use : uses)
        paths.push_back(use.path);
    return paths;
}

TEST(PackIndex, TheFrontOfTheRomsEdition)
{
    using S = PackSkip;
    const std::string plain = "pokemon/pikachu/front.png", gold = "pokemon/pikachu/front_gold.png",
                      silver = "pokemon/pikachu/front_silver.png";
    struct Row {
        std::vector<std::string> files;
        GameVersion version;
        std::string used;
        std::vector<std::pair<std::string, S>> skipped;
    };
    for (const Row& row : {
             Row{{plain, gold, silver}, GameVersion::Gold, gold, {{plain, S::EditionFront}, {silver, S::OtherEdition}}},
             Row{{plain, gold, silver}, GameVersion::Silver, silver, {{gold, S::OtherEdition}, {plain, S::EditionFront}}},
             Row{{plain, gold, silver}, GameVersion::Unknown, plain, {{gold, S::EditionUnknown}, {silver, S::EditionUnknown}}},
             Row{{plain, silver}, GameVersion::Gold, plain, {{silver, S::OtherEdition}}},
             Row{{silver}, GameVersion::Gold, "", {{silver, S::OtherEdition}}},
             Row{{gold}, GameVersion::Unknown, "", {{gold, S::EditionUnknown}}},
         }) {
        const PackIndex index = IndexPack(row.files, row.version);
        const std::string context = row.files.front() + " .. " + std::to_string(static_cast<int>(row.version));
        EXPECT_EQ(pathsOf(index.pictures), row.used.empty() ? std::vector<std::string>{} : std::vector{row.used})
            << context;
        if (!row.used.empty()) {
            EXPECT_EQ(index.pictures[0].slot, (Slot{Slot::Kind::Pokemon, 25})) << context;
        }
        std::vector<std::pair<std::string, S>> skipped;
        for (const PackSkipped& s : index.skipped) {
            skipped.emplace_back(s.path, s.why);
            EXPECT_EQ(s.instead, row.used) << context;
        }
        std::ranges::sort(skipped);
        auto expected = row.skipped;
        std::ranges::sort(expected);
        EXPECT_EQ(skipped, expected) << context;
    }
}

TEST(PackIndex, SlotsPalettesAndWhatIsIgnored)
{
    using K = Slot::Kind;
    const std::vector<std::string> paths{
        "trainers/falkner.png",     "pokemon/pikachu/back.png",      "pokemon/Pikachu/BACK.png",
        "pokemon/pikachu/shiny.pal", "pokemon/bulbasaur/front.png",  "pokemon/unown/normal.pal",
        "pokemon/unown/shiny.pal",  "pokemon/unown_c/front.png",     "pokemon/pikachu/anim.asm",
        "pokemon/bulbasaur/anim.asm", "pokemon/bulbasaur/bitmask.asm", "egg/",
        "pokemon/egg/front.png",    "README.md",                     "trainers/old/",
        "pokemon/pikachu/front.bmp", "pokemon/unown/front.png",
    };
    const PackIndex index = IndexPack(paths, GameVersion::Gold);
    std::vector<std::pair<std::string, Slot>> pictures, palettes;
    for (const PackFileUse& use : index.pictures)
        pictures.emplace_back(use.path, use.slot);
    for (const PackFileUse& use : index.palettes)
        palettes.emplace_back(use.path, use.slot);
    EXPECT_EQ(pictures, (std::vector<std::pair<std::string, Slot>>{
                            {"pokemon/bulbasaur/front.png", {K::Pokemon, 1}},
                            {"pokemon/pikachu/back.png", {K::Pokemon, 25, true}},
                            {"pokemon/unown_c/front.png", {K::Unown, 3}},
                            {"trainers/falkner.png", {K::Trainer, 1}},
                        }));
    EXPECT_EQ(palettes, (std::vector<std::pair<std::string, Slot>>{
                            {"pokemon/pikachu/shiny.pal", {K::Pokemon, 25, false, true}},
                            {"pokemon/unown/normal.pal", {K::Pokemon, 201}},
                            {"pokemon/unown/shiny.pal", {K::Pokemon, 201, false, true}},
                        }));
    ASSERT_EQ(index.skipped.size(), 1u);
    EXPECT_EQ(std::tuple(index.skipped[0].path, index.skipped[0].why, index.skipped[0].instead),
              std::tuple(std::string("pokemon/Pikachu/BACK.png"), PackSkip::Duplicate,
                         std::string("pokemon/pikachu/back.png")));
    std::vector<std::pair<std::string, size_t>> ignored;
    for (const PackIgnored& i : index.ignored)
        ignored.emplace_back(i.path, i.files);
    EXPECT_EQ(ignored, (std::vector<std::pair<std::string, size_t>>{
                           {"README.md", 1},
                           {"egg/", 1},
                           {"pokemon/*/anim.asm", 2},
                           {"pokemon/bulbasaur/bitmask.asm", 1},
                           {"pokemon/egg/", 1},
                           {"pokemon/pikachu/front.bmp", 1},
                           {"pokemon/unown/front.png", 1},
                           {"trainers/old/", 1},
                       }));
}

} // namespace
} // namespace orv::rom
