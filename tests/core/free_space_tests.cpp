#include <gtest/gtest.h>

#include <random>

#include "free_space.h"
#include "synthetic_rom.h"

namespace orv::rom {
namespace {

using Bytes = std::vector<uint8_t>;
using Found = std::optional<int64_t>;

// The search step by step over a file read one byte per call: a read at or
// beyond the end delivers nothing, keeps the last byte and does not move. A
// place in bank 0 is not taken: the search starts again at 0x4000.
Found LiteralSearch(const Bytes& data, int64_t start, int32_t n)
{
    const auto size = static_cast<int64_t>(data.size());
    int64_t pos = 0;
    uint8_t last = 0;
    auto read = [&] { return last = pos < size ? data[static_cast<size_t>(pos++)] : last; };
    for (int64_t probe = start + 2 * int64_t{n} + 2; probe <= size - n - 1;) {
        pos = probe;
        if (read() != 0) {
            probe += n + 2;
            continue;
        }
        for (pos = probe - n - 1; read() != 0;) {
        }
        int64_t count = 0;
        while (count < n + 2 && (++count, read() == 0)) {
        }
        if (count == n + 2 && pos / 0x4000 == (pos - n - 1) / 0x4000)
            return pos - n - 1 < 0x4000 ? LiteralSearch(data, 0x4000, n) : pos - n - 1;
        probe = pos + n + 2;
    }
    return std::nullopt;
}

Bytes Filler(int64_t size, int64_t zeroFrom = 0, int64_t zeroLength = 0)
{
    Bytes data = test::SyntheticRom('E', size).bytes;
    std::fill_n(data.begin() + zeroFrom, zeroLength, 0);
    return data;
}

Found Search(const Bytes& data, int64_t start, int32_t n)
{
    auto fast = SearchNextOffset(data, start, n, static_cast<int64_t>(data.size()) - n - 1);
    EXPECT_EQ(fast, LiteralSearch(data, start, n)) << "start " << start << " n " << n;
    return fast;
}

TEST(FreeSpace, RunsBankEndsAndFurtherClicks)
{
    // What, file size, zero run start and length, search start, n, result.
    const std::tuple<const char*, int64_t, int64_t, int64_t, int64_t, int32_t, Found> cases[] = {
        {"run 0x5000..0x50FF", 0x8000, 0x5000, 0x100, 0, 100, 0x5002},
        {"second click", 0x8000, 0x5000, 0x100, 0x5002, 100, 0x5002 + 103},
        {"third click: no room left", 0x8000, 0x5000, 0x100, 0x5002 + 103, 100, std::nullopt},
        {"started inside the run", 0x8000, 0x5000, 0x100, 0x5002, 20, 0x5002 + 20 + 3},
        {"n + 1 zeros", 0xC000, 0x6000, 51, 0, 50, std::nullopt},
        {"n + 2 zeros", 0xC000, 0x6000, 52, 0, 50, 0x6002},
        {"ends on last byte of bank", 0xC000, 0x8000 - 52, 52, 0, 50, std::nullopt},
        {"ends on second-to-last byte", 0xC000, 0x8000 - 53, 52, 0, 50, std::nullopt},
        {"ends on third-to-last byte", 0xC000, 0x8000 - 54, 52, 0, 50, 0x8000 - 52},
        {"crosses into next bank", 0xC000, 0x7FF0, 0x200, 0, 50, 0x8028},
        // No picture pointer reaches bank 0: a place there makes the search
        // start again at 0x4000, so the first probe lies 2n + 2 bytes further.
        {"run in bank 0", 0x8000, 0x1000, 0x100, 0, 100, std::nullopt},
        {"run across into bank 1", 0x8000, 0x3F00, 0x200, 0, 50, 0x4000 + 50 + 3},
        // n + 1 zeros at the end, probed at the last place: reads past the end
        // count as zeros, taken unless the end starts a bank.
        {"run reaching the end", 0x4800, 0x4800 - 41, 41, 0x4800 - 41 - 82, 40, 0x4800 - 41},
        {"run reaching a bank end", 0x8000, 0x8000 - 41, 41, 0x8000 - 41 - 82, 40, std::nullopt},
    };
    for (const auto& [what, size, runStart, runLength, start, n, result] : cases)
        EXPECT_EQ(Search(Filler(size, runStart, runLength), start, n), result) << what;
}

TEST(FreeSpace, BadArguments)
{
    const auto data = Filler(0x8000, 0x6000, 0x100);
    EXPECT_EQ(SearchNextOffset(data, -1, 10, 0x7000), std::nullopt);
    EXPECT_EQ(SearchNextOffset(data, INT64_MAX, 10, 0x7000), std::nullopt); // no overflow
    EXPECT_EQ(SearchNextOffset(data, 0, -1, 0x7000), std::nullopt);
    EXPECT_EQ(SearchNextOffset(Bytes{}, 0, 10, 100), std::nullopt);
    // The faces search to the ROM's end, as the data may take it.
    EXPECT_EQ(SearchNextOffset(data, 0, 100, std::ssize(data) - 100 - 1), 0x6002);
}

TEST(FreeSpace, RunsWherePicturesMayGo)
{
    Bytes data(0x58000, 0x11);
    const std::pair<int64_t, int64_t> zeros[] = {
        {0x1000, 0x200},   // bank 0: no pointer reaches it
        {0x4100, 0x40},    // long enough
        {0x4200, 0x3F},    // one short
        {0x7F00, 0x200},   // over a bank end: one run in each bank
        {0x4C000, 0x800},  // banks 0x13 and 0x14 are not reachable
        {0x57FF0, 0x10},   // at the end of the file
    };
    for (const auto& [from, length] : zeros)
        std::fill_n(data.begin() + from, length, 0);
    const auto runs = FreeRuns(data, 0x10);
    std::vector<std::pair<int64_t, int64_t>> found;
    for (const FreeRun& run : runs)
        found.emplace_back(run.offset, run.length);
    EXPECT_EQ(found, (std::vector<std::pair<int64_t, int64_t>>{
                         {0x4100, 0x40}, {0x4200, 0x3F}, {0x7F00, 0x100}, {0x8000, 0x100}, {0x57FF0, 0x10}}));
    EXPECT_EQ(FreeRuns(data, 0x40).size(), 3u);
}

TEST(FreeSpace, AgreesWithByteByByteSearchOnRandomFiles)
{
    std::mt19937 random(20240611);
    auto uniform = [&](int64_t low, int64_t high) {
        return std::uniform_int_distribution<int64_t>(low, high)(random);
    };
    int found = 0;
    for (int round = 0; round < 2000; ++round) {
        // Mostly files past bank 0, whose places the search never gives.
        const int64_t size = round % 10 == 0 ? uniform(0, 0x10400)
                             : round % 5 == 0 ? uniform(0, 0x4400)
                                              : uniform(0x4000, 0x8400);
        const int64_t zeroPercent = uniform(0, 100);
        Bytes data(static_cast<size_t>(size));
        for (auto& b : data)
            b = uniform(0, 99) < zeroPercent ? 0 : static_cast<uint8_t>(uniform(1, 255));
        // Some long runs, sometimes at bank ends or the end of the file.
        for (int64_t r = uniform(0, 6); r > 0 && size > 0; --r) {
            const int64_t from = uniform(0, size - 1);
            std::fill_n(data.begin() + from, std::min(uniform(1, 600), size - from), 0);
        }
        const auto n = static_cast<int32_t>(uniform(0, round % 3 == 0 ? 8 : 300));
        int64_t start = round % 2 == 0 ? 0 : uniform(0, std::max<int64_t>(size, 1));
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
    EXPECT_GT(found, 600); // the files exercise the found paths too
}

} // namespace
} // namespace orv::rom
