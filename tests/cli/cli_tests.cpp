// orvista-cli on a synthetic ROM: extraction, insertion (planned and
// written), information, the codec commands and the refusals.

#include <QImage>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

#include "cli.h"
#include "synthetic_rom.h"

namespace orv::test {
namespace {

struct Outcome {
    int code;
    std::string out, err;
};

Outcome run(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

std::string str(const std::filesystem::path& p)
{
    return p.string();
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        english.write(dir / "en.gb");
        german.write(dir / "de.gb");
    }
    const SyntheticRom english = SyntheticRom::Standard('E');
    const SyntheticRom german = SyntheticRom::Standard('D');
    TempDir dir;
};

TEST_F(Cli, ExtractsASlotIntoAnOwnFileAndAnOffsetIntoABitmap)
{
    const Outcome slot = run({"extract", str(dir / "en.gb"), "--pokemon", "1", str(dir / "p1.orv")});
    ASSERT_EQ(slot.code, 0) << slot.err;
    EXPECT_NE(slot.out.find("56x56 picture at &H100000"), std::string::npos) << slot.out;
    std::vector<uint8_t> orv = english.picture("poke1front").stream;
    orv.insert(orv.end(), {0xFF, 0x03, 0x00, 0x7C, 56, 56, 0});
    EXPECT_EQ(ReadFileBytes(dir / "p1.orv"), orv);

    const Outcome offset = run({"extract", str(dir / "en.gb"), "--offset", "&H101000", "--size", "16x",
                            "--horizontal", str(dir / "back.bmp")});
    ASSERT_EQ(offset.code, 0) << offset.err;
    const QImage image(QString::fromStdString(str(dir / "back.bmp")));
    EXPECT_EQ(image.size(), QSize(16, 144));
    // Row 0 of the first tile, left pixel: both bit planes' bit 7.
    const std::vector<uint8_t>& tiles = english.picture("poke1back").tiles;
    const int index = (tiles[0] >> 7 & 1) + 2 * (tiles[1] >> 7 & 1);
    const QRgb shades[] = {0xFFFFFF, 0xFFFF00, 0x0000FF, 0x000000};
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, shades[index] & 0xFFFFFF);
}

TEST_F(Cli, InsertPlansThenWritesExactlyTheListedPatches)
{
    ASSERT_EQ(run({"extract", str(dir / "en.gb"), "--pokemon", "1", str(dir / "p1.orv")}).code, 0);
    const std::vector<std::string> insert{"insert", str(dir / "de.gb"), str(dir / "p1.orv"), "--search",
                                          "--pokemon", "25", "--back", "--shiny", "--delete-original"};
    std::vector<std::string> dry = insert;
    dry.push_back("--dry-run");
    const Outcome plan = run(dry);
    ASSERT_EQ(plan.code, 0) << plan.err;
    const std::string stream = std::to_string(english.picture("poke1front").stream.size());
    const std::string old = std::to_string(german.picture("poke25back").stream.size());
    EXPECT_EQ(plan.out, "would write:\n"
                        "  &H81000 " + old + " zeros over the old picture\n"
                        "  &H1F0002 " + stream + " picture data\n"
                        "  &HAE09 4 palette\n"
                        "  &H48093 3 picture pointer\n");
    EXPECT_EQ(ReadFileBytes(dir / "de.gb"), german.bytes);

    const Outcome wrote = run(insert);
    ASSERT_EQ(wrote.code, 0) << wrote.err;
    std::vector<uint8_t> expected = german.bytes;
    std::fill_n(expected.begin() + 0x81000, german.picture("poke25back").stream.size(), 0);
    const auto& data = english.picture("poke1front").stream;
    std::copy(data.begin(), data.end(), expected.begin() + 0x1F0002);
    for (auto [at, byte] : {std::pair{0xAE09, 0xFF}, {0xAE0A, 0x03}, {0xAE0B, 0x00}, {0xAE0C, 0x7C},
                            {0x48093, 0x7C}, {0x48094, 0x02}, {0x48095, 0x40}})
        expected[at] = static_cast<uint8_t>(byte);
    EXPECT_EQ(ChangedOffsets(expected, ReadFileBytes(dir / "de.gb")), std::vector<int64_t>{});
}

TEST_F(Cli, InsertsAPictureWithANewName)
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(0xFFFF0000);
    picture.save(QString::fromStdString(str(dir / "red.bmp")), "BMP");
    const Outcome r = run({"insert", str(dir / "en.gb"), str(dir / "red.bmp"), "--offset", "0x1F4000", "--pokemon",
                       "7", "--name", "ROT"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rom = ReadFileBytes(dir / "en.gb");
    const auto name = NameBytes("ROT");
    EXPECT_TRUE(std::equal(name.begin(), name.end(), rom.begin() + english.nameLocation(7)));
    EXPECT_EQ(rom[english.sizeByteLocation(7)], 0x22); // 2 x 2 tiles
    EXPECT_EQ(rom[0xAD3D + 8 * 7], 0x1F);               // red as colour 1
}

TEST_F(Cli, InfoAndTheCodecCommands)
{
    const Outcome info = run({"info", str(dir / "en.gb")});
    ASSERT_EQ(info.code, 0) << info.err;
    for (const char* line : {"language: English\n", "name table: &H1B0000\n", "pokemon 1 name: P1\n",
                             "pokemon 1 front: &H100000, back: &H101000\n"})
        EXPECT_NE(info.out.find(line), std::string::npos) << line;

    const std::vector<uint8_t> tiles = MakeTiles(20, 3);
    std::ofstream(dir / "raw.bin", std::ios::binary).write(reinterpret_cast<const char*>(tiles.data()), tiles.size());
    ASSERT_EQ(run({"encode", str(dir / "raw.bin"), str(dir / "packed.bin")}).code, 0);
    EXPECT_LT(ReadFileBytes(dir / "packed.bin").size(), tiles.size());
    ASSERT_EQ(run({"decode", str(dir / "packed.bin"), str(dir / "back.bin")}).code, 0);
    EXPECT_EQ(ReadFileBytes(dir / "back.bin"), tiles);
}

TEST_F(Cli, RefusalsExitNonZeroAndChangeNothing)
{
    const std::string rom = str(dir / "en.gb"), out = str(dir / "x.bmp");
    const struct {
        std::vector<std::string> args;
        int code;
        const char* err; // part of the message
    } cases[] = {
        {{}, 2, "no command"},
        {{"shrink", rom}, 2, "unknown command shrink"},
        {{"extract", rom, "--pokemon"}, 2, "--pokemon needs a value"},
        {{"extract", rom, "--pokemon", "1", "--offset", "5", out}, 2, "give one of"},
        {{"extract", rom, "--pokemon", "1x", out}, 2, "needs a number"},
        {{"extract", rom, "--pokemon", "300", out}, 1, "Die Pokemonnummer 300 liegt außerhalb"},
        {{"extract", rom, "--offset", "0x1FFFFF", out}, 1, "liegen keine vollständigen Bilddaten"},
        {{"insert", rom, rom, "--search"}, 1, "extract the picture"},
        {{"insert", rom, str(dir / "de.gb"), "--offset", "1", "--search"}, 2, "one of --offset and --search"},
        {{"insert", rom, str(dir / "none.bmp"), "--offset", "1"}, 1, "konnte nicht gefunden werden"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    EXPECT_EQ(ReadFileBytes(dir / "en.gb"), english.bytes);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Cli, TheProgramReportsThroughItsExitCode)
{
    const auto status = [](const std::string& command) {
        const int raw = std::system((command + " >/dev/null 2>&1").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(status(std::string(ORV_CLI_PATH) + " info '" + str(dir / "en.gb") + "'"), 0);
    EXPECT_EQ(status(std::string(ORV_CLI_PATH) + " info"), 2);
    EXPECT_EQ(status(std::string(ORV_CLI_PATH) + " info '" + str(dir / "none.gb") + "'"), 1);
}

} // namespace
} // namespace orv::test
