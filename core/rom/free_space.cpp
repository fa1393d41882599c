#include "free_space.h"

#include <algorithm>

#include "rom_layout.h"

namespace orv::rom {

std::optional<int64_t> SearchNextOffset(std::span<const uint8_t> rom, int64_t start, int32_t n,
                                        int64_t maxOffset)
{
    const auto size = static_cast<int64_t>(rom.size());
    if (start < 0 || n < 0)
        return std::nullopt;
    const int64_t limit = std::min(maxOffset, size - n - 1);
    if (start > limit) // also keeps the first probe from overflowing
        return std::nullopt;
    const int64_t step = int64_t{n} + 2;
    const auto isZero = [](uint8_t b) { return b == 0; };
    for (int64_t probe = start + 2 * int64_t{n} + 2; probe <= limit;) {
        if (rom[probe] != 0) {
            probe += step;
            continue;
        }
        // The run holding the probe may start up to n + 1 bytes earlier.
        const auto from = rom.begin() + (probe - n - 1);
        const int64_t z = std::find_if(from, rom.begin() + probe + 1, isZero) - rom.begin();
        // Look at up to n + 2 bytes after z; beyond the end every look counts as zero.
        const auto tail = rom.begin() + std::min(size, z + 1 + step);
        const auto nonZero = std::find_if_not(rom.begin() + z + 1, tail, isZero);
        const bool runLongEnough = nonZero == tail || nonZero - rom.begin() == z + step;
        const int64_t pos = nonZero == tail ? std::min(size, z + 1 + step) : (nonZero - rom.begin()) + 1;
        const int64_t candidate = pos - n - 1;
        if (runLongEnough && pos / kBankSize == candidate / kBankSize) {
            // No picture pointer reaches bank 0: start again at its end.
            if (candidate < kBankSize)
                return SearchNextOffset(rom, kBankSize, n, maxOffset);
            return candidate;
        }
        probe = pos + step;
    }
    return std::nullopt;
}

std::vector<FreeRun> FreeRuns(std::span<const uint8_t> rom, int64_t minLength)
{
    std::vector<FreeRun> runs;
    const auto size = static_cast<int64_t>(rom.size());
    for (int64_t bank = 1; bank * kBankSize < std::min(size, kPointerLimit); ++bank) {
        if (!PicturePointerReachable(bank * kBankSize))
            continue;
        const int64_t end = std::min(size, (bank + 1) * kBankSize);
        for (int64_t at = bank * kBankSize; at < end;) {
            if (rom[at] != 0) {
                ++at;
                continue;
            }
            const int64_t from = at;
            while (at < end && rom[at] == 0)
                ++at;
            if (at - from >= std::max<int64_t>(minLength, 1))
                runs.push_back({from, at - from});
        }
    }
    return runs;
}

} // namespace orv::rom
