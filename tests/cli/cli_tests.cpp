// orvista-cli on a synthetic ROM: extraction, insertion planned and written,
// refusals and exit codes.

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

#include "cli.h"
#include "synthetic_rom.h"

namespace orv::test {
namespace {

// Exit code, output, messages.
std::tuple<int, std::string, std::string> Invoke(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = cli::RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        english.write(dir / "en.gb");
        german.write(dir / "de.gb");
    }
    std::string at(const std::string& name) const { return (dir / name).string(); }

    const SyntheticRom english = SyntheticRom::Standard('E'), german = SyntheticRom::Standard('D');
    TempDir dir;
};

TEST_F(Cli, ExtractThenInsertPlannedAndWritten)
{
    const auto [code, out, err] = Invoke({"extract", at("en.gb"), "--pokemon", "1", at("p1.orv")});
    ASSERT_EQ(code, 0) << err;
    EXPECT_NE(out.find("56x56 picture at &H100000"), std::string::npos) << out;
    const std::vector<uint8_t>& data = english.picture("poke1front").stream;
    std::vector<uint8_t> orv = data;
    orv.insert(orv.end(), {0xFF, 0x03, 0x00, 0x7C, 56, 56, 0});
    EXPECT_EQ(ReadFileBytes(dir / "p1.orv"), orv);

    std::vector<std::string> insert{"insert",   at("de.gb"), at("p1.orv"), "--search",          "--pokemon",
                                    "25",       "--back",    "--shiny",    "--delete-original", "--dry-run"};
    const size_t oldLength = german.picture("poke25back").stream.size();
    EXPECT_EQ(Invoke(insert), std::tuple(0, "would write:\n"
                                         "  &H81000 " + std::to_string(oldLength) + " zeros over the old picture\n"
                                         "  &H1F0002 " + std::to_string(data.size()) + " picture data\n"
                                         "  &HAE09 4 palette\n"
                                         "  &H48093 3 picture pointer\n", ""));
    EXPECT_EQ(ReadFileBytes(dir / "de.gb"), german.bytes);

    insert.pop_back();
    ASSERT_EQ(std::get<0>(Invoke(insert)), 0);
    std::vector<uint8_t> expected = german.bytes;
    std::fill_n(expected.begin() + 0x81000, oldLength, 0);
    std::copy(data.begin(), data.end(), expected.begin() + 0x1F0002);
    for (auto [at, byte] : {std::pair{0xAE09, 0xFF}, {0xAE0A, 0x03}, {0xAE0B, 0x00}, {0xAE0C, 0x7C},
                            {0x48093, 0x7C}, {0x48094, 0x02}, {0x48095, 0x40}})
        expected[at] = static_cast<uint8_t>(byte);
    EXPECT_EQ(ChangedOffsets(expected, ReadFileBytes(dir / "de.gb")), std::vector<int64_t>{});
}

TEST_F(Cli, RefusalsExitNonZeroAndChangeNothing)
{
    const std::string rom = at("en.gb"), out = at("x.bmp");
    const std::tuple<std::vector<std::string>, int, std::string> cases[] = { // part of the message
        {{}, 2, "no command"},
        {{"extract", rom, "--pokemon"}, 2, "--pokemon needs a value"},
        {{"extract", rom, "--pokemon", "300", out}, 1, "Die Pokemonnummer 300 liegt außerhalb"},
        {{"extract", rom, "--offset", "0x1FFFFF", out}, 1, "liegen keine vollständigen Bilddaten"},
        {{"insert", rom, at("none.bmp"), "--offset", "1"}, 1, "konnte nicht gefunden werden"},
    };
    for (const auto& [args, expectedCode, message] : cases) {
        const auto [code, output, err] = Invoke(args);
        EXPECT_EQ(std::pair(code, output), std::pair(expectedCode, std::string())) << err;
        EXPECT_NE(err.find(message), std::string::npos) << err;
    }
    EXPECT_EQ(ReadFileBytes(dir / "en.gb"), english.bytes);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Cli, TheProgramReportsThroughItsExitCode)
{
    const auto status = [](const std::string& arguments) {
        const int raw = std::system((std::string(ORV_CLI_PATH) + " " + arguments + " >/dev/null 2>&1").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(status("info '" + at("en.gb") + "'"), 0);
    EXPECT_EQ(status("info"), 2);
    EXPECT_EQ(status("info '" + at("none.gb") + "'"), 1);
}

} // namespace
} // namespace orv::test
