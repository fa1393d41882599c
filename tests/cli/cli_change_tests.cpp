// orvista-cli's changes as BPS and IPS patches, the global checksum every
// change rewrites, info's header and slot lines, the space command, and the
// manual page against --help.

#include <QImage>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>
#include <sys/stat.h>

#include "cli_run.h"
#include "patch_appliers.h"
#include "patch_file.h"
#include "picture_fixtures.h"
#include "picture_image.h"
#include "synthetic_rom.h"

namespace orv::test {
namespace {

using Bytes = std::vector<uint8_t>;
using Words = std::vector<std::string>;


Words Plus(Words words, const Words& more)
{
    words.insert(words.end(), more.begin(), more.end());
    return words;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> Split(const std::string& line, char separator)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, separator);)
        fields.push_back(field);
    return fields;
}

std::string HexOf(int64_t value)
{
    std::ostringstream text;
    text << "0x" << std::uppercase << std::hex << value;
    return text.str();
}

// The byte ranges an insert's report lists: "  0x1F0002 700 picture data".
std::vector<std::pair<int64_t, int64_t>> ListedPatches(const std::string& out)
{
    std::vector<std::pair<int64_t, int64_t>> ranges;
    const std::regex line(R"(^  0x([0-9A-F]+) (\d+) .+$)");
    for (const std::string& text : Lines(out))
        if (std::smatch m; std::regex_match(text, m, line)) {
            const int64_t at = std::stoll(m[1], nullptr, 16);
            ranges.emplace_back(at, at + std::stoll(m[2]));
        }
    return ranges;
}

// The lines of space's table by their first word, split at blanks.
std::map<std::string, std::vector<std::string>> SpaceRows(const std::string& out)
{
    std::map<std::string, std::vector<std::string>> rows;
    for (const std::string& line : Lines(out)) {
        std::istringstream in(line);
        std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
        if (!words.empty())
            rows[words[0]] = words;
    }
    return rows;
}

class CliChange : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const auto& [name, seed] : {std::pair{"pic.bmp", 1}, std::pair{"other.bmp", 2}}) {
            constexpr Colour shades[] = {kWhite, kRed, kBlue, kBlack};
            ToQImage(MakePicture(40, 40, [&](int x, int t) { return shades[(x * seed + t * t + x * t / 3) % 4]; }))
                .save(QString::fromStdString(at(name)), "BMP");
        }
    }
    std::string at(const std::string& name) const { return (dir / name).string(); }
    Bytes bytes(const std::string& name) const { return ReadFileBytes(dir / name); }
    void put(const std::string& name, const Bytes& content) const { WriteFileBytes(dir / name, content); }

    const SyntheticRom english = SyntheticRom::Standard('E'), german = SyntheticRom::Standard('D');
    TempDir dir;
};

TEST_F(CliChange, PatchesGiveTheRomTheInsertionWouldWrite)
{
    const Words insertions[] = {
        {"--pokemon", "7", "--name", "NEU"},
        {"--pokemon", "25", "--back", "--delete-old", "--any-shape"}, // zeros over the old picture in bank 0x20
        {"--trainer", "2", "--offset", "0x1F1000", "--keep-checksum", "--any-shape"},
        {"--offset", "0x1F3000"},
    };
    std::map<std::string, std::vector<size_t>> sizes;
    for (const char* format : {"bps", "ips"})
        for (const Words& choices : insertions) {
            const std::string patch = at(std::string("change.") + format), what = format + (" " + choices[0] + " " + choices[1]);
            std::filesystem::remove(patch);
            put("direct.gb", english.bytes);
            put("base.gb", english.bytes);
            const CliRun direct = Invoke(Plus({"insert", at("pic.bmp"), at("direct.gb")}, choices));
            ASSERT_EQ(direct.code, 0) << what << ": " << direct.err;
            const CliRun patched = Invoke(Plus({"insert", at("pic.bmp"), at("base.gb"), "--patch", patch}, choices));
            ASSERT_EQ(patched.code, 0) << what << ": " << patched.err;
            EXPECT_EQ(bytes("base.gb"), english.bytes) << what << ": the ROM stays untouched";
            // The same report, but the ROM is not written and the patch is named.
            EXPECT_TRUE(patched.out.starts_with("would insert ")) << patched.out;
            EXPECT_EQ(ListedPatches(patched.out), ListedPatches(direct.out)) << what;
            const Bytes file = bytes(std::string("change.") + format);
            const std::string upper = format == std::string("bps") ? "BPS" : "IPS";
            EXPECT_TRUE(patched.out.ends_with("wrote " + patch + ": " + upper + " patch of " +
                                              std::to_string(file.size()) + " bytes; " + at("base.gb") +
                                              " is unchanged\n"))
                << patched.out;
            auto applied = upper == "BPS" ? ApplyBps(file, english.bytes) : ApplyIps(file, english.bytes);
            ASSERT_TRUE(applied) << what << ": " << applied.error();
            EXPECT_EQ(ChangedOffsets(*applied, bytes("direct.gb")), std::vector<int64_t>{}) << what;
            if (upper == "BPS") {
                auto wrongBase = ApplyBps(file, german.bytes);
                ASSERT_FALSE(wrongBase) << what;
                EXPECT_NE(wrongBase.error().find("source's CRC"), std::string::npos) << wrongBase.error();
            }
            sizes[upper].push_back(file.size());
        }
    std::cout << "[ patches  ] one insertion each (name, delete-old, trainer, data only): BPS";
    for (size_t size : sizes["BPS"])
        std::cout << " " << size;
    std::cout << ", IPS";
    for (size_t size : sizes["IPS"])
        std::cout << " " << size;
    std::cout << " bytes\n";

    // A batch: five pictures into one ROM, one patch from the first ROM to the last.
    put("batch.gb", english.bytes);
    for (const Words& choices : {Words{"--pokemon", "7", "--name", "NEU"}, Words{"--pokemon", "25", "--delete-old"},
                                 Words{"--pokemon", "150", "--back", "--any-shape"},
                                 Words{"--unown", "3", "--delete-old"},
                                 Words{"--trainer", "66", "--delete-old", "--any-shape"}}) {
        const CliRun run = Invoke(Plus({"insert", at(choices[1] == "150" ? "other.bmp" : "pic.bmp"), at("batch.gb")},
                                       choices));
        ASSERT_EQ(run.code, 0) << run.err;
    }
    const Bytes batch = bytes("batch.gb");
    const Bytes bps = rom::MakeBpsPatch(english.bytes, batch), ips = rom::MakeIpsPatch(english.bytes, batch).value();
    EXPECT_EQ(ApplyBps(bps, english.bytes).value_or(Bytes{}), batch);
    EXPECT_EQ(ApplyIps(ips, english.bytes).value_or(Bytes{}), batch);
    std::cout << "[ patches  ] a batch of five insertions: " << ChangedOffsets(english.bytes, batch).size()
              << " bytes changed, BPS " << bps.size() << ", IPS " << ips.size() << " bytes\n";
}

TEST_F(CliChange, PatchesFromReadOnlyRomsAndRefusals)
{
    put("base.gb", english.bytes);
    ::chmod(at("base.gb").c_str(), 0444);
    const Words insert{"insert", at("pic.bmp"), at("base.gb"), "--pokemon", "7"};
    EXPECT_EQ(Invoke(insert).code, 1) << "a read-only ROM is not written";
    const CliRun fromReadOnly = Invoke(Plus(insert, {"--patch", at("ro.ips")}));
    EXPECT_EQ(fromReadOnly.code, 0) << fromReadOnly.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "ro.ips"));

    const CliRun dry = Invoke(Plus(insert, {"--patch", at("dry.bps"), "--dry-run"}));
    EXPECT_EQ(dry.code, 0) << dry.err;
    EXPECT_NE(dry.out.find("would write " + at("dry.bps") + ": BPS patch of "), std::string::npos) << dry.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "dry.bps"));

    EXPECT_EQ(Invoke(Plus(insert, {"--patch", at("change.txt")})).code, 2);
    std::filesystem::create_directory(dir / "folder.bps");
    std::filesystem::create_symlink(dir / "base.gb", dir / "link.bps");
    const std::pair<const char*, const char*> refusals[] = {
        {"folder.bps", "could not be written"},
        {"none/change.bps", "could not be written"},
        {"link.bps", "names the ROM itself"},
    };
    for (const auto& [name, reason] : refusals) {
        const CliRun run = Invoke(Plus(insert, {"--patch", at(name)}));
        EXPECT_EQ(run.code, 1) << name;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Nothing was written."), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.bps"));
    EXPECT_EQ(bytes("base.gb"), english.bytes);
}

TEST_F(CliChange, EveryInsertionRewritesTheGlobalChecksum)
{
    put("en.gb", english.bytes);
    const Words insert{"insert", at("pic.bmp"), at("en.gb"), "--pokemon", "7", "--name", "NEU", "--offset", "0x1F1000"};
    const CliRun dry = Invoke(Plus(insert, {"--dry-run"}));
    ASSERT_EQ(dry.code, 0) << dry.err;
    EXPECT_TRUE(dry.out.ends_with("  0x14E 2 global checksum\n")) << dry.out;
    EXPECT_EQ(bytes("en.gb"), english.bytes);

    const CliRun run = Invoke(insert);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ListedPatches(run.out), ListedPatches(dry.out));
    const Bytes after = bytes("en.gb");
    EXPECT_EQ(after[0x14E] << 8 | after[0x14F], GlobalChecksumOf(after));
    EXPECT_EQ(after[0x14D], english.bytes[0x14D]) << "the header checksum stays";
    // Exactly the bytes of the listed patches change.
    const auto listed = ListedPatches(run.out);
    for (int64_t offset : ChangedOffsets(english.bytes, after))
        EXPECT_TRUE(std::ranges::any_of(listed, [&](auto r) { return offset >= r.first && offset < r.second; }))
            << HexOf(offset);

    // The same insertion again writes the bytes that are there: nothing changes,
    // not even a wrong checksum.
    Bytes wrongSum = after;
    wrongSum[0x14F] ^= 0xFF;
    put("en.gb", wrongSum);
    ASSERT_EQ(Invoke(insert).code, 0);
    EXPECT_EQ(bytes("en.gb"), wrongSum);

    put("keep.gb", english.bytes);
    const CliRun kept = Invoke({"insert", at("pic.bmp"), at("keep.gb"), "--pokemon", "7", "--keep-checksum"});
    ASSERT_EQ(kept.code, 0) << kept.err;
    EXPECT_EQ(kept.out.find("global checksum"), std::string::npos) << kept.out;
    const Bytes keptBytes = bytes("keep.gb");
    EXPECT_NE(keptBytes, english.bytes);
    EXPECT_EQ(Bytes(keptBytes.begin() + 0x14E, keptBytes.begin() + 0x150),
              Bytes(english.bytes.begin() + 0x14E, english.bytes.begin() + 0x150));
}

TEST_F(CliChange, InfoShowsTheHeaderAndEverySlot)
{
    SyntheticRom titled = english;
    const std::string header = "POKEMON_GLDAAUE";
    titled.put(0x134, Bytes(header.begin(), header.end()));
    titled.bytes[0x143] = 0x80;
    uint8_t sum = 0;
    for (int64_t i = 0x134; i <= 0x14C; ++i)
        sum = static_cast<uint8_t>(sum - titled.bytes[i] - 1);
    titled.bytes[0x14D] = sum;
    titled.setPicturePointer(0x48000 + 6 * 4, 0x3F8000); // Pokemon 5 front: past the end
    SetGlobalChecksum(titled.bytes);
    titled.write(dir / "titled.gb");
    english.write(dir / "en.gb");

    const CliRun info = Invoke({"info", at("titled.gb")});
    ASSERT_EQ(info.code, 0) << info.err;
    for (const std::string& line : {std::string("title: POKEMON_GLD (game code AAUE)\n"),
                                    "header checksum: " + HexOf(sum) + ", right\n",
                                   "global checksum: " + HexOf(GlobalChecksumOf(titled.bytes)) + ", right\n"})
        EXPECT_NE(info.out.find(line), std::string::npos) << line << info.out;
    const CliRun wrong = Invoke({"info", at("en.gb")});
    const uint16_t stored = english.bytes[0x14E] << 8 | english.bytes[0x14F];
    EXPECT_NE(wrong.out.find("global checksum: " + HexOf(stored) + ", wrong (should be " +
                             HexOf(GlobalChecksumOf(english.bytes)) + ")\n"),
              std::string::npos)
        << wrong.out;

    const CliRun table = Invoke({"info", at("titled.gb"), "--slots"});
    ASSERT_EQ(table.code, 0) << table.err;
    const auto lines = Lines(table.out);
    EXPECT_EQ(lines.size(), 618u);
    for (const std::string& line : lines) {
        const auto fields = Split(line, '\t');
        EXPECT_EQ(fields.size(), 7u) << line;
        EXPECT_TRUE(std::ranges::none_of(fields, &std::string::empty)) << line;
    }
    const auto palette = [&](int64_t at) {
        std::string text;
        for (int k = 0; k < 4; ++k)
            text += HexOf(0x100 | titled.bytes[at + k]).substr(3);
        return text;
    };
    const auto stream = [&](const char* name) { return std::to_string(titled.picture(name).stream.size()); };
    const std::string expected[] = {
        "pokemon-front\t1\tP1\t0x100000\t" + stream("poke1front") + "\t7x7\tFF03007C",
        "pokemon-back\t25\tP25\t0x81000\t" + stream("poke25back") + "\t6x6\t" + palette(0xAD45 + 8 * 24),
        "pokemon-front\t5\tP5\t0x3F8000\t-\t-\t" + palette(0xAD45 + 8 * 4),
        "pokemon-front\t202\tP202\t0x110000\t" + stream("placeholder") + "\t4x4\t" + palette(0xAD45 + 8 * 201),
        "unown-front\t3\tP201\t0xB8100\t" + stream("unown3front") + "\t5x5\t" + palette(0xAD45 + 8 * 200),
        "trainer\t66\t-\t0x104000\t" + stream("trainer66") + "\t6x6\t" + palette(0xB541 + 4 * 65),
    };
    for (const std::string& line : expected)
        EXPECT_EQ(std::ranges::count(lines, line), 1) << line;
    EXPECT_EQ(lines.front().substr(0, 16), "pokemon-front\t1\t");
    EXPECT_EQ(lines.back().substr(0, 11), "trainer\t66\t");

    EXPECT_EQ(Invoke({"info", at("en.gb"), "--name-length", "10"}).code, 2);
    EXPECT_EQ(Invoke({"info", at("en.gb"), "--slots", "--name-length", "21"}).code, 2);
    put("junk.gb", Bytes(0x8000, 0x11));
    EXPECT_EQ(Invoke({"info", at("junk.gb"), "--slots"}).code, 1);
}

TEST_F(CliChange, SpaceListsBanksFreeRunsAndTheLargest)
{
    SyntheticRom rom = english;
    std::fill_n(rom.bytes.begin() + 0x2000, 0x100, 0);         // bank 0
    std::fill_n(rom.bytes.begin() + 0x121000, 0x300, 0);       // bank 0x48
    std::fill_n(rom.bytes.begin() + kNameTable - 100, 400, 0); // 100 before the name table
    const int64_t trainer66 = rom.picture("trainer66").offset;
    std::fill_n(rom.bytes.begin() + trainer66 - 70, 70, 0); // up to a picture
    std::fill_n(rom.bytes.begin() + 0x120000, 63, 0);       // one short of the default
    rom.write(dir / "space.gb");
    const auto size = [&](const char* name) { return static_cast<int64_t>(rom.picture(name).stream.size()); };

    const CliRun run = Invoke({"space", at("space.gb")});
    ASSERT_EQ(run.code, 0) << run.err;
    auto rows = SpaceRows(run.out);
    const auto row = [](std::vector<std::string> words) { return words; };
    const int64_t bank40 =
        size("poke1front") + size("poke1back") + size("unown3back") + size("unown26back") + size("trainer2");
    const std::pair<const char*, std::vector<std::string>> expected[] = {
        // bank, pictures, picture bytes, free runs, free bytes, largest run
        {"0x1F", row({"0x1F", "1", std::to_string(size("poke25front")), "0", "0", "-"})},
        {"0x40", row({"0x40", "5", std::to_string(bank40), "1", "70", "70", "at", HexOf(trainer66 - 70)})},
        {"0x48", row({"0x48", "0", "0", "1", "768", "768", "at", "0x121000"})},
        {"0x6B", row({"0x6B", "0", "0", "1", "100", "100", "at", HexOf(kNameTable - 100)})},
        {"0x7C", row({"0x7C", "0", "0", "1", "16384", "16384", "at", "0x1F0000"})},
        {"0x7D", row({"0x7D", "0", "0", "1", "16384", "16384", "at", "0x1F4000"})},
        {"total", row({"total", "10", std::to_string(bank40 + size("poke25front") + size("poke25back") +
                                                     size("unown3front") + size("trainer66") + size("placeholder")),
                       "5", std::to_string(0x8000 + 768 + 100 + 70), "16384", "at", "0x1F0000"})},
    };
    for (const auto& [bank, words] : expected)
        EXPECT_EQ(rows[bank], words) << bank << "\n" << run.out;
    EXPECT_FALSE(rows.contains("0x00") || rows.contains("0x0")) << run.out;
    EXPECT_EQ(rows.size(), 2 + 11u) << run.out; // the heading lines and 11 banks

    const CliRun larger = Invoke({"space", at("space.gb"), "--min", "0x301"});
    EXPECT_EQ(larger.out.find("0x48 "), std::string::npos) << larger.out;
    const CliRun smaller = Invoke({"space", at("space.gb"), "--min", "63"});
    EXPECT_EQ(SpaceRows(smaller.out)["0x48"], row({"0x48", "0", "0", "2", "831", "768", "at", "0x121000"}))
        << smaller.out;
    EXPECT_EQ(Invoke({"space", at("space.gb"), "--min", "0"}).code, 2);
    EXPECT_EQ(Invoke({"space", at("none.gb")}).code, 1);
}

// The manual page names every command and every option --help names.
TEST(CliManual, ManPageIsInStepWithHelp)
{
    std::ifstream in(ORV_MAN_PAGE);
    ASSERT_TRUE(in) << ORV_MAN_PAGE;
    std::string page{std::istreambuf_iterator<char>(in), {}};
    page = std::regex_replace(page, std::regex(R"(\\-)"), "-");

    const CliRun help = Invoke({"--help"});
    std::vector<std::string> commands;
    const std::regex commandLine(R"(^  ([a-z-]+) {2,}.*$)");
    for (const std::string& line : Lines(help.out))
        if (std::smatch m; std::regex_match(line, m, commandLine))
            commands.push_back(m[1]);
    EXPECT_TRUE(std::ranges::count(commands, "info") && std::ranges::count(commands, "space")) << help.out;
    const std::regex option(R"(--[a-z0-9-]+)");
    for (const std::string& command : commands) {
        EXPECT_NE(page.find(".SS \"" + command + " "), std::string::npos) << command;
        const std::string text = Invoke({command, "--help"}).out;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
            EXPECT_NE(page.find(it->str()), std::string::npos) << command << " " << it->str();
    }
}

} // namespace
} // namespace orv::test
