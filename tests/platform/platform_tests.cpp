#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "binary_file.h"
#include "file_commit.h"
#include "file_lock.h"
#include "number_text.h"
#include "settings_store.h"

namespace {

TEST(NumberText, ReadsLikeTypedFields)
{
    struct Case {
        const char* text;
        long long value;
    };
    const Case cases[] = {
        {"", 0},          {"   42", 42},      {"&H1F0000", 0x1F0000}, {"&h1f", 0x1F},
        {"1F0000", 1},    {"12abc", 12},     {"abc", 0},             {"-7", -7},
        {"2.5", 2},       {"3.5", 4},        {"2.6", 3},             {"&H", 0},
        {"&HFFFFFFFF", 0xFFFFFFFFLL},        {" &H10", 16},          {"+9", 9},
    };
    for (const auto& c : cases)
        EXPECT_EQ(orv::ParseTypedNumber(c.text), c.value) << '"' << c.text << '"';
}

class BinaryFileTest : public ::testing::Test {
protected:
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("orv-platform-" + std::to_string(::getpid()));
    void SetUp() override { std::filesystem::create_directories(dir); }
    void TearDown() override { std::filesystem::remove_all(dir); }
};

TEST_F(BinaryFileTest, ReadsAndBounds)
{
    const auto path = dir / "data.bin";
    ASSERT_TRUE(orv::WriteWholeFile(path, std::vector<uint8_t>{1, 2, 3, 4, 5}));
    auto file = orv::BinaryFile::open(path);
    ASSERT_TRUE(file);
    EXPECT_EQ(*file->size(), 5);
    uint8_t two[2];
    ASSERT_TRUE(file->readAt(3, two));
    EXPECT_EQ(two[0], 4);
    // A read crossing the end is short: an error for readAt, a count for readSomeAt.
    uint8_t four[4];
    auto shortRead = file->readAt(3, four);
    ASSERT_FALSE(shortRead);
    EXPECT_EQ(shortRead.error().code, 0);
    EXPECT_EQ(*file->readSomeAt(3, four), 2u);
    EXPECT_FALSE(file->readAt(-1, two));
}

TEST_F(BinaryFileTest, OpenFailuresAreReported)
{
    auto missing = orv::BinaryFile::open(dir / "missing");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ENOENT);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    auto folder = orv::BinaryFile::open(dir);
    EXPECT_FALSE(folder);
    EXPECT_FALSE(orv::WriteWholeFile(dir / "no-such-folder" / "x.bin", std::vector<uint8_t>{1}));
}

TEST_F(BinaryFileTest, ReplacementKeepsModeAndLinksAndLeavesNoTemporary)
{
    const auto target = dir / "real" / "rom.gbc", link = dir / "rom.gbc";
    std::filesystem::create_directories(target.parent_path());
    ASSERT_TRUE(orv::WriteWholeFile(target, std::vector<uint8_t>{1, 2, 3}));
    ::chmod(target.c_str(), 0640);
    std::filesystem::create_symlink("real/rom.gbc", link);
    ASSERT_TRUE(orv::ReplaceFile(link, std::vector<uint8_t>{4, 5}));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(*orv::ReadWholeFile(target), (std::vector<uint8_t>{4, 5}));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    for (const auto& folder : {dir, target.parent_path()})
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            EXPECT_FALSE(orv::IsReplacementTemporary(entry.path())) << entry.path();
    // Temporaries never look like a ROM or an own picture file.
    EXPECT_TRUE(orv::IsReplacementTemporary(dir / ".~orvista-tmp-rom_gbc-x1Y2z3"));
    // Too large, a pipe and a folder are refused before anything is read.
    EXPECT_EQ(orv::ReadWholeFile(target, 1).error().code, EFBIG);
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    EXPECT_EQ(orv::ReadWholeFile(dir / "pipe").error().code, orv::kNotRegularFile);
    EXPECT_EQ(orv::SystemErrorEnglish(orv::kNotRegularFile), "not a regular file (a folder, a device or a pipe)");
    EXPECT_EQ(orv::ReadWholeFile(dir).error().code, EISDIR);
}

TEST_F(BinaryFileTest, ALockIsHeldAgainstEveryOtherOpening)
{
    const auto path = dir / "rom.gbc";
    ASSERT_TRUE(orv::WriteWholeFile(path, std::vector<uint8_t>{1}));
    auto first = orv::LockedFile::lock(path, std::chrono::milliseconds(0));
    ASSERT_TRUE(first);
    auto second = orv::LockedFile::lock(path, std::chrono::milliseconds(30));
    ASSERT_FALSE(second);
    EXPECT_TRUE(second.error().busy);
    // Replaced under the holder: the next lock takes the new file at once.
    ASSERT_TRUE(orv::ReplaceFile(path, std::vector<uint8_t>{2}));
    EXPECT_FALSE(first->stillAtPath(path));
    auto third = orv::LockedFile::lock(path, std::chrono::milliseconds(0));
    ASSERT_TRUE(third);
    EXPECT_TRUE(third->stillAtPath(path));
    EXPECT_FALSE(orv::LockedFile::lock(dir / "missing", std::chrono::milliseconds(0)));
}

TEST_F(BinaryFileTest, ReadOnlyDetection)
{
    const auto path = dir / "ro.gbc";
    ASSERT_TRUE(orv::WriteWholeFile(path, std::vector<uint8_t>{0}));
    EXPECT_FALSE(orv::IsReadOnlyFile(path));
    ::chmod(path.c_str(), 0444);
    EXPECT_TRUE(orv::IsReadOnlyFile(path));
}

TEST(SettingsStore, DefaultsRoundTripAndRemoval)
{
    QTemporaryDir tmp;
    const QString ini = tmp.filePath("settings.ini");
    {
        orv::QtSettingsStore store(ini);
        EXPECT_EQ(store.get("Settings", "WinPosX", "200"), "200");
        store.save("Settings", "WinPosX", "1234");
        store.save("Recent", "1", "/tmp/a b.gif");
        store.save("Recent", "X1", "");
    }
    orv::QtSettingsStore store(ini);
    EXPECT_EQ(store.get("Settings", "WinPosX", "200"), "1234");
    EXPECT_EQ(store.get("Recent", "1", ""), "/tmp/a b.gif");
    EXPECT_EQ(store.get("Recent", "X1", "default"), "");
    store.remove("Recent", "1");
    EXPECT_EQ(store.get("Recent", "1", "gone"), "gone");
    EXPECT_EQ(orv::SettingNumber("25abc"), 25);
}

} // namespace
