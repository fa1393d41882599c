// orvista-cli on synthetic ROMs: every picture out, pictures in and back out,
// the checks of info, and refusals that change no file.

#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

#include "cli_run.h"
#include "free_space.h"
#include "game_text.h"
#include "orv_file.h"
#include "picture_fixtures.h"
#include "picture_image.h"
#include "synthetic_rom.h"

namespace orv::test {
namespace {

using Bytes = std::vector<uint8_t>;


// Each pixel as the number of the colour in order of first appearance: the
// same for two pictures that differ only in their palette.
std::vector<int> ShadeLayout(const QImage& image)
{
    std::vector<QRgb> seen;
    std::vector<int> layout;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            auto it = std::ranges::find(seen, pixel);
            layout.push_back(static_cast<int>(it - seen.begin()));
            if (it == seen.end())
                seen.push_back(pixel);
        }
    return layout;
}

size_t FilesIn(const std::filesystem::path& dir)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        english.write(dir / "en.gb");
        german.write(dir / "de.gb");
        // White, red, blue and black in a pattern that differs from tile to tile;
        // square, as slot pictures are read back.
        constexpr Colour shades[] = {kWhite, kRed, kBlue, kBlack};
        ToQImage(MakePicture(40, 40, [&](int x, int t) { return shades[(x * x + 3 * t + x * t / 5) % 4]; }))
            .save(QString::fromStdString(at("pic.bmp")), "BMP");
    }
    std::string at(const std::string& name) const { return (dir / name).string(); }
    Bytes bytes(const std::string& name) const { return ReadFileBytes(dir / name); }

    const SyntheticRom english = SyntheticRom::Standard('E'), german = SyntheticRom::Standard('D');
    TempDir dir;
};

TEST_F(Cli, ExtractAllWritesEveryPictureWithItsExactData)
{
    const CliRun run = Invoke({"extract-all", at("en.gb"), at("all"), "--format", "2bpp"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "620 pictures written to " + at("all") + ", 0 skipped\n");
    EXPECT_EQ(FilesIn(dir / "all"), 620u);
    const std::pair<const char*, const char*> expected[] = {
        {"pokemon-001-front", "poke1front"}, {"pokemon-001-back", "poke1back"},   {"pokemon-025-front", "poke25front"},
        {"pokemon-025-back", "poke25back"},  {"unown-03-front", "unown3front"},   {"unown-26-back", "unown26back"},
        {"trainer-02", "trainer2"},          {"trainer-66", "trainer66"},         {"pokemon-251-back", "placeholder"},
        {"pokemon-201-front", "placeholder"}, // through the Unown table's first form
    };
    for (const auto& [file, picture] : expected)
        EXPECT_EQ(bytes("all/" + std::string(file) + ".2bpp"), english.picture(picture).tiles) << file;

    ASSERT_EQ(Invoke({"extract-all", at("en.gb"), at("lz"), "--format", "lz"}).code, 0);
    EXPECT_EQ(bytes("lz/unown-03-front.lz"), english.picture("unown3front").stream);

    // A pointer past the end of the file: that picture is skipped, the rest written.
    SyntheticRom broken = english;
    broken.setPicturePointer(0x48000 + 6 * 4, 0x3F8000); // Pokemon 5, front
    broken.write(dir / "broken.gb");
    const CliRun skipping = Invoke({"extract-all", at("broken.gb"), at("png")});
    EXPECT_EQ(skipping.code, 1);
    EXPECT_NE(skipping.err.find("skipped pokemon-005-front: "), std::string::npos) << skipping.err;
    EXPECT_NE(skipping.err.find("extracted 620 of 620"), std::string::npos) << skipping.err;
    EXPECT_EQ(FilesIn(dir / "png"), 619u);
    const QImage png(QString::fromStdString(at("png/pokemon-001-front.png")));
    EXPECT_EQ(png.size(), QSize(56, 56));
}

TEST_F(Cli, InsertThenExtractGivesThePictureBack)
{
    for (const char* out : {"ref.2bpp", "ref.png", "ref.orv"})
        ASSERT_EQ(Invoke({"convert", at("pic.bmp"), at(out)}).code, 0) << out;
    const CliRun insert = Invoke({"insert", at("pic.bmp"), at("en.gb"), "--pokemon", "7", "--name", "NEU"});
    ASSERT_EQ(insert.code, 0) << insert.err;
    EXPECT_TRUE(insert.out.starts_with("inserted ")) << insert.out;
    EXPECT_NE(insert.out.find(" bytes at 0x1F0002 of "), std::string::npos) << insert.out;

    ASSERT_EQ(Invoke({"extract", at("en.gb"), at("back.2bpp"), "--pokemon", "7"}).code, 0);
    ASSERT_EQ(Invoke({"extract", at("en.gb"), at("back.png"), "--pokemon", "7"}).code, 0);
    EXPECT_EQ(bytes("back.2bpp"), bytes("ref.2bpp"));
    // The ROM keeps 15-bit colours, so only the shades' places are compared.
    const QImage back(QString::fromStdString(at("back.png"))), ref(QString::fromStdString(at("ref.png")));
    EXPECT_EQ(back.size(), QSize(40, 40));
    EXPECT_EQ(ShadeLayout(back), ShadeLayout(ref));
    auto name = rom::ReadPokemonName(dir / "en.gb", 7, 10);
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(name->text, "NEU");

    // An own file keeps its stream with "retain"; a dry run changes nothing.
    const Bytes before = bytes("de.gb");
    const std::vector<std::string> orvInsert{"insert",   at("ref.orv"),     at("de.gb"), "--pokemon", "3",
                                             "--offset", "&H1F0100", "--compression", "retain"};
    std::vector<std::string> dry = orvInsert;
    dry.push_back("--dry-run");
    const CliRun planned = Invoke(dry);
    ASSERT_EQ(planned.code, 0) << planned.err;
    EXPECT_TRUE(planned.out.starts_with("would insert ")) << planned.out;
    EXPECT_NE(planned.out.find("  0x1F0100 "), std::string::npos) << planned.out;
    EXPECT_NE(planned.out.find(" picture pointer\n"), std::string::npos) << planned.out;
    EXPECT_EQ(bytes("de.gb"), before);
    ASSERT_EQ(Invoke(orvInsert).code, 0);
    ASSERT_EQ(Invoke({"extract", at("de.gb"), at("t3.lz"), "--pokemon", "3"}).code, 0);
    Bytes orv = bytes("ref.orv");
    orv.resize(orv.size() - 7); // the trailer
    EXPECT_EQ(bytes("t3.lz"), orv);
}

TEST_F(Cli, RefusalsExitOneAndLeaveTheRomAlone)
{
    ToQImage(ShadePattern(4, 8)).save(QString::fromStdString(at("small.bmp")), "BMP");
    english.write(dir / "locked.gb");
    ::chmod(at("locked.gb").c_str(), 0444);
    const std::string pic = at("pic.bmp"), rom = at("en.gb");
    const std::tuple<std::vector<std::string>, std::string> cases[] = { // part of the message
        {{"insert", pic, rom, "--pokemon", "300"}, "300"},
        {{"insert", pic, rom, "--unown", "27"}, "27"},
        {{"insert", pic, rom, "--offset", "0x1FFFFF"}, "Offset 0x1FFFFF is outside the allowed range 0x0 to "},
        {{"insert", pic, rom, "--pokemon", "7", "--name", "A€B"}, "€"},
        {{"insert", pic, rom, "--pokemon", "7", "--name", "ABCDEFGHIJK"}, "ABCDEFGHIJK"},
        {{"insert", pic, rom, "--pokemon", "7", "--name", ""}, "The new name is empty."},
        {{"insert", pic, rom, "--trainer", "7"}, "The picture is 40 x 40 pixels; as a trainer picture"},
        {{"insert", pic, at("locked.gb"), "--pokemon", "7"}, "locked.gb"},
        {{"insert", at("none.bmp"), rom}, "none.bmp"},
        {{"insert", at("small.bmp"), rom}, "small.bmp"},
        {{"insert", pic, at("none.gb")}, "none.gb"},
        {{"insert", pic, at("small.bmp")}, "is not a ROM"},
        {{"insert", pic, rom, "--pokemon", "7", "--colour1", "00FF00"}, "00FF00"},
        {{"extract", rom, at("x.png"), "--offset", "0x1FFFFF"}, "0x1FFFFF"},
        {{"decompress", rom, at("x.raw"), "--offset", "0x1F0000"}, "0x1F0000"},
    };
    for (const auto& [args, message] : cases) {
        const CliRun run = Invoke(args);
        EXPECT_EQ(run.code, 1) << args[1] << " " << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Datei"), std::string::npos) << "English only: " << run.err;
    }
    EXPECT_EQ(bytes("en.gb"), english.bytes);
    EXPECT_EQ(bytes("locked.gb"), english.bytes);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.png"));
    EXPECT_FALSE(std::filesystem::exists(dir / "x.raw"));
}

TEST_F(Cli, UnknownBytesNeedOverwriteAndBankZeroIsNeverProposed)
{
    const std::vector<std::string> insert{"insert", at("pic.bmp"), at("en.gb"), "--offset", "0x120000"};
    const CliRun refused = Invoke(insert);
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("non-zero bytes from 0x120000"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("give --overwrite"), std::string::npos) << refused.err;
    EXPECT_EQ(bytes("en.gb"), english.bytes);
    std::vector<std::string> forced = insert;
    forced.push_back("--overwrite");
    const CliRun written = Invoke(forced);
    ASSERT_EQ(written.code, 0) << written.err;
    EXPECT_NE(written.err.find("were overwritten (--overwrite)"), std::string::npos) << written.err;
    EXPECT_NE(bytes("en.gb"), english.bytes);

    // Zeros in bank 0 are passed over by the search and refused as a slot's place.
    SyntheticRom zeros = english;
    std::fill_n(zeros.bytes.begin() + 0x1000, 0x2000, 0);
    zeros.write(dir / "zeros.gb");
    EXPECT_EQ(Invoke({"search", at("zeros.gb"), "--length", "100"}).out, "0x1F0002\n");
    const CliRun slot = Invoke({"insert", at("pic.bmp"), at("zeros.gb"), "--pokemon", "3", "--offset", "0x1002"});
    EXPECT_EQ(slot.code, 1);
    EXPECT_NE(slot.err.find("Offset 0x1002 cannot be reached by any picture pointer (not possible in bank 0"),
              std::string::npos)
        << slot.err;
}

TEST_F(Cli, UsageErrorsExitTwoAndHelpAnswers)
{
    const std::string rom = at("en.gb");
    const std::vector<std::string> cases[] = {
        {},
        {"unpack", rom},
        {"extract", rom, at("x.png")},
        {"extract", rom, at("x.png"), "--pokemon"},
        {"extract", rom, at("x.png"), "--pokemon", "1", "--offset", "0"},
        {"extract", rom, at("x.png"), "--pokemon", "1", "--order", "horizontal"},
        {"extract", rom, at("x.txt"), "--pokemon", "1"},
        {"extract", rom, at("x.png"), "--trainer", "1", "--back"},
        {"insert", at("pic.bmp"), rom, "--offset", "12", "--search-from", "0"},
        {"insert", at("pic.bmp"), rom, "--name", "NEU"},
        {"insert", at("pic.bmp"), rom, "--others", "grey"},
        {"insert", at("pic.bmp"), rom, "--colour1", "12345"},
        {"extract-all", rom, at("all"), "--format", "gif"},
        {"search", rom, "--length", "0"},
        {"search", rom, "--length", "10", "--from", "-1"},
    };
    for (const auto& args : cases) {
        const CliRun run = Invoke(args);
        EXPECT_EQ(run.code, 2) << (args.empty() ? "" : args[0]) << " " << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "all"));
    EXPECT_EQ(bytes("en.gb"), english.bytes);

    for (const char* command : {"info", "extract", "extract-all", "insert", "convert", "compress", "decompress", "search"}) {
        const CliRun help = Invoke({command, "--help"});
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(help.out.starts_with(std::string("usage: orvista-cli ") + command)) << help.out;
    }
    const CliRun help = Invoke({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("  extract-all  every picture"), std::string::npos) << help.out;
}

TEST_F(Cli, InfoSearchAndTheRawCodec)
{
    const CliRun info = Invoke({"info", at("de.gb")});
    ASSERT_EQ(info.code, 0) << info.err;
    for (const char* line : {"language: German\n", "name table: 0x1B0000\n", "Pokemon pictures: 502 of 502 sound\n",
                             "Unown pictures: 52 of 52 sound\n", "trainer pictures: 66 of 66 sound\n",
                             "palettes: 568 of 568 sound\n", "base-data records: 251 of 251 sound\n"})
        EXPECT_NE(info.out.find(line), std::string::npos) << line << info.out;

    SyntheticRom damaged = german;
    damaged.bytes[damaged.recordLocation(9)] = 10;
    damaged.write(dir / "damaged.gb");
    const CliRun damagedInfo = Invoke({"info", at("damaged.gb")});
    EXPECT_NE(damagedInfo.out.find("base-data records: 250 of 251 sound\n  Pokemon 9: record at 0x"),
              std::string::npos)
        << damagedInfo.out;

    EXPECT_EQ(Invoke({"search", at("de.gb"), "--length", "100"}).out, "0x1F0002\n");
    const auto after = rom::SearchNextOffset(dir / "de.gb", 0x1F0002, 100);
    ASSERT_TRUE(after.has_value() && after->has_value());
    EXPECT_EQ(Invoke({"search", at("de.gb"), "--length", "100", "--from", "&H1F0002"}).out,
              "0x" + QString::number(**after, 16).toUpper().toStdString() + "\n");

    const Bytes tiles = MakeTiles(30, 5);
    WriteFileBytes(dir / "tiles.raw", tiles);
    ASSERT_EQ(Invoke({"compress", at("tiles.raw"), at("tiles.lz")}).code, 0);
    Bytes padded(5, 0xAB);
    const Bytes stream = bytes("tiles.lz");
    padded.insert(padded.end(), stream.begin(), stream.end());
    padded.push_back(0x12); // after the end marker
    WriteFileBytes(dir / "padded.bin", padded);
    ASSERT_EQ(Invoke({"decompress", at("padded.bin"), at("back.raw"), "--offset", "5"}).code, 0);
    EXPECT_EQ(bytes("back.raw"), tiles);
}

TEST_F(Cli, TheProgramReportsThroughItsExitCode)
{
    const auto status = [](const std::string& arguments) {
        const int raw = std::system((std::string(ORV_CLI_PATH) + " " + arguments + " >/dev/null 2>&1").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    // The program finds vexlib and the GIF reader.
    ASSERT_TRUE(WriteGif(QImage(QString::fromStdString(at("pic.bmp"))), QString::fromStdString(at("pic.gif"))));
    EXPECT_EQ(status("convert '" + at("pic.gif") + "' '" + at("pic.orv") + "'"), 0);
    EXPECT_EQ(ReadOrvFile(dir / "pic.orv").value_or(OrvPicture{}).width, 40);
    EXPECT_EQ(status("info"), 2);
    EXPECT_EQ(status("info '" + at("none.gb") + "'"), 1);
}

} // namespace
} // namespace orv::test
