#include <gtest/gtest.h>

#include <random>

#include "free_space.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

// The search step by step over a file read one byte per call: a read at or
// beyond the end delivers nothing, keeps the last byte and does not move.
class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& data) : data_(data) {}
    void seek(int64_t to) { pos_ = to; }
    uint8_t read()
    {
        if (pos_ < static_cast<int64_t>(data_.size()))
            last_ = data_[static_cast<size_t>(pos_++)];
        return last_;
    }
    int64_t position() const { return pos_; }

private:
    const std::vector<uint8_t>& data_;
    int64_t pos_ = 0;
    uint8_t last_ = 0;
};

std::optional<int64_t> LiteralSearch(const std::vector<uint8_t>& data, int64_t start, int32_t n)
{
    const int64_t maxOffset = static_cast<int64_t>(data.size()) - n - 1;
    ByteReader file(data);
    const int64_t step = n + 2;
    int64_t probe = start + 2 * int64_t{n} + 2;
    while (probe <= maxOffset) {
        file.seek(probe);
        if (file.read() != 0) {
            probe += step;
            continue;
        }
        file.seek(probe - n - 1);
        while (file.read() != 0) {
        }
        int64_t count = 0;
        while (count < n + 2) {
            ++count;
            if (file.read() != 0)
                break;
        }
        const int64_t pos = file.position();
        if (count == n + 2 && pos / 0x4000 == (pos - n - 1) / 0x4000)
            return pos - n - 1;
        probe = pos + step;
    }
    return std::nullopt;
}

std::vector<uint8_t> Filler(int64_t size) { return test::SyntheticRom('E', size).bytes; }

void Zero(std::vector<uint8_t>& data, int64_t from, int64_t length)
{
    std::fill_n(data.begin() + from, length, 0);
}

std::optional<int64_t> Search(const std::vector<uint8_t>& data, int64_t start, int32_t n)
{
    auto fast = SearchNextOffset(data, start, n, static_cast<int64_t>(data.size()) - n - 1);
    EXPECT_EQ(fast, LiteralSearch(data, start, n)) << "start " << start << " n " << n;
    return fast;
}

TEST(FreeSpace, FindsRunFromItsStart)
{
    auto data = Filler(0x8000);
    Zero(data, 0x1000, 0x100);
    EXPECT_EQ(Search(data, 0, 100), 0x1002);
    // Started inside the run: the probe lands further in, the result follows the start.
    EXPECT_EQ(Search(data, 0x1002, 20), 0x1002 + 20 + 3);
}

TEST(FreeSpace, RunLengthAndBankEnds)
{
    const int32_t n = 50;
    struct Case {
        const char* what;
        int64_t runStart, runLength;
        std::optional<int64_t> result;
    };
    const Case cases[] = {
        {"n + 1 zeros", 0x2000, n + 1, std::nullopt},
        {"n + 2 zeros", 0x2000, n + 2, 0x2002},
        {"ends on last byte of bank", 0x4000 - (n + 2), n + 2, std::nullopt},
        {"ends on second-to-last byte", 0x4000 - 1 - (n + 2), n + 2, std::nullopt},
        {"ends on third-to-last byte", 0x4000 - 2 - (n + 2), n + 2, 0x4000 - 2 - (n + 2) + 2},
        {"crosses into next bank, long", 0x3FF0, 0x200, 0x4028},
    };
    for (const auto& c : cases) {
        auto data = Filler(0xC000);
        Zero(data, c.runStart, c.runLength);
        EXPECT_EQ(Search(data, 0, n), c.result) << c.what;
    }
}

TEST(FreeSpace, RunReachingTheEndOfFile)
{
    // n + 1 zeros at the end, probed at MaxOffset: reads past the end count as
    // zeros, so the candidate is MaxOffset, taken unless the end starts a bank.
    const int32_t n = 40;
    for (int64_t size : {0x4800, 0x8000}) {
        auto data = Filler(size);
        Zero(data, size - (n + 1), n + 1);
        const int64_t maxOffset = size - n - 1;
        const auto result = Search(data, maxOffset - 2 * n - 2, n);
        if (size % 0x4000 == 0)
            EXPECT_EQ(result, std::nullopt);
        else
            EXPECT_EQ(result, maxOffset);
    }
}

TEST(FreeSpace, SecondClickContinuesAfterTheFirst)
{
    auto data = Filler(0x10000);
    Zero(data, 0x3000, 0x400);
    Zero(data, 0x9000, 0x80);
    auto first = Search(data, 0, 100);
    ASSERT_EQ(first, 0x3002);
    auto second = Search(data, *first, 100);
    EXPECT_EQ(second, 0x3002 + 103);
    // The last place in the first run leaves room for the data written before.
    std::optional<int64_t> at = second, last;
    while (at && *at < 0x9000) {
        last = at;
        at = Search(data, *at, 100);
    }
    EXPECT_EQ(at, 0x9002);
    ASSERT_TRUE(last);
    EXPECT_LE(*last + 100, 0x3400);
}

TEST(FreeSpace, NothingFoundAndBadArguments)
{
    auto data = Filler(0x8000);
    EXPECT_EQ(Search(data, 0, 10), std::nullopt);
    Zero(data, 0x6000, 0x100);
    EXPECT_EQ(SearchNextOffset(data, 0, 10, 0x5000), std::nullopt); // beyond maxOffset
    EXPECT_EQ(SearchNextOffset(data, 0, 10, 0x7FFF), 0x6002);       // capped to length - n - 1
    EXPECT_EQ(SearchNextOffset(data, -1, 10, 0x7000), std::nullopt);
    EXPECT_EQ(SearchNextOffset(data, 0, -1, 0x7000), std::nullopt);
    EXPECT_EQ(SearchNextOffset(std::vector<uint8_t>{}, 0, 10, 100), std::nullopt);
}

TEST(FreeSpace, FileVersion)
{
    test::TempDir dir;
    auto data = Filler(0x8000);
    Zero(data, 0x1000, 0x100);
    test::SyntheticRom rom('E', 0);
    rom.bytes = data;
    rom.write(dir / "rom.gbc");
    auto found = SearchNextOffset(dir / "rom.gbc", 0, 100);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, 0x1002);
    auto missing = SearchNextOffset(dir / "missing.gbc", 0, 100);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, RomError::Kind::OpenFailed);
}

TEST(FreeSpace, AgreesWithByteByByteSearchOnRandomFiles)
{
    std::mt19937 random(20240611);
    int found = 0;
    for (int round = 0; round < 3000; ++round) {
        const auto size =
            std::uniform_int_distribution<int64_t>(0, round % 10 == 0 ? 0x10400 : 0x4400)(random);
        std::vector<uint8_t> data(static_cast<size_t>(size));
        const int zeroPercent = std::uniform_int_distribution<int>(0, 100)(random);
        for (auto& b : data)
            b = std::uniform_int_distribution<int>(0, 99)(random) < zeroPercent ? 0 : 1 + random() % 255;
        // Some long runs, sometimes at bank ends or the end of the file.
        const int runs = std::uniform_int_distribution<int>(0, 6)(random);
        for (int r = 0; r < runs && size > 0; ++r) {
            const auto from = std::uniform_int_distribution<int64_t>(0, size - 1)(random);
            const auto length = std::uniform_int_distribution<int64_t>(1, 600)(random);
            Zero(data, from, std::min(length, size - from));
        }
        const int32_t n = std::uniform_int_distribution<int32_t>(0, round % 3 == 0 ? 8 : 300)(random);
        int64_t start = std::uniform_int_distribution<int64_t>(0, std::max<int64_t>(size, 1))(random);
        if (round % 2 == 0)
            start = 0;
        for (int click = 0; click < 4; ++click) {
            auto result = SearchNextOffset(data, start, n, size - n - 1);
            ASSERT_EQ(result, LiteralSearch(data, start, n))
                << "round " << round << " size " << size << " n " << n << " start " << start;
            if (!result)
                break;
            ++found;
            start = *result;
        }
    }
    EXPECT_GT(found, 1000); // the files exercise the found paths too
}

} // namespace
} // namespace orv::rom
