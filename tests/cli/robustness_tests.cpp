// orvista-cli as a separate process under failing writes, kills, a second
// writer at the same time and hostile files: a ROM is always as it was or
// completely changed, and the exit status says which.

#include <QImage>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "cli_child.h"
#include "cli_coding.h"
#include "extraction.h"
#include "file_commit.h"
#include "picture_fixtures.h"
#include "picture_image.h"
#include "synthetic_rom.h"

namespace orv::test {
namespace {

using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

class Robustness : public ::testing::Test {
protected:
    void SetUp() override
    {
        rom.write(dir / "original.gb");
        savePicture("pic.bmp", 1);
        savePicture("other.bmp", 2);
        // The complete result of the insertion every fault test runs.
        rom.write(dir / "rom.gb");
        const Outcome clean = run({insertArgs(), {}});
        ASSERT_EQ(clean.code, 0) << clean.err;
        complete = ReadFileBytes(dir / "rom.gb");
        ASSERT_NE(complete, rom.bytes);
    }

    void savePicture(const std::string& name, int seed)
    {
        constexpr Colour shades[] = {kWhite, kRed, kBlue, kBlack};
        ToQImage(MakePicture(40, 40, [&](int x, int t) { return shades[(x * seed + t * t + x * t / 3) % 4]; }))
            .save(QString::fromStdString(at(name)), "BMP");
    }

    // A slot, the deletion of its old picture and a new name: every kind of patch.
    std::vector<std::string> insertArgs(const std::string& picture = "pic.bmp", int pokemon = 25) const
    {
        return {"insert", at(picture), at("rom.gb"), "--pokemon", std::to_string(pokemon), "--delete-old",
                "--name", "HERO"};
    }

    Outcome run(const Launch& launch, std::chrono::milliseconds timeout = 20s)
    {
        return Child(launch, dir / ("err-" + std::to_string(runs++))).wait(timeout);
    }

    // The ROM is the original (status 1, said so) or the complete result (status 0).
    void expectWholeOrUnchanged(const Outcome& outcome, const std::string& what, int& partial, int& failed)
    {
        const Bytes now = ReadFileBytes(dir / "rom.gb");
        const bool unchanged = now == rom.bytes, whole = now == complete;
        partial += !unchanged && !whole;
        failed += outcome.code == 1;
        EXPECT_TRUE(outcome.code == 0 ? whole : outcome.code == 1 && unchanged) << what << ": " << outcome.err;
        if (outcome.code == 1) {
            EXPECT_TRUE(outcome.err.find("unchanged") != std::string::npos ||
                        outcome.err.find("othing was written") != std::string::npos)
                << what << ": " << outcome.err;
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            EXPECT_FALSE(outcome.code >= 0 && isReplacementTemporary(entry.path())) << what << ": " << entry.path();
    }

    std::string at(const std::string& name) const { return (dir / name).string(); }

    TempDir dir;
    const SyntheticRom rom = SyntheticRom::Standard('E');
    Bytes complete;
    int runs = 0;
};

std::string ShimPath() { return ORV_FAULT_SHIM; }

TEST_F(Robustness, EveryFailingWriteFlushCloseOrRenameLeavesTheRomWholeOrUnchanged)
{
    int partial = 0, failed = 0, total = 0;
    const std::pair<const char*, std::vector<const char*>> operations[] = {
        {"write", {"eio", "enospc", "short"}}, {"flush", {"eio", "enospc"}},
        {"close", {"eio"}}, {"rename", {"eio", "enospc"}}};
    for (const auto& [operation, kinds] : operations)
        for (const char* kind : kinds)
            for (int k = 1; k <= 5; ++k) { // the calls of an insertion: reads, the check, the commit
                rom.write(dir / "rom.gb");
                const Outcome outcome = run({insertArgs(),
                                             {"LD_PRELOAD=" + ShimPath(), std::string("ORV_FAULT_OP=") + operation,
                                              "ORV_FAULT_AT=" + std::to_string(k),
                                              std::string("ORV_FAULT_KIND=") + kind}});
                ++total;
                expectWholeOrUnchanged(outcome, std::string(operation) + " " + kind + " #" + std::to_string(k),
                                       partial, failed);
            }
    // No temporary file can be made beside the ROM.
    rom.write(dir / "rom.gb");
    const Outcome noTemporary =
        run({insertArgs(), {"LD_PRELOAD=" + ShimPath(), "ORV_FAULT_OP=create", "ORV_FAULT_AT=1"}});
    ++total;
    expectWholeOrUnchanged(noTemporary, "no temporary file", partial, failed);
    EXPECT_NE(noTemporary.err.find("No temporary file can be created beside \"" + at("rom.gb") +
                                   "\" (system error 13: Permission denied)"),
              std::string::npos)
        << noTemporary.err;
    // A file-size limit below the ROM's size.
    rom.write(dir / "rom.gb");
    const Outcome limited = run({insertArgs(), {}, 1 << 20});
    ++total;
    expectWholeOrUnchanged(limited, "file-size limit", partial, failed);
    EXPECT_EQ(limited.code, 1);
    EXPECT_NE(limited.err.find("system error 27: File too large"), std::string::npos) << limited.err;
    EXPECT_EQ(partial, 0);
    EXPECT_GE(failed, 10) << "each operation failed at least once, of " << total;
    std::cout << "[ faults   ] " << total << " runs, " << failed << " refused, " << partial << " partial ROMs\n";
}

TEST_F(Robustness, KilledAtAnyMomentLeavesNoPartialRom)
{
    std::mt19937 random(7);
    int partial = 0, failed = 0, killed = 0;
    for (int i = 0; i < 30; ++i) {
        rom.write(dir / "rom.gb");
        // 32 slowed writes of 64 KiB make the ROM's replacement take about 100 ms.
        Child child({insertArgs(), {"LD_PRELOAD=" + ShimPath(), "ORV_SLOW_WRITES=3000"}}, dir / "err-kill");
        std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 160)(random)));
        child.kill();
        const Outcome outcome = child.wait();
        killed += outcome.code < 0;
        const Bytes now = ReadFileBytes(dir / "rom.gb");
        partial += now != rom.bytes && now != complete;
        failed += outcome.code == 1;
    }
    EXPECT_EQ(partial, 0);
    EXPECT_EQ(failed, 0);
    EXPECT_GT(killed, 10);
    std::cout << "[ kills    ] 30 runs, " << killed << " killed before the end, " << partial << " partial ROMs\n";
    // The next commit takes away what the killed runs left.
    rom.write(dir / "rom.gb");
    const Outcome after = run({insertArgs(), {}});
    ASSERT_EQ(after.code, 0) << after.err;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_FALSE(isReplacementTemporary(entry.path())) << entry.path();
}

TEST_F(Robustness, TwoWritersAtOnceLoseNoPicture)
{
    cli::CodingOptions options;
    const Bytes first = cli::CodeSource(dir / "pic.bmp", options).value().tileData;
    const Bytes second = cli::CodeSource(dir / "other.bmp", options).value().tileData;
    int arrived = 0, refused = 0;
    for (int round = 0; round < 6; ++round) {
        rom.write(dir / "rom.gb");
        // Slowed writes make the two runs overlap for sure.
        const std::vector<std::string> slow{"LD_PRELOAD=" + ShimPath(), "ORV_SLOW_WRITES=2000"};
        Child a({{"insert", at("pic.bmp"), at("rom.gb"), "--pokemon", "10"}, slow}, dir / "err-a");
        Child b({{"insert", at("other.bmp"), at("rom.gb"), "--pokemon", "11"}, round % 2 ? slow : std::vector<std::string>{}},
                dir / "err-b");
        const Outcome ra = a.wait(), rb = b.wait();
        for (const auto& [outcome, pokemon, tiles] :
             {std::tuple{ra, 10, &first}, std::tuple{rb, 11, &second}}) {
            rom::ExtractRequest request;
            request.romPath = dir / "rom.gb";
            request.pokemonNumber = pokemon;
            const auto picture = rom::ExtractFromRom(request);
            if (outcome.code == 0) {
                ++arrived;
                ASSERT_TRUE(picture) << picture.error().english;
                EXPECT_EQ(picture->tileData, *tiles) << "round " << round << ", Pokemon " << pokemon;
            } else {
                ++refused;
                EXPECT_EQ(outcome.code, 1) << outcome.err;
            }
        }
    }
    EXPECT_EQ(arrived + refused, 12);
    EXPECT_GE(arrived, 10) << "the second writer waits for the first";
    std::cout << "[ together ] 6 pairs, " << arrived << " pictures arrived, " << refused << " refused, 0 lost\n";
}

TEST_F(Robustness, ABatchFailingOrKilledMidwayLeavesTheRomAsItWas)
{
    rom.write(dir / "rom.gb");
    ASSERT_EQ(run({{"extract-all", at("rom.gb"), at("pics")}, {}}).code, 0);
    for (int n = 1; n <= 20; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "pics/pokemon-%03d-front.png", n);
        const QString file = QString::fromStdString(at(name));
        ASSERT_TRUE(QImage(file).mirrored(true, false).save(file, "PNG"));
    }
    // The synthetic fronts are 32 x 32, which the games do not draw: --any-shape.
    const std::vector<std::string> batch{"insert-all", at("pics"), at("rom.gb"), "--any-shape"};
    const Outcome done = run({batch, {}});
    ASSERT_EQ(done.code, 0) << done.err;
    complete = ReadFileBytes(dir / "rom.gb");
    int partial = 0, failed = 0;
    for (const char* operation : {"write", "flush", "rename"}) {
        rom.write(dir / "rom.gb");
        const Outcome outcome =
            run({batch, {"LD_PRELOAD=" + ShimPath(), std::string("ORV_FAULT_OP=") + operation, "ORV_FAULT_AT=1"}});
        expectWholeOrUnchanged(outcome, std::string("insert-all, ") + operation, partial, failed);
        EXPECT_EQ(outcome.code, 1) << operation;
    }
    std::mt19937 random(11);
    for (int i = 0; i < 10; ++i) {
        rom.write(dir / "rom.gb");
        Child child({batch, {"LD_PRELOAD=" + ShimPath(), "ORV_SLOW_WRITES=3000"}}, dir / "err-kill");
        std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 400)(random)));
        child.kill();
        child.wait();
        const Bytes now = ReadFileBytes(dir / "rom.gb");
        partial += now != rom.bytes && now != complete;
    }
    EXPECT_EQ(partial, 0);
}

TEST_F(Robustness, HostileFilesFinishAndNamePath)
{
    // Every pointer leads to pairs that each unpack to 1024 zeros.
    SyntheticRom bomb = SyntheticRom::Standard('E');
    for (int64_t at = 0x120000; at < 0x160000; at += 2)
        bomb.put(at, Bytes{0xEF, 0xFF});
    bomb.bytes[0x160000] = 0xFF;
    for (const auto& [table, entries] : {std::pair{0x48000, 502}, std::pair{0x7C000, 52}, std::pair{0x80000, 66}})
        for (int i = 0; i < entries; ++i)
            bomb.setPicturePointer(table + 3 * i, 0x120000 + 2 * i);
    bomb.write(dir / "bomb.gb");
    // 64 MiB of zeros (sparse), a pipe, a folder and a device named like ROMs.
    {
        const int fd = ::open(at("zeros.gb").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_EQ(::ftruncate(fd, int64_t{64} << 20), 0);
        ::close(fd);
    }
    ASSERT_EQ(::mkfifo(at("pipe.gb").c_str(), 0644), 0);
    std::filesystem::create_directory(dir / "folder.gb");
    std::filesystem::create_symlink("/dev/zero", dir / "device.gb");

    struct Case {
        std::vector<std::string> args;
        int code;
    };
    std::vector<Case> cases;
    for (const char* name : {"bomb.gb", "zeros.gb", "pipe.gb", "folder.gb", "device.gb"}) {
        const bool file = std::string(name) == "bomb.gb" || std::string(name) == "zeros.gb";
        const std::string rom = at(name);
        cases.push_back({{"info", rom}, 1});
        cases.push_back({{"extract", rom, at("x.png"), "--pokemon", "1"}, 1});
        cases.push_back({{"extract-all", rom, at("all")}, 1});
        cases.push_back({{"search", rom, "--length", "100"}, file ? 0 : 1});
        cases.push_back({{"decompress", rom, at("x.raw"), "--offset", "0x120000"}, 1});
        if (!file) {
            cases.push_back({{"insert", at("pic.bmp"), rom, "--pokemon", "1"}, 1});
            cases.push_back({{"insert", rom, at("original.gb"), "--pokemon", "1"}, 1});
            cases.push_back({{"convert", rom, at("x.bmp")}, 1});
        }
    }
    for (const Case& c : cases) {
        const Outcome outcome = run({c.args, {}}, 15s);
        const std::string what = c.args[0] + " " + c.args[1];
        EXPECT_FALSE(outcome.timedOut) << what;
        EXPECT_EQ(outcome.code, c.code) << what << ": " << outcome.err;
        if (c.code == 1) {
            EXPECT_NE(outcome.err.find(c.args[0] == "insert" && c.args[1] == at("pic.bmp") ? c.args[2] : c.args[1]),
                      std::string::npos)
                << what << ": " << outcome.err;
        }
    }
    EXPECT_EQ(ReadFileBytes(dir / "original.gb"), rom.bytes);
}

} // namespace
} // namespace orv::test
