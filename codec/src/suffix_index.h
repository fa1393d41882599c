#pragma once
// Exact longest-copy search over every earlier source in O(log n) per query.
//
// One suffix array sorts three texts: the input, its bit-reversed bytes and
// the input backwards, each closed by a separator of its own so that no
// common prefix runs from one text into another. A repeat from j is the
// common prefix of input suffixes j and p; a flip from j that of input suffix
// j and bit-reversed suffix p; a reverse copy from j that of input suffix p
// and the backward suffix that starts at input[j] (it ends at input[0], so
// the copy never reads below it).
//
// Sources live in two orders taken from the suffix array: input suffixes
// (repeat, flip) and backward suffixes (reverse). In sorted order the sources
// whose common prefix with the query is at least L are one run of neighbours
// around the query's place. So the longest length M is that of the nearest
// source on either side, the run of sources that reach M is found in a
// minimum tree over neighbouring common prefixes, and a maximum tree over
// source positions names the nearest source in that run: the one a scan from
// p - 1 down meets first among the longest, whatever else ties. Lengths are
// capped at 1024 before they are compared, so sources that reach the cap tie
// and the nearest wins, as in the scan. A source enters the trees only once
// it lies before p (and one at 32768 or beyond leaves again once it is more
// than 128 bytes back, out of reach of a relative source).

#include <cstddef>
#include <cstdint>

#include "work_area.h"

namespace vex {

struct Found {
    int length = 0;      // 0: no source
    int32_t source = -1; // input position read first
};

class SuffixIndex {
public:
    // Work memory build needs for an input of n bytes.
    static size_t bytesFor(int32_t n);

    // Indexes the n input bytes; false when area holds less than bytesFor(n).
    bool build(const uint8_t* input, int32_t n, WorkArea& area);

    // Makes the sources usable at p searchable; p never decreases.
    void advanceTo(int32_t p);

    // The longest copy at p of each kind, at most cap long, from the nearest
    // source of that length (after advanceTo(p)).
    Found repeat(int32_t p, int cap) const;
    Found flip(int32_t p, int cap) const;
    Found reverse(int32_t p, int cap) const;

private:
    // Bottom-up trees over [0, leaves) with leaves a power of two.
    struct MaxTree {
        int32_t* node;
        int32_t leaves;
        void raise(int32_t i, int32_t value); // value exceeds every value in the tree
        void clear(int32_t i);
        int32_t max(int32_t lo, int32_t hi) const; // inclusive; -1 when all empty
        int32_t lastFilled(int32_t at) const;       // largest i <= at with a value, or -1
        int32_t firstFilled(int32_t at) const;      // smallest i >= at with a value, or -1
    };
    struct MinTree {
        uint16_t* node;
        int32_t leaves;
        void buildInner();
        int min(int32_t lo, int32_t hi) const;           // inclusive
        int32_t lastBelow(int32_t at, int bound) const;  // largest i <= at with a leaf < bound
        int32_t firstBelow(int32_t at, int bound) const; // smallest i >= at, or leaves
    };
    // One order of sources: common prefix of sorted neighbours i - 1 and i
    // (capped), and the positions of the sources inserted so far.
    struct Order {
        MinTree lcp;
        MaxTree source;
    };
    // Where a query falls among an order's sources: between indexes before
    // and after, with these common prefixes with them.
    struct Place {
        int32_t before, after;
        int lcpBefore, lcpAfter;
    };
    // A query's place in an order it is no member of.
    struct Between {
        int32_t after;
        uint16_t lcpBefore, lcpAfter;
    };

    static size_t persistentBytes(int32_t n);
    Found longest(const Order& order, const Place& place, int cap) const;

    int32_t n_ = 0;
    int32_t* inputIndex_ = nullptr;    // input suffix j's index in forward_
    int32_t* backwardIndex_ = nullptr; // backward suffix at input[j]: index in backward_
    Between* flipped_ = nullptr;       // bit-reversed suffix p among forward_
    Between* inBackward_ = nullptr;    // input suffix p among backward_
    Order forward_{};
    Order backward_{};
    int32_t inserted_ = 0; // sources below this were considered
    int32_t expired_ = 0;  // far sources below this were taken out again
};

} // namespace vex
