// A picture folder over paths and decoded pictures: the colour rules of a
// picture coded for a slot, the layout chosen, the files used, and a pack's
// pictures coded per palette.

#include <gtest/gtest.h>

#include <array>
#include <map>

#include "colour_roles.h"
#include "colours.h"
#include "folder_batch.h"
#include "picture_coding.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using K = Slot::Kind;

// An 8 x 8 picture in a fixed pattern of shades 0..3, drawn in the colours
// given for them. Its scan finds shade 2 before shade 1.
DecodedPicture drawn(const std::array<Colour, 4>& colours)
{
    DecodedPicture decoded;
    decoded.picture.resize(8, 8);
    for (size_t i = 0; i < decoded.picture.pixels.size(); ++i)
        decoded.picture.pixels[i] = colours[i * 7 / 3 % 4];
    decoded.colours = CollectColours(decoded.picture).value();
    return decoded;
}

PalettePair pairOf(Colour colour1, Colour colour2) { return MakePalettePair(colour1, colour2); }

constexpr Colour kC1 = 0xF8C000, kC2 = 0x3050A0;
// The colours a pair of them writes.
const std::array<Colour, 2> kPairColours = PairColours(MakePalettePair(kC1, kC2));

TEST(PictureCoding, GivenPairTakesItsColoursAndGraysByLightness)
{
    const PalettePair given = pairOf(kC1, kC2);
    const DecodedPicture inPair = drawn({kWhite, kC1, kC2, kBlack});
    ASSERT_EQ(inPair.colours.front(), kC2);
    const auto reference = CodeDecodedPicture(inPair, {.givenPair = given}).value();
    EXPECT_EQ(reference.picture.palette[1], kPairColours[0]);
    EXPECT_EQ(reference.picture.palette[2], kPairColours[1]);
    // Its colours keep their roles, with the given pair as with the slot's;
    // without either the first found becomes colour 1.
    EXPECT_EQ(CodeDecodedPicture(inPair, {.slotPair = given})->tileData, reference.tileData);
    EXPECT_NE(CodeDecodedPicture(inPair, {})->tileData, reference.tileData);

    // Four grays in their order, lighter to shade 1.
    const auto fourGrays = CodeDecodedPicture(drawn({0xF0F0F0, 0xB0B0B0, 0x5A5A5A, 0x101010}), {.givenPair = given});
    EXPECT_EQ(fourGrays->tileData, reference.tileData);
    EXPECT_EQ(fourGrays->picture.palette[1], kPairColours[0]);
    EXPECT_EQ(fourGrays->picture.palette[2], kPairColours[1]);
    // Fewer grays each by the nearest of 255, 170, 85, 0: these two are shades 2 and 3.
    const auto threeGrays = CodeDecodedPicture(drawn({kWhite, kWhite, 0x3A3A3A, 0x202020}), {.givenPair = given});
    EXPECT_EQ(threeGrays->tileData,
              CodeDecodedPicture(drawn({kWhite, kWhite, kC2, kBlack}), {.givenPair = given})->tileData);

    // Other colours code as without the pair, yet get the pair.
    const DecodedPicture others = drawn({kWhite, 0x10E020, 0xE01020, kBlack});
    const auto other = CodeDecodedPicture(others, {.givenPair = given}).value();
    const auto usual = CodeDecodedPicture(others, {}).value();
    EXPECT_EQ(other.tileData, usual.tileData);
    EXPECT_EQ(other.picture.palette[1], kPairColours[0]);
    EXPECT_EQ(usual.picture.palette[1], 0xE01020u);
}

TEST(PictureCoding, SlotPairFillsTheRoleNoColourTakes)
{
    const DecodedPicture onlySecond = drawn({kWhite, kWhite, kC2, kBlack});
    const auto coded = CodeDecodedPicture(onlySecond, {.slotPair = pairOf(kC1, kC2)}).value();
    EXPECT_EQ(coded.picture.palette[1], kPairColours[0]);
    EXPECT_EQ(coded.picture.palette[2], kC2);
    // Chosen colours win over the slot's pair.
    const auto chosen = CodeDecodedPicture(onlySecond, {.colour1 = kC2, .slotPair = pairOf(kC1, kC2)}).value();
    EXPECT_EQ(chosen.picture.palette[1], kC2);
    EXPECT_NE(chosen.tileData, coded.tileData);
}

TEST(PictureCoding, RgbaCutToWholeTilesOverWhite)
{
    // 9 x 8, top row first: the ninth column goes, a half-transparent black
    // pixel at the top left turns gray, the rows come bottom-up.
    std::vector<uint8_t> rgba(9 * 8 * 4, 255);
    rgba[3] = 128;
    rgba[0] = rgba[1] = rgba[2] = 0;
    const size_t bottomRight = (7 * 9 + 7) * 4;
    rgba[bottomRight] = 0x12, rgba[bottomRight + 1] = 0x34, rgba[bottomRight + 2] = 0x56;
    const auto decoded = DecodeRgba(rgba, 9, 8, {}).value();
    ASSERT_EQ(decoded.picture.width, 8);
    EXPECT_EQ(decoded.picture.at(0, 7), 0x7F7F7Fu);
    EXPECT_EQ(decoded.picture.at(7, 0), 0x123456u);
    EXPECT_EQ(decoded.colours, (std::vector<Colour>{0x7F7F7F, 0x123456})); // by columns
    EXPECT_EQ(DecodeRgba(rgba, 9, 7, {}).error().kind, ErrorKind::SourceTooSmall);
}

TEST(FolderLayout, PackRootOverPaths)
{
    using Paths = std::vector<std::string>;
    EXPECT_EQ(PackRootIn(Paths{"readme.txt", "Pokemon/"}), "");
    EXPECT_EQ(PackRootIn(Paths{"trainers/falkner.png"}), "");
    EXPECT_EQ(PackRootIn(Paths{"gfx/", "gfx/pokemon/bulbasaur/front.png"}), "gfx/");
    // The folder's own layout before its gfx/.
    EXPECT_EQ(PackRootIn(Paths{"gfx/trainers/", "trainers/"}), "");
    // A file named pokemon, a layout deeper down, a flat folder.
    EXPECT_EQ(PackRootIn(Paths{"pokemon", "gfx/trainers"}), std::nullopt);
    EXPECT_EQ(PackRootIn(Paths{"other/pokemon/a.png", "GFX/pokemon/"}), std::nullopt);
    EXPECT_EQ(PackRootIn(Paths{"pokemon-001-front.png"}), std::nullopt);
}

TEST(FolderLayout, ListingLooksOnlyIntoKnownFolders)
{
    const std::vector<std::string> paths{"gfx/pokemon/bulbasaur/front.png",
                                         "gfx/pokemon/bulbasaur/old/x.png",
                                         "gfx/egg/a.png",
                                         "gfx/egg/b.png",
                                         "gfx/Trainers/falkner.png",
                                         "gfx/trainers/sub/",
                                         "gfx/notes.txt",
                                         "top.png"};
    const auto listed = PackListing(paths, "gfx/");
    std::vector<std::pair<std::string, std::optional<size_t>>> got;
    for (const ListedPath& p : listed)
        got.emplace_back(p.path, p.from);
    const decltype(got) expected{{"Trainers/falkner.png", 4},
                                 {"egg/", std::nullopt},
                                 {"notes.txt", 6},
                                 {"pokemon/bulbasaur/front.png", 0},
                                 {"pokemon/bulbasaur/old/", std::nullopt},
                                 {"trainers/sub/", std::nullopt}};
    EXPECT_EQ(got, expected);
}

TEST(FolderLayout, FlatNamesUsedAndIgnored)
{
    const std::vector<FlatEntry> entries{
        {"trainer-02.PNG"},    {"pokemon-001-front.orv"}, {"pokemon-001-back.png", false}, {".png"},
        {"pokemon-001-front"}, {"pokemon-252-front.png"}, {"pokemon-001-front.txt"},       {"unown-26-back.bak"}};
    const FlatIndex index = IndexFlatFolder(entries);
    ASSERT_EQ(index.used.size(), 3u);
    EXPECT_EQ(index.used[0].name, "pokemon-001-front.orv");
    EXPECT_TRUE(index.used[0].ownFile);
    EXPECT_EQ(index.used[0].slot, (Slot{K::Pokemon, 1}));
    EXPECT_EQ(index.used[1].name, "trainer-02.PNG");
    EXPECT_EQ(index.used[1].slot, (Slot{K::Trainer, 2}));
    EXPECT_FALSE(index.used[1].ownFile);
    EXPECT_EQ(index.used[2].slot, (Slot{K::Unown, 26, true}));
    EXPECT_EQ(index.ignored, (std::vector<std::string>{".png", "pokemon-001-back.png", "pokemon-001-front",
                                                       "pokemon-001-front.txt", "pokemon-252-front.png"}));
}

class PackCoding : public ::testing::Test {
protected:
    RomImage rom{test::SyntheticRom::Standard('E').bytes};
    const std::string folder = "pokemon/" + std::string(PackName(PackKind::Pokemon, 2)) + "/";
    std::map<std::string, DecodedPicture> pictures;
    std::map<std::string, std::string> texts;
    std::vector<std::string> read;

    std::expected<std::vector<BatchItem>, PackRefusal> code()
    {
        std::vector<std::string> paths;
        for (const auto& [path, picture] : pictures)
            paths.push_back(path);
        for (const auto& [path, text] : texts)
            paths.push_back(path);
        const PackIndex index = IndexPack(paths, GameVersion::Gold);
        const PackReader reader{.palText = [&](const PackFileUse& use) -> std::optional<std::string> {
                                    read.push_back(use.path);
                                    const auto text = texts.find(use.path);
                                    return text == texts.end() ? std::nullopt : std::optional(text->second);
                                },
                                .picture = [&](const PackFileUse& use) -> std::optional<DecodedPicture> {
                                    read.push_back(use.path);
                                    return pictures.at(use.path);
                                }};
        return CodePack(index, rom, reader);
    }
};

TEST_F(PackCoding, PictureWithMostColoursGivesThePair)
{
    // The back has both colours (kC1 found first), the front only kC2:
    // coded first whatever the index's order, the back gives the front the pair.
    pictures[folder + "front.png"] = drawn({kWhite, kWhite, kC2, kBlack});
    pictures[folder + "back.png"] = drawn({kWhite, kC2, kC1, kBlack});
    const auto items = code().value();
    ASSERT_EQ(items.size(), 2u);
    for (const BatchItem& item : items)
        EXPECT_EQ(MakePalettePair(item.colour1, item.colour2), pairOf(kC1, kC2)) << item.name;
    ASSERT_EQ(items[1].name, folder + "front.png");
    EXPECT_EQ(items[1].slot, (Slot{K::Pokemon, 2}));
    // The front's one colour took the second role.
    const DecodedPicture front = drawn({kWhite, kWhite, kC2, kBlack});
    EXPECT_EQ(items[1].tileData, CodeDecodedPicture(front, {.slotPair = pairOf(kC1, kC2)})->tileData);
    EXPECT_NE(items[1].tileData, CodeDecodedPicture(front, {})->tileData);
}

TEST_F(PackCoding, NormalPalGivesEveryPictureItsPairAndComesLast)
{
    pictures[folder + "front.png"] = drawn({kWhite, 0xA0A0A0, 0x404040, kBlack});
    pictures[folder + "back.png"] = drawn({kWhite, 0x10E020, 0xE01020, kBlack});
    texts[folder + "normal.pal"] = "\tRGB 31, 24, 00\n\tRGB 06, 10, 20\n";
    const auto items = code().value();
    ASSERT_EQ(items.size(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(items[i].colour1, kPairColours[0]) << items[i].name;
        EXPECT_EQ(items[i].colour2, kPairColours[1]) << items[i].name;
    }
    // Equally many colours: the index's order, front first; its grays by lightness.
    ASSERT_EQ(items[0].name, folder + "front.png");
    EXPECT_EQ(items[0].tileData,
              CodeDecodedPicture(drawn({kWhite, kC1, kC2, kBlack}), {.givenPair = pairOf(kC1, kC2)})->tileData);
    EXPECT_TRUE(items[2].paletteOnly);
    EXPECT_EQ(items[2].name, folder + "normal.pal");
    EXPECT_EQ(read.front(), folder + "normal.pal"); // palettes are read first
}

TEST_F(PackCoding, RefusalsNameTheFile)
{
    pictures[folder + "front.png"] = drawn({kWhite, 0xA0A0A0, 0x404040, kBlack});
    texts[folder + "shiny.pal"] = "RGB 40, 0, 0\nRGB 0, 0, 0\n";
    auto refused = code();
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().path, folder + "shiny.pal");
    ASSERT_TRUE(refused.error().palError);
    EXPECT_EQ(refused.error().palError->kind, PalFileError::Kind::ComponentTooLarge);
    EXPECT_FALSE(refused.error().error);
    EXPECT_EQ(read, std::vector<std::string>{folder + "shiny.pal"}); // no picture read after it

    // A reader that stops: the path, and neither error.
    const PackIndex index =
        IndexPack(std::vector<std::string>{folder + "front.png", folder + "normal.pal"}, GameVersion::Gold);
    const PackReader stops{.palText = [](const PackFileUse&) { return std::optional<std::string>(); },
                           .picture = [](const PackFileUse&) { return std::optional<DecodedPicture>(); }};
    const auto stopped = CodePack(index, rom, stops);
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error().path, folder + "normal.pal");
    EXPECT_FALSE(stopped.error().palError || stopped.error().error);
}

} // namespace
} // namespace orv::rom
