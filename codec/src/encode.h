#pragma once
// The greedy compressor.

#include <cstddef>
#include <cstdint>

#include "match_finder.h"
#include "work_area.h"

namespace vex {

struct Encoded {
    bool fits;       // false: the output needs more than the capacity
    int64_t written; // bytes written, end marker included (when it fits)
};

// Work memory with which every input of length bytes is compressed in
// O(n log n) time.
size_t encodeAreaBytes(int32_t length);

// Compresses length input bytes into at most capacity output bytes. area must
// hold at least the hash chains (kChainAreaBytes); with encodeAreaBytes(length)
// the search can move to the suffix index. Fails (fits false) without them.
Encoded encodeGreedy(const uint8_t* input, int32_t length, uint8_t* output, int64_t capacity,
                     WorkArea area, Search search = Search::Adaptive);

// Enough for the chains of any input, wherever the area starts.
inline constexpr size_t kChainAreaBytes = ChainSearch::bytesFor(kAbsoluteLimit) + WorkArea::kAlign;

} // namespace vex
