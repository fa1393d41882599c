// The ROM's files at the edge: read whole, locked, checked and committed in
// one step; failures as facts and in the faces' words.

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <unistd.h>
#include <sys/resource.h>

#include "codec.h"
#include "core_facts.h"
#include "english_texts.h"
#include "file_commit.h"
#include "insertion.h"
#include "messages_de.h"
#include "messages_en.h"
#include "rom_change.h"
#include "rom_io.h"
#include "synthetic_rom.h"

namespace orv {
namespace {

using Bytes = std::vector<uint8_t>;

class RomFiles : public ::testing::Test {
protected:
    // Writes the standard ROM; the request puts a 56 x 56 picture at 0x1F0000
    // into Pokemon 1's front slot.
    rom::InsertRequest request()
    {
        rom_.write(path());
        rom::InsertRequest r;
        r.encoded = data_;
        r.offset = 0x1F0000;
        r.slot = rom::Slot{};
        r.width = r.height = 56;
        return r;
    }

    std::filesystem::path path() const { return dir_ / "rom.gbc"; }

    void expectUnchanged(const std::string& what) const
    {
        EXPECT_EQ(test::ReadFileBytes(path()), rom_.bytes) << what;
    }

    test::TempDir dir_;
    test::SyntheticRom rom_ = test::SyntheticRom::Standard('E');
    const Bytes data_ = codec::Encode(test::MakeTiles(49, 99)).value();
};

TEST_F(RomFiles, ReadWholeOrRefused)
{
    rom_.write(path());
    auto read = ReadRomFile(path());
    ASSERT_TRUE(read) << test::Facts(read);
    EXPECT_TRUE(std::ranges::equal(read->bytes(), rom_.bytes));
    EXPECT_EQ(test::Facts(ReadRomFile(dir_.path())), test::Facts({.kind = ErrorKind::OpenFailed, .systemCode = EISDIR}));
    EXPECT_EQ(test::Facts(ReadRomFile(dir_ / "missing.gbc")),
              test::Facts({.kind = ErrorKind::OpenFailed, .systemCode = ENOENT}));
    // The insertion's lock has its own wording for a missing ROM.
    auto missing = RomChange::begin(dir_ / "missing.gbc");
    ASSERT_FALSE(missing);
    EXPECT_EQ(test::Facts(missing), test::Facts({.kind = ErrorKind::LockOpenFailed, .systemCode = ENOENT}));
    EXPECT_EQ(de::Text(missing.error()), "Error: 2");
}

TEST_F(RomFiles, CommitChecksTheFileAndTheLock)
{
    const rom::InsertRequest r = request();
    const auto commitAfter = [&](const std::function<void()>& meanwhile) {
        auto change = RomChange::begin(path(), std::chrono::milliseconds(0));
        EXPECT_TRUE(change);
        auto planned = rom::PlanInsertion(change->rom(), r);
        EXPECT_TRUE(planned);
        meanwhile();
        return change->commit(rom::ApplyPatches(change->rom(), planned->patches).value());
    };
    // Another program changes one byte, or renames another file over the ROM.
    auto changed = commitAfter([&] {
        auto bytes = rom_.bytes;
        bytes[5] ^= 1;
        test::WriteFileBytes(path(), bytes);
    });
    ASSERT_FALSE(changed);
    EXPECT_EQ(de::Text(changed.error(), path().string()),
              "Die Datei \"" + path().string() + "\" hat sich seit dem Lesen verändert, es wurde nichts geschrieben.");
    rom_.write(path());
    auto renamed = commitAfter([&] {
        rom_.write(dir_ / "other.gbc");
        std::filesystem::rename(dir_ / "other.gbc", path());
    });
    EXPECT_EQ(renamed.error().kind, ErrorKind::FileChanged);
    expectUnchanged("changed meanwhile");

    // A second writer waits for the first, then plans from the ROM it left.
    auto first = RomChange::begin(path());
    ASSERT_TRUE(first);
    auto busy = RomChange::begin(path(), std::chrono::milliseconds(50));
    ASSERT_FALSE(busy);
    EXPECT_EQ(busy.error().kind, ErrorKind::Busy);
    EXPECT_EQ(test::EnglishMismatch(de::Text(busy.error(), "rom.gbc"), en::Text(busy.error(), "rom.gbc")), "");
    auto planned = rom::PlanInsertion(first->rom(), r);
    ASSERT_TRUE(planned);
    ASSERT_TRUE(first->commit(rom::ApplyPatches(first->rom(), planned->patches).value()));
    auto second = RomChange::begin(path(), std::chrono::milliseconds(50));
    ASSERT_TRUE(second) << "the lock of a replaced file holds no one back";
    EXPECT_EQ(second->rom().bytes()[0x1F0000], data_[0]);

    // A temporary left by a killed run goes with the next commit; one that a
    // live writer holds (its lock) stays, and so does one of another ROM.
    const auto stale = dir_ / ".~orvista-tmp-rom_2Egbc-AbCdEf";
    const auto held = dir_ / ".~orvista-tmp-rom_2Egbc-HeLd01";
    const auto other = dir_ / ".~orvista-tmp-rom_5Fgbc-AbCdEf";
    for (const auto& file : {stale, held, other})
        test::WriteFileBytes(file, Bytes{1});
    EXPECT_TRUE(IsReplacementTemporary(stale));
    const int writer = ::open(held.c_str(), O_RDWR);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    rom::InsertRequest next = r;
    next.offset = 0x1F1000;
    auto again = rom::PlanInsertion(second->rom(), next);
    ASSERT_TRUE(again);
    ASSERT_TRUE(second->commit(rom::ApplyPatches(second->rom(), again->patches).value()));
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(held));
    EXPECT_TRUE(std::filesystem::exists(other));
    ::close(writer);
}

// A write beyond the file-size limit fails: the message names the step in
// the user's language, and the ROM is as it was.
TEST_F(RomFiles, AFailedWriteNamesItsStep)
{
    const rom::InsertRequest r = request();
    auto change = RomChange::begin(path(), std::chrono::milliseconds(0));
    ASSERT_TRUE(change);
    auto planned = rom::PlanInsertion(change->rom(), r);
    ASSERT_TRUE(planned);
    const auto bytes = rom::ApplyPatches(change->rom(), planned->patches).value();

    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 0x10000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    auto failed = change->commit(bytes);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldSignal);

    ASSERT_FALSE(failed);
    EXPECT_EQ(test::Facts(failed), test::Facts({.kind = ErrorKind::WriteFailed, .systemCode = EFBIG, .text = "write"}));
    EXPECT_EQ(de::Text(failed.error(), path().string()),
              "Die Datei \"" + path().string() +
                  "\" konnte nicht geschrieben werden (Schreiben, Systemfehler 27: Die Datei ist zu groß). Sie ist "
                  "unverändert.");
    EXPECT_NE(en::Text(failed.error(), path().string()).find("(write, "), std::string::npos);
    expectUnchanged("write failed");
}

} // namespace
} // namespace orv
