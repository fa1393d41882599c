#pragma once
// The search for the next run of zero bytes that takes the encoded picture.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>


namespace orv::rom {

// The next offset R after `start` where the n data bytes land on zero bytes
// with two more zero bytes before them, and R and R + n + 1 share a bank;
// none when no such place lies at or below maxOffset. maxOffset is capped at
// rom.size() - n - 1, the last offset the data may take. Probes step by
// n + 2 bytes from start + 2n + 2; a zero run reaching the end of the data
// counts as long enough (candidate rom.size() - n - 1). A result in bank 0,
// which no picture pointer reaches, is never given: the search then starts
// again at 0x4000.
std::optional<int64_t> SearchNextOffset(std::span<const uint8_t> rom, int64_t start, int32_t n,
                                        int64_t maxOffset);

// A run of zero bytes.
struct FreeRun {
    int64_t offset = 0;
    int64_t length = 0;
};

// The runs of at least minLength zero bytes where picture data may go: in the
// banks a picture pointer reaches (not bank 0, not banks 0x13 and 0x14, below
// 0x400000), each cut at its bank's end, since a picture cannot cross one.
// The search fits n bytes into a run of n + 2.
std::vector<FreeRun> FreeRuns(std::span<const uint8_t> rom, int64_t minLength);

} // namespace orv::rom
