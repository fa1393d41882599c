#pragma once
// Finds the copy the greedy compressor would choose at a position, without
// scanning every earlier position.

#include <cstdint>

#include "stream_format.h"

namespace vex {

struct CopyChoice {
    int command = 0;     // kRepeat, kFlip or kReverse
    int32_t source = -1; // input position read first
    int length = 0;      // 0: no copy
};

// Indexes earlier input positions by the two bytes that start there. Sources
// below the absolute limit are chained; above it only the relative window is
// usable, and it is scanned directly.
class MatchFinder {
public:
    MatchFinder(const uint8_t* input, int32_t length);

    // The copy at p that a scan of all earlier sources, nearest first, would
    // keep: the longest repeat, reverse or flip, nearer sources winning ties,
    // except that a repeat displaces an equally long reverse. Only copies of
    // at least 2 bytes and longer than shorterThan are reported; shorter ones
    // never change what the compressor emits.
    CopyChoice find(int32_t p, int shorterThan);

private:
    struct Found {
        int length = 0;
        int32_t source = -1;
    };
    static constexpr int kHashBits = 14;
    static constexpr uint16_t kNone = 0xFFFF;

    static uint32_t hash(uint8_t first, uint8_t second)
    {
        return ((static_cast<uint32_t>(first) << 8 | second) * 0x9E3779B1u) >> (32 - kHashBits);
    }
    void insertUpTo(int32_t p);
    template <class Visit>
    void forEachPair(uint8_t first, uint8_t second, int32_t high, int32_t windowLow,
                     int32_t split, Visit&& visit) const;
    Found searchRepeat(int32_t p, int cap, int threshold) const;
    Found searchFlip(int32_t p, int cap, int threshold) const;
    Found searchReverse(int32_t p, int cap, int threshold) const;

    const uint8_t* in_;
    int32_t n_;
    int32_t inserted_ = 0;
    uint16_t head_[1 << kHashBits];
    uint16_t prev_[kAbsoluteLimit];
};

} // namespace vex
