// orvista-cli as a separate process against the shapes that outputs, other
// writers, other users, limits and signals take: no input is destroyed, no
// change is lost, and the exit status says whether the ROM changed.

#include <QImage>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include "cli_child.h"
#include "cli_coding.h"
#include "extraction.h"
#include "file_commit.h"
#include "picture_fixtures.h"
#include "picture_image.h"

namespace orv::test {
namespace {

using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

class Safety : public ::testing::Test {
protected:
    void SetUp() override
    {
        rom.write(dir / "rom.gb");
        savePicture("pic.bmp", 1);
    }

    void savePicture(const std::string& name, int seed)
    {
        constexpr Colour shades[] = {kWhite, kRed, kBlue, kBlack};
        ToQImage(MakePicture(40, 40, [&](int x, int t) { return shades[(x * seed + t * t + x * t / 3) % 4]; }))
            .save(QString::fromStdString(at(name)), "BMP");
    }

    Outcome run(const Launch& launch, std::chrono::milliseconds timeout = 30s)
    {
        return Child(launch, dir / ("err-" + std::to_string(runs++))).wait(timeout);
    }

    // Waits until the file exists (a flush mark of the shim).
    static bool appears(const std::filesystem::path& path)
    {
        for (int i = 0; i < 2000 && !std::filesystem::exists(path); ++i)
            std::this_thread::sleep_for(5ms);
        return std::filesystem::exists(path);
    }

    std::vector<std::string> temporaries(const std::filesystem::path& folder) const
    {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            if (isReplacementTemporary(entry.path()))
                found.push_back(entry.path().string());
        return found;
    }

    Bytes tilesOf(const std::string& picture) const
    {
        return cli::CodeSource(dir / picture, {}).value().tileData;
    }

    Bytes tilesIn(const std::string& romName, int pokemon) const
    {
        rom::ExtractRequest request;
        request.romPath = dir / romName;
        request.pokemonNumber = pokemon;
        auto picture = rom::ExtractFromRom(request);
        return picture ? picture->tileData : Bytes{};
    }

    std::vector<std::string> slowFlush(int microseconds) const
    {
        return {"LD_PRELOAD=" ORV_FAULT_SHIM, "ORV_SLOW_FLUSH=" + std::to_string(microseconds),
                "ORV_FLUSH_MARK=" + at("flush")};
    }

    std::string at(const std::string& name) const { return (dir / name).string(); }

    TempDir dir;
    const SyntheticRom rom = SyntheticRom::Standard('E');
    int runs = 0;
};

TEST_F(Safety, AnOutputThatNamesAnInputIsRefusedBeforeAnythingIsWritten)
{
    std::filesystem::create_symlink("rom.gb", dir / "link.png");
    std::filesystem::create_symlink("rom.gb", dir / "link.2bpp");
    std::filesystem::create_symlink("rom.gb", dir / "link.bps");
    std::filesystem::create_hard_link(dir / "rom.gb", dir / "hard.lz");
    std::filesystem::create_symlink("pic.bmp", dir / "pic-link.orv");
    std::filesystem::create_hard_link(dir / "pic.bmp", dir / "pic-hard.lz");
    std::filesystem::create_hard_link(dir / "pic.bmp", dir / "pic-hard.bps");
    std::filesystem::create_directories(dir / "all");
    std::filesystem::create_symlink("../rom.gb", dir / "all" / "pokemon-002-front.png");
    const Bytes picture = ReadFileBytes(dir / "pic.bmp");

    const std::vector<std::vector<std::string>> cases{
        {"extract", at("rom.gb"), at("link.png"), "--pokemon", "25"},
        {"decompress", at("rom.gb"), at("link.2bpp"), "--offset", "0x100000"},
        {"decompress", at("rom.gb"), at("hard.lz"), "--offset", "0x100000"},
        {"extract-all", at("rom.gb"), at("all")},
        {"convert", at("pic.bmp"), at("pic-link.orv")},
        {"compress", at("pic.bmp"), at("pic-hard.lz")},
        {"insert", at("pic.bmp"), at("rom.gb"), "--pokemon", "25", "--patch", at("link.bps")},
        {"insert", at("pic.bmp"), at("rom.gb"), "--pokemon", "25", "--patch", at("pic-hard.bps")},
        {"insert-all", at("all"), at("rom.gb"), "--patch", at("link.bps")},
    };
    for (const auto& args : cases) {
        const Outcome outcome = run({args, {}});
        const std::string what = args[0] + " " + args[2] + (args.size() > 5 ? " " + args.back() : "");
        EXPECT_EQ(outcome.code, 1) << what << ": " << outcome.err;
        EXPECT_NE(outcome.err.find("itself"), std::string::npos) << what << ": " << outcome.err;
        EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes) << what;
        EXPECT_EQ(ReadFileBytes(dir / "pic.bmp"), picture) << what;
    }
    // extract-all refused before its first file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "all"), {}), 1);

    // A link to some other file is still written through.
    WriteFileBytes(dir / "elsewhere.png", Bytes{1, 2, 3});
    std::filesystem::create_symlink("elsewhere.png", dir / "other.png");
    const Outcome through = run({{"extract", at("rom.gb"), at("other.png"), "--pokemon", "25"}, {}});
    EXPECT_EQ(through.code, 0) << through.err;
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "other.png"));
    EXPECT_GT(ReadFileBytes(dir / "elsewhere.png").size(), 100u);
}

TEST_F(Safety, AWriterThatTakesNoLockDuringTheFlushLosesNothing)
{
    Child insert({{"insert", at("pic.bmp"), at("rom.gb"), "--pokemon", "25"}, slowFlush(400000)}, dir / "err");
    ASSERT_TRUE(appears(dir / "flush-1")); // the new ROM is being flushed
    Bytes expected = rom.bytes;
    {
        const int fd = ::open(at("rom.gb").c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        const uint8_t mine[] = {0x12, 0x34, 0x56};
        ASSERT_EQ(::pwrite(fd, mine, sizeof mine, 0x3000), 3);
        ::close(fd);
        std::copy(std::begin(mine), std::end(mine), expected.begin() + 0x3000);
    }
    const Outcome outcome = insert.wait();
    EXPECT_EQ(outcome.code, 1) << outcome.err;
    EXPECT_NE(outcome.err.find("changed since it was read"), std::string::npos) << outcome.err;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), expected);
    EXPECT_EQ(temporaries(dir.path()), std::vector<std::string>{});
}

TEST_F(Safety, TenInstancesWithSlowFlushesAllArriveAndNamesLikeEachOtherDoNotCollide)
{
    std::vector<std::unique_ptr<Child>> children;
    for (int i = 0; i < 10; ++i) {
        savePicture("p" + std::to_string(i) + ".bmp", i + 2);
        children.push_back(std::make_unique<Child>(
            Launch{{"insert", at("p" + std::to_string(i) + ".bmp"), at("rom.gb"), "--pokemon",
                    std::to_string(10 + i), "--wait", "60"},
                   slowFlush(60000)},
            dir / ("err-p" + std::to_string(i))));
    }
    for (int i = 0; i < 10; ++i) {
        const Outcome outcome = children[i]->wait(90s);
        EXPECT_EQ(outcome.code, 0) << i << ": " << outcome.err;
    }
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(tilesIn("rom.gb", 10 + i), tilesOf("p" + std::to_string(i) + ".bmp")) << "Pokemon " << 10 + i;

    // Two ROMs whose names differ only where a temporary's name must encode them.
    rom.write(dir / "a.b.gb");
    rom.write(dir / "a_b.gb");
    Child first({{"insert", at("pic.bmp"), at("a.b.gb"), "--pokemon", "25"}, slowFlush(150000)}, dir / "err-a");
    Child second({{"insert", at("p1.bmp"), at("a_b.gb"), "--pokemon", "25"}, slowFlush(150000)}, dir / "err-b");
    const Outcome a = first.wait(), b = second.wait();
    EXPECT_EQ(a.code, 0) << a.err;
    EXPECT_EQ(b.code, 0) << b.err;
    EXPECT_EQ(tilesIn("a.b.gb", 25), tilesOf("pic.bmp"));
    EXPECT_EQ(tilesIn("a_b.gb", 25), tilesOf("p1.bmp"));
    EXPECT_EQ(temporaries(dir.path()), std::vector<std::string>{});
}

TEST_F(Safety, OwnerGroupModeAndAttributesSurviveOrNothingIsWritten)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the ROM to another user";
    constexpr uid_t kOther = 65534, kCaller = 4242;
    const std::string romPath = at("rom.gb");
    // An access ACL (user 1234 may read) and a user attribute.
    const uint32_t acl[] = {2,          0x00060001, 0xFFFFFFFF, 0x00040002, 1234, 0x00040004,
                            0xFFFFFFFF, 0x00040010, 0xFFFFFFFF, 0x00000020, 0xFFFFFFFF};
    const bool attributes = ::setxattr(romPath.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) == 0 &&
                            ::setxattr(romPath.c_str(), "user.orvista", "kept", 4, 0) == 0;
    ASSERT_EQ(::chown(romPath.c_str(), kOther, kOther), 0);
    ASSERT_EQ(::chmod(romPath.c_str(), 0640), 0);
    const auto attribute = [&](const char* name) {
        std::string value(256, '\0');
        const ssize_t n = ::getxattr(romPath.c_str(), name, value.data(), value.size());
        value.resize(n < 0 ? 0 : static_cast<size_t>(n));
        return value;
    };
    const std::string aclBefore = attribute("system.posix_acl_access");

    const Outcome root = run({{"insert", at("pic.bmp"), romPath, "--pokemon", "25"}, {}});
    ASSERT_EQ(root.code, 0) << root.err;
    struct stat st {};
    ASSERT_EQ(::stat(romPath.c_str(), &st), 0);
    EXPECT_EQ(std::tuple(st.st_uid, st.st_gid, st.st_mode & 07777), std::tuple(kOther, kOther, 0640u));
    if (attributes) {
        EXPECT_EQ(attribute("user.orvista"), "kept");
        EXPECT_EQ(attribute("system.posix_acl_access"), aclBefore);
    }

    // Another user may write the ROM, but a replacement would become theirs.
    rom.write(dir / "rom.gb");
    ASSERT_EQ(::chown(romPath.c_str(), kOther, kOther), 0);
    ASSERT_EQ(::chmod(romPath.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const Outcome refused = run({{"insert", at("pic.bmp"), romPath, "--pokemon", "25"}, {}, RLIM_INFINITY,
                                 RLIM_INFINITY, 0, kCaller});
    EXPECT_EQ(refused.code, 1) << refused.err;
    EXPECT_NE(refused.err.find("belongs to another user (user 65534)"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--patch still"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes);
    ASSERT_EQ(::stat(romPath.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kOther);
    EXPECT_EQ(temporaries(dir.path()), std::vector<std::string>{});
    const Outcome patch = run({{"insert", at("pic.bmp"), romPath, "--pokemon", "25", "--patch", at("mine.bps")},
                               {}, RLIM_INFINITY, RLIM_INFINITY, 0, kCaller});
    EXPECT_EQ(patch.code, 0) << patch.err;
}

TEST_F(Safety, SignalsLimitsAndAClosedOutputEndCleanly)
{
    // Each stopping signal while the new ROM is flushed: removed, unchanged, status 1.
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::filesystem::remove(dir / "flush-1");
        Child insert({{"insert", at("pic.bmp"), at("rom.gb"), "--pokemon", "25"}, slowFlush(300000)}, dir / "err");
        ASSERT_TRUE(appears(dir / "flush-1"));
        insert.signal(signal);
        const Outcome outcome = insert.wait();
        EXPECT_EQ(outcome.code, 1) << signal << ": " << outcome.err;
        EXPECT_NE(outcome.err.find("the ROM is unchanged"), std::string::npos) << outcome.err;
        EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes) << signal;
        EXPECT_EQ(temporaries(dir.path()), std::vector<std::string>{}) << signal;
    }
    // After the rename (the folder's flush): the ROM changed, status 0.
    Child late({{"insert", at("pic.bmp"), at("rom.gb"), "--pokemon", "25"}, slowFlush(300000)}, dir / "err");
    ASSERT_TRUE(appears(dir / "flush-2"));
    late.signal(SIGTERM);
    const Outcome after = late.wait();
    EXPECT_EQ(after.code, 0) << after.err;
    EXPECT_EQ(tilesIn("rom.gb", 25), tilesOf("pic.bmp"));

    // An extract-all folder keeps no temporary either.
    Child extract({{"extract-all", at("rom.gb"), at("out")}, {"LD_PRELOAD=" ORV_FAULT_SHIM, "ORV_SLOW_WRITES=200000"}},
                  dir / "err");
    ASSERT_TRUE(appears(dir / "out"));
    std::this_thread::sleep_for(300ms);
    extract.signal(SIGTERM);
    EXPECT_EQ(extract.wait().code, 1);
    EXPECT_EQ(temporaries(dir / "out"), std::vector<std::string>{});

    // A file-size limit below the ROM's size, with the default signal disposition.
    rom.write(dir / "rom.gb");
    const Outcome limited = run({{"insert", at("pic.bmp"), at("rom.gb"), "--pokemon", "25"}, {}, 1 << 20});
    EXPECT_EQ(std::tuple(limited.code, limited.signal), std::tuple(1, 0)) << limited.err;
    EXPECT_NE(limited.err.find("system error 27: File too large"), std::string::npos) << limited.err;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes);
    EXPECT_EQ(temporaries(dir.path()), std::vector<std::string>{});

    // Standard output closed after a successful commit.
    const Outcome closed = run({{"insert", at("pic.bmp"), at("rom.gb"), "--pokemon", "25"}, {}, RLIM_INFINITY,
                                RLIM_INFINITY, 0, std::nullopt, true});
    EXPECT_EQ(std::tuple(closed.code, closed.signal), std::tuple(0, 0)) << closed.err;
    EXPECT_EQ(tilesIn("rom.gb", 25), tilesOf("pic.bmp"));
}

TEST_F(Safety, RunningOutOfMemoryIsAFailureWithAMessage)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an address-space limit leaves AddressSanitizer no room for its shadow";
#else
    // 8000 x 8000 pixels: within the picture limits, far beyond the memory given.
    QImage big(8000, 8000, QImage::Format_Indexed8);
    big.setColorTable({qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(0, 0, 0)});
    big.fill(1);
    ASSERT_TRUE(big.save(QString::fromStdString(at("big.png")), "PNG", 90));
    const Outcome outcome =
        run({{"insert", at("big.png"), at("rom.gb"), "--pokemon", "25"}, {}, RLIM_INFINITY, 300 << 20});
    EXPECT_EQ(std::tuple(outcome.code, outcome.signal), std::tuple(1, 0)) << outcome.err;
    EXPECT_NE(outcome.err.find("system error 12"), std::string::npos) << outcome.err;
    EXPECT_EQ(ReadFileBytes(dir / "rom.gb"), rom.bytes);
#endif
}

TEST_F(Safety, FolderNamesDoNotMakeRomsAndSparseTailsAreNotRead)
{
    // Folders named like ROMs and own files hold pictures.
    ASSERT_EQ(run({{"extract-all", at("rom.gb"), at("gold.gb-pictures")}, {}}).code, 0);
    const Outcome back = run({{"insert-all", at("gold.gb-pictures"), at("rom.gb")}, {}});
    EXPECT_EQ(back.code, 0) << back.err;
    std::filesystem::create_directory(dir / ".orvista");
    std::filesystem::copy_file(dir / "pic.bmp", dir / ".orvista" / "pic.bmp");
    const Outcome hidden = run({{"convert", at(".orvista/pic.bmp"), at("pic.png")}, {}});
    EXPECT_EQ(hidden.code, 0) << hidden.err;

    // A valid PNG followed by 511 MB of (sparse) zeros is read up to its IEND.
    ToQImage(ShadePattern(56, 56)).save(QString::fromStdString(at("tail.png")), "PNG");
    std::filesystem::resize_file(dir / "tail.png", int64_t{511} << 20);
    const Outcome tail = run({{"convert", at("tail.png"), at("tail.orv")}, {}});
    EXPECT_EQ(tail.code, 0) << tail.err;
    EXPECT_LT(tail.peakKb, 200 << 10) << "a 511 MB file is not read whole";
}

TEST_F(Safety, MessagesNameTheCause)
{
    WriteFileBytes(dir / "empty.gb", {});
    WriteFileBytes(dir / "header.gb", Bytes(rom.bytes.begin(), rom.bytes.begin() + 0x150));
    std::filesystem::create_directory(dir / "folder.gb");
    std::filesystem::create_symlink("/dev/zero", dir / "device.gb");
    std::filesystem::create_symlink("loop.gb", dir / "loop.gb");
    QImage wide(40000, 8, QImage::Format_Indexed8);
    wide.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    wide.fill(0);
    ASSERT_TRUE(wide.save(QString::fromStdString(at("wide.png")), "PNG"));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"insert", at("pic.bmp"), at("empty.gb")}, "is not a ROM of Pokemon Gold or Silver"},
        {{"insert", at("pic.bmp"), at("header.gb")}, "is not a ROM of Pokemon Gold or Silver"},
        {{"insert", at("pic.bmp"), at("folder.gb"), "--pokemon", "1"}, "is a folder"},
        {{"insert", at("pic.bmp"), at("device.gb"), "--pokemon", "1"}, "device"},
        {{"insert", at("pic.bmp"), at("loop.gb"), "--pokemon", "1"}, "loop of symbolic links"},
        {{"convert", at("wide.png"), at("wide.orv")}, "40000 x 8 pixels, at most 32767 pixels a side"},
    };
    for (const auto& [args, expected] : cases) {
        const Outcome outcome = run({args, {}});
        EXPECT_EQ(outcome.code, 1) << args[2];
        EXPECT_NE(outcome.err.find(expected), std::string::npos) << args[2] << ": " << outcome.err;
    }

    // Few descriptors: a valid GIF is converted, or the failure names the system's error.
    ASSERT_TRUE(WriteGif(ToQImage(ShadePattern(16, 16)), QString::fromStdString(at("pic.gif"))));
    int shortOfDescriptors = 0;
    for (rlim_t limit = 4; limit <= 24; ++limit) {
        const Outcome outcome = run({{"convert", at("pic.gif"), at("gif.orv")}, {}, RLIM_INFINITY, RLIM_INFINITY,
                                     limit});
        EXPECT_EQ(outcome.err.find("not a readable picture"), std::string::npos) << limit << ": " << outcome.err;
        shortOfDescriptors += outcome.err.find("system error 24") != std::string::npos;
    }
    EXPECT_GT(shortOfDescriptors, 0);
}

} // namespace
} // namespace orv::test
