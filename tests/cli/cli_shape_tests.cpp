// The shapes a slot takes, per kind of slot, through the command line: the
// games' own, and with --any-shape any other a front's size byte can hold.
// A refusal leaves the ROM as it was.

#include <gtest/gtest.h>

#include "cli_run.h"
#include "picture_fixtures.h"
#include "picture_image.h"
#include "synthetic_rom.h"

namespace orv::test {
namespace {

constexpr int kRefused = -1;
constexpr int64_t kUnownSizeByte = 0x5341C; // Pokemon 201's, English layout

// A picture of width x height, and the size byte it leaves without and with
// --any-shape (a slot without size byte: 0 when written); kRefused when refused.
struct ShapeCase {
    int width, height;
    int plain, any;
};

class Shapes : public ::testing::Test {
protected:
    std::string at(const std::string& name) const { return (dir / name).string(); }

    // Every case, with and without --any-shape, into the slot on a fresh copy
    // of content. sizeByteAt < 0: the slot has no size byte.
    void expectShapes(const SyntheticRom& content, const std::vector<std::string>& slot, int64_t sizeByteAt,
                      const std::string& takes, const std::vector<ShapeCase>& cases)
    {
        for (const ShapeCase& c : cases) {
            const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
            const std::string picture = at("pic-" + size + ".bmp");
            ASSERT_TRUE(ToQImage(ShadePattern(c.width, c.height)).save(QString::fromStdString(picture), "BMP"));
            for (const bool anyShape : {false, true}) {
                content.write(dir / "rom.gb");
                std::vector<std::string> args{"insert", picture, at("rom.gb")};
                args.insert(args.end(), slot.begin(), slot.end());
                if (anyShape)
                    args.push_back("--any-shape");
                const std::string what = slot[0] + " " + slot[1] + " " + size + (anyShape ? " --any-shape" : "");
                const CliRun run = Invoke(args);
                const Bytes rom = ReadFileBytes(dir / "rom.gb");
                const int expected = anyShape ? c.any : c.plain;
                if (expected == kRefused) {
                    EXPECT_EQ(run.code, 1) << what;
                    EXPECT_EQ(rom, content.bytes) << what;
                    const std::string pixels = std::to_string(c.width) + " x " + std::to_string(c.height);
                    const std::string tiles = std::to_string(c.width / 8) + " x " + std::to_string(c.height / 8);
                    EXPECT_NE(run.err.find(anyShape ? "The picture with " + tiles + " tiles does not fit the size byte"
                                                    : "The picture is " + pixels + " pixels; " + takes),
                              std::string::npos)
                        << what << ": " << run.err;
                    EXPECT_NE(run.err.find("Nothing was written"), std::string::npos) << what;
                    continue;
                }
                EXPECT_EQ(run.code, 0) << what << ": " << run.err;
                EXPECT_NE(rom, content.bytes) << what;
                if (sizeByteAt >= 0)
                    EXPECT_EQ(rom.at(sizeByteAt), expected) << what;
            }
        }
    }

    using Bytes = std::vector<uint8_t>;
    const SyntheticRom english = SyntheticRom::Standard('E');
    TempDir dir;
};

TEST_F(Shapes, PokemonFrontPictures)
{
    const std::string takes = "as a Pokemon front picture the game draws only pictures of 40 x 40, 48 x 48 or "
                              "56 x 56 pixels correctly.";
    expectShapes(english, {"--pokemon", "7"}, english.sizeByteLocation(7), takes,
                 {{40, 40, 0x55, 0x55},
                  {48, 48, 0x66, 0x66},
                  {56, 56, 0x77, 0x77},
                  {40, 48, kRefused, 0x56}, // would be drawn as 6 x 6 tiles
                  {16, 16, kRefused, 0x22},
                  {72, 64, kRefused, 0x98},
                  {96, 96, kRefused, kRefused}, // 12 x 12 tiles: no size byte for it
                  {4000, 8, kRefused, kRefused}});
}

TEST_F(Shapes, PokemonBackPictures)
{
    expectShapes(english, {"--pokemon", "7", "--back"}, -1,
                 "as a Pokemon back picture the game draws only pictures of 48 x 48 pixels correctly.",
                 {{48, 48, 0, 0}, {40, 40, kRefused, 0}, {56, 56, kRefused, 0}, {96, 96, kRefused, 0}});
}

TEST_F(Shapes, UnownBackPictures)
{
    expectShapes(english, {"--unown", "4", "--back"}, -1,
                 "as an Unown back picture the game draws only pictures of 48 x 48 pixels correctly.",
                 {{48, 48, 0, 0}, {32, 32, kRefused, 0}});
}

TEST_F(Shapes, TrainerPictures)
{
    expectShapes(english, {"--trainer", "3"}, -1,
                 "as a trainer picture the game draws only pictures of 56 x 56 pixels correctly.",
                 {{56, 56, 0, 0}, {40, 40, kRefused, 0}, {48, 48, kRefused, 0}, {56, 64, kRefused, 0}});
}

// All 26 Unown fronts share the size byte of Pokemon 201: one letter takes the
// size it holds; --any-shape rewrites it for all of them.
TEST_F(Shapes, UnownFrontPictures)
{
    const std::string shared = "pixels correctly, the size that the size byte all 26 Unown share holds now.";
    expectShapes(english, {"--unown", "4"}, kUnownSizeByte,
                 "as an Unown front picture the game draws only pictures of 40 x 40 " + shared,
                 {{40, 40, 0x55, 0x55}, {48, 48, kRefused, 0x66}, {56, 56, kRefused, 0x77}});
    SyntheticRom larger = english;
    larger.bytes[kUnownSizeByte] = 0x76; // drawn from its low nibble: 6 x 6 tiles
    expectShapes(larger, {"--pokemon", "201"}, kUnownSizeByte,
                 "as an Unown front picture the game draws only pictures of 48 x 48 " + shared,
                 {{48, 48, 0x66, 0x66}, {40, 40, kRefused, 0x55}, {56, 56, kRefused, 0x77}});
}

TEST_F(Shapes, BareOffsetsStayFreeAndTheRefusalSaysWhatPasses)
{
    const std::string picture = at("odd.bmp");
    ASSERT_TRUE(ToQImage(ShadePattern(40, 16)).save(QString::fromStdString(picture), "BMP"));
    english.write(dir / "rom.gb");
    EXPECT_EQ(Invoke({"insert", picture, at("rom.gb"), "--offset", "0x1F0002"}).code, 0);
    EXPECT_EQ(Invoke({"insert", picture, at("rom.gb"), "--any-shape"}).code, 2); // no slot to pass

    const CliRun unown = Invoke({"insert", picture, at("rom.gb"), "--unown", "2"});
    EXPECT_EQ(unown.code, 1);
    EXPECT_NE(unown.err.find("Nothing was written. Give --any-shape for a ROM whose code was changed to draw other "
                             "shapes"),
              std::string::npos)
        << unown.err;
    EXPECT_NE(unown.err.find("insert-all changes the size of all 26 Unown fronts"), std::string::npos) << unown.err;
}

} // namespace
} // namespace orv::test
