#pragma once
// Exact longest-copy search over every earlier source.
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
// source on either side, and the nearest source of that length is the
// largest position in the run of members that share M with the query: the
// one a scan from p - 1 down meets first among the longest, whatever else
// ties. Lengths are capped at 1024 before they are compared, so sources that
// reach the cap tie and the nearest wins, as in the scan. A source enters an
// order only once it lies before p (and one at 32768 or beyond leaves again
// once it is more than 128 bytes back, out of reach of a relative source).
//
// Both walks along an order, to the nearest source and over the run, step
// over blocks of 64 members at a time (and blocks of 64 blocks, ...) that
// hold no source or lie inside the run: a few steps where sources are dense,
// at most 63 per level and side anywhere.

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

    // Indexes the n input bytes as sources from `from` on, for queries at
    // from and after; false when area holds less than bytesFor(n).
    bool build(const uint8_t* input, int32_t n, int32_t from, WorkArea& area);

    // Makes the sources usable at p searchable; p never decreases.
    void advanceTo(int32_t p);

    // The longest copy at p of each kind, at most cap long, from the nearest
    // source of that length (after advanceTo(p)); none unless it is longer
    // than `shorter`.
    Found repeat(int32_t p, int cap, int shorter = 0) const;
    Found flip(int32_t p, int cap, int shorter = 0) const;
    Found reverse(int32_t p, int cap, int shorter = 0) const;

private:
    static constexpr int kLevels = 6; // 64^6 members and more

    // Members in sorted order. lcp[t] is the common prefix of members t - 1
    // and t (capped; 0 at both ends), source[t] the member's position once
    // it is a source, else -1. Level v > 0 has one entry per 64 of level
    // v - 1: the largest source below it and the least lcp[t] over its
    // members t (left) and over t + 1 (right); also the largest source below
    // kAbsoluteLimit and the count of those at or beyond it: once the last of
    // these leaves, the largest is the former again.
    class Order {
    public:
        static size_t lcpBytes(int32_t members);    // what take takes
        static size_t sourceBytes(int32_t members); // what clearSources takes
        void take(int32_t members, WorkArea& area); // lcp filled by the caller
        uint16_t* lcp() { return lcp_; }
        const uint16_t* lcp() const { return lcp_; }
        void finishLcp();     // the levels' least lcp; no sources
        void clearSources(WorkArea& area);

        void insert(int32_t t, int32_t position); // position above every source
        // Sources at kAbsoluteLimit or beyond leave oldest first.
        void remove(int32_t t);

        struct Hit {
            int32_t member = -1; // -1: none
            int length = 0;      // common prefix with the query
        };
        // The nearest member at or left of `from` (right: at or right of)
        // that is a source, whose common prefix with the query is `length`
        // at `from`; none once that prefix is `floor` or less.
        Hit nearestLeft(int32_t from, int length, int floor) const;
        Hit nearestRight(int32_t from, int length, int floor) const;
        // The largest source at or left of `from` (right: at or right of)
        // among the members that share at least `atLeast` with the query.
        int32_t largestLeft(int32_t from, int length, int atLeast) const;
        int32_t largestRight(int32_t from, int length, int atLeast) const;

    private:
        int32_t size_[kLevels] = {};
        int levels_ = 0;
        uint16_t* lcp_ = nullptr;
        int32_t* source_[kLevels] = {};
        int32_t* lasting_[kLevels] = {}; // largest source below kAbsoluteLimit
        uint16_t* far_[kLevels] = {};    // sources at or beyond it
        uint16_t* leastLeft_[kLevels] = {};
        uint16_t* leastRight_[kLevels] = {};
    };

    // Where a query falls among an order's members: just before member
    // `after`, sharing lcpBefore with member after - 1 and lcpAfter with it.
    struct Between {
        int32_t after;
        uint16_t lcpBefore, lcpAfter;
    };

    static size_t persistentBytes(int32_t n);
    static Found longest(const Order& order, int32_t before, int lcpBefore, int32_t after,
                         int lcpAfter, int cap, int shorter);

    // Indexed are the input and bit-reversed suffixes from `from_` on, and
    // the backward ones from `backFrom_` on: far enough back that those of
    // the sources are whole up to 1024 bytes. Arrays are by position less
    // these.
    int32_t n_ = 0;
    int32_t from_ = 0;
    int32_t backFrom_ = 0;
    int32_t* inputIndex_ = nullptr;    // input suffix j's index in forward_
    int32_t* backwardIndex_ = nullptr; // backward suffix at input[j]: index in backward_
    Between* flipped_ = nullptr;       // bit-reversed suffix p among forward_
    Between* inBackward_ = nullptr;    // input suffix p among backward_
    Order forward_;
    Order backward_;
    int32_t inserted_ = 0; // sources below this were considered
    int32_t expired_ = 0;  // far sources below this were taken out again
};

} // namespace vex
