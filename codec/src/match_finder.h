#pragma once
// Finds the copy the greedy compressor would choose at a position, without
// scanning every earlier position.

#include <bit>
#include <cstddef>
#include <cstdint>

#include "stream_format.h"
#include "suffix_index.h"
#include "work_area.h"

namespace vex {

struct CopyChoice {
    int command = 0;     // kRepeat, kFlip or kReverse
    int32_t source = -1; // input position read first
    int length = 0;      // 0: no copy
};

// Hash chains of the earlier positions whose two bytes differ, and one chain
// per byte value of the earlier runs of two or more of it, walked to their
// end. A copy that starts with two equal bytes can only come from inside a
// run, and only from a fixed offset in it, so runs are kept whole instead of
// byte by byte. Exact, and quick while chains stay short; on inputs of few
// distinct strings a chain holds a fixed share of all earlier positions.
class ChainSearch {
public:
    // Chains cover the positions below kAbsoluteLimit.
    static constexpr int32_t chained(int32_t n) { return n < kAbsoluteLimit ? n : kAbsoluteLimit; }
    static constexpr int hashBits(int32_t n)
    {
        const int bits = static_cast<int>(std::bit_width(static_cast<uint32_t>(chained(n))));
        return bits < 8 ? 8 : bits > 14 ? 14 : bits;
    }
    static constexpr size_t bytesFor(int32_t n)
    {
        return WorkArea::bytesFor<uint16_t>(size_t{1} << hashBits(n))
               + WorkArea::bytesFor<uint16_t>(static_cast<size_t>(chained(n)) + 1)
               + WorkArea::bytesFor<uint16_t>(256);
    }

    bool build(const uint8_t* input, int32_t n, WorkArea& area);

    // Work so far: chain entries visited, and matches measured (which cost
    // about as much as kExtensionSteps entries: most end at a mispredicted
    // branch).
    static constexpr int64_t kExtensionSteps = 3;
    int64_t steps() const { return steps_ + kExtensionSteps * extensions_; }

    void insertUpTo(int32_t p);
    // False when no earlier position below p starts with first, second (a
    // quick test that spares most searches on pictures).
    bool anyPair(uint8_t first, uint8_t second, int32_t p) const
    {
        return p > kAbsoluteLimit
               || (first != second ? head_[hash(first, second)] : runHead_[first]) != kNone;
    }
    // Sources below `below` only (and below p); run: how many bytes from p
    // on equal the first (at most cap).
    Found repeat(int32_t p, int cap, int run, int threshold, int32_t below);
    Found flip(int32_t p, int cap, int run, int threshold, int32_t below);
    Found reverse(int32_t p, int cap, int run, int threshold, int32_t below);
    // Forgets the positions from `from` on, as if never inserted.
    void cutBackTo(int32_t from);

private:
    static constexpr uint16_t kNone = 0xFFFF;

    uint32_t hash(uint8_t first, uint8_t second) const
    {
        return ((static_cast<uint32_t>(first) << 8 | second) * 0x9E3779B1u) >> shift_;
    }
    // Length of the run that starts at s (saturating at kNone).
    int32_t runLength(int32_t s) const
    {
        return s + 2 < n_ && in_[s + 2] == in_[s] ? prev_[s + 1] : 2;
    }
    template <class Visit>
    bool scanWindow(uint8_t first, uint8_t second, int32_t high, int32_t windowLow, Visit&& visit);
    template <class Visit>
    void forEachPair(uint8_t first, uint8_t second, int32_t high, int32_t windowLow,
                     int32_t split, Visit&& visit);
    template <class Visit>
    void forEachRunSource(int32_t p, int run, bool backwards, uint8_t value, uint8_t after,
                          bool known, int32_t split, Visit&& visit);

    const uint8_t* in_ = nullptr;
    int32_t n_ = 0;
    int32_t inserted_ = 0;
    int shift_ = 0;
    int64_t steps_ = 0;
    int64_t extensions_ = 0;
    uint16_t* head_ = nullptr;
    uint16_t* prev_ = nullptr;    // at a pair: the next older one; at a run's start: the
                                  // older run of its byte, after it its length
    uint16_t* runHead_ = nullptr; // newest run of each byte value
};

// Adaptive: the chains first; once the chains' cost, as it grows, would
// outweigh the suffix index for the rest of the input, the index for the
// sources from where the costly stretches began and the chains, cut back to
// before them, for those below. indexed: that split from the start, at
// indexFrom (tests; 0: the index alone).
struct Search {
    bool indexed = false;
    int32_t indexFrom = 0;

    static const Search Adaptive, IndexOnly;
    static constexpr Search from(int32_t position) { return {true, position}; }
};
inline constexpr Search Search::Adaptive{false, 0};
inline constexpr Search Search::IndexOnly{true, 0};

class MatchFinder {
public:
    // Memory that lets every input of n bytes switch to the suffix index.
    static size_t bytesFor(int32_t n);

    // False when area cannot hold even the chains.
    bool start(const uint8_t* input, int32_t length, WorkArea area, Search search);

    // The copy at p that a scan of all earlier sources, nearest first, would
    // keep: the longest repeat, reverse or flip, nearer sources winning ties,
    // except that a repeat displaces an equally long reverse. Only copies of
    // at least 2 bytes and longer than shorterThan are reported, and none of
    // 2 bytes after a run of two that the run command did not take (a literal
    // is pending then): none of these changes what the compressor emits.
    // run: how many bytes from p on equal the first (at most 1024).
    CopyChoice find(int32_t p, int shorterThan, int run);

    bool indexed() const { return indexed_; }

private:
    const uint8_t* in_ = nullptr;
    int32_t n_ = 0;
    WorkArea area_;
    ChainSearch chains_;
    SuffixIndex index_;
    bool switchPays(int64_t steps, int32_t bytes, int32_t p);
    void startIndex(int32_t from);

    bool indexed_ = false;
    bool indexable_ = false;
    int32_t indexFrom_ = 0;    // sources from here on come from the index
    int32_t stretchStart_ = 0; // where the stretch of chain steps began
    int64_t stretchSteps_ = 0; // chain steps before it
    double firstRate_ = -1;    // chain steps per byte in the first stretch (-1: none yet)
    int32_t firstEnd_ = 0;     // where it ended
    int32_t costlyFrom_ = 0;   // where the costly stretches up to here began
};

} // namespace vex
