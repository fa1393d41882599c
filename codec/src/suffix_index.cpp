#include "suffix_index.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "stream_format.h"
#include "suffix_sort.h"

namespace vex {

namespace {

// Text layout: input, separator, bit-reversed input, separator, input
// backwards, separator.
constexpr uint16_t kSeparator = 256;
constexpr int32_t kLargestSymbol = kSeparator + 2;
constexpr uint16_t kUnbounded = UINT16_MAX;
// The sort reads one symbol before the text; common prefixes are measured
// four symbols at a time, up to three past the end.
constexpr int32_t kTextBefore = 1, kTextAfter = 3;

int32_t textLength(int32_t n) { return 3 * n + 3; }

int32_t levelSize(int32_t size) { return (size + 63) / 64; }

uint64_t load64(const uint16_t* at)
{
    uint64_t v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

// Common prefix of the suffixes at i and j from h on; they differ before the
// text ends, as every separator occurs once.
int32_t extendCommon(const uint16_t* text, int32_t i, int32_t j, int32_t h)
{
    if constexpr (std::endian::native == std::endian::little) {
        for (;;) {
            const uint64_t x = load64(text + i + h) ^ load64(text + j + h);
            if (x != 0)
                return h + std::countr_zero(x) / 16;
            h += 4;
        }
    } else {
        while (text[i + h] == text[j + h])
            ++h;
        return h;
    }
}

} // namespace

// ---- Orders ----

size_t SuffixIndex::Order::lcpBytes(int32_t members)
{
    size_t bytes = WorkArea::bytesFor<uint16_t>(static_cast<size_t>(members) + 1);
    for (int32_t size = members; size > 64;) {
        size = levelSize(size);
        bytes += 2 * WorkArea::bytesFor<uint16_t>(static_cast<size_t>(size));
    }
    return bytes;
}

size_t SuffixIndex::Order::sourceBytes(int32_t members)
{
    size_t bytes = WorkArea::bytesFor<int32_t>(static_cast<size_t>(members));
    for (int32_t size = members; size > 64;) {
        size = levelSize(size);
        bytes += 2 * WorkArea::bytesFor<int32_t>(static_cast<size_t>(size))
                 + WorkArea::bytesFor<uint16_t>(static_cast<size_t>(size));
    }
    return bytes;
}

void SuffixIndex::Order::take(int32_t members, WorkArea& area)
{
    levels_ = 1;
    size_[0] = members;
    lcp_ = area.take<uint16_t>(static_cast<size_t>(members) + 1);
    leastLeft_[0] = lcp_;
    leastRight_[0] = lcp_ + 1;
    while (size_[levels_ - 1] > 64) {
        const int32_t size = levelSize(size_[levels_ - 1]);
        size_[levels_] = size;
        leastLeft_[levels_] = area.take<uint16_t>(static_cast<size_t>(size));
        leastRight_[levels_] = area.take<uint16_t>(static_cast<size_t>(size));
        ++levels_;
    }
}

void SuffixIndex::Order::finishLcp()
{
    lcp_[0] = 0;
    lcp_[size_[0]] = 0;
    for (int v = 1; v < levels_; ++v) {
        const int32_t below = size_[v - 1];
        for (int32_t b = 0; b < size_[v]; ++b) {
            const int32_t end = std::min(below, (b + 1) * 64);
            uint16_t left = kUnbounded, right = kUnbounded;
            for (int32_t c = b * 64; c < end; ++c) {
                left = std::min(left, leastLeft_[v - 1][c]);
                right = std::min(right, leastRight_[v - 1][c]);
            }
            leastLeft_[v][b] = left;
            leastRight_[v][b] = right;
        }
    }
}

void SuffixIndex::Order::clearSources(WorkArea& area)
{
    for (int v = 0; v < levels_; ++v) {
        const auto size = static_cast<size_t>(size_[v]);
        source_[v] = area.take<int32_t>(size);
        std::memset(source_[v], 0xFF, sizeof(int32_t) * size);
        if (v > 0) {
            lasting_[v] = area.take<int32_t>(size);
            far_[v] = area.take<uint16_t>(size);
            std::memset(lasting_[v], 0xFF, sizeof(int32_t) * size);
            std::memset(far_[v], 0, sizeof(uint16_t) * size);
        }
    }
}

void SuffixIndex::Order::insert(int32_t t, int32_t position)
{
    source_[0][t] = position;
    const bool far = position >= kAbsoluteLimit;
    for (int v = 1; v < levels_; ++v) {
        const int32_t b = t >> (6 * v);
        source_[v][b] = position;
        if (far)
            ++far_[v][b];
        else
            lasting_[v][b] = position;
    }
}

// The sources at or beyond kAbsoluteLimit leave in the order they came: while
// an entry keeps one of them, the newest, its largest stays.
void SuffixIndex::Order::remove(int32_t t)
{
    source_[0][t] = -1;
    for (int v = 1; v < levels_; ++v) {
        const int32_t b = t >> (6 * v);
        if (--far_[v][b] == 0)
            source_[v][b] = lasting_[v][b];
    }
}

// The walks keep `length`, the common prefix with the query, at the entry
// they stand on: at its last member going left, its first going right. They
// climb a level once they step onto an entry that is the last (left) or first
// (right) of its parent, and descend into an entry whose members they need
// one by one.

SuffixIndex::Order::Hit SuffixIndex::Order::nearestLeft(int32_t from, int length, int floor) const
{
    int v = 0;
    for (int32_t i = from; i >= 0 && length > floor;) {
        if (source_[v][i] >= 0) {
            if (v == 0)
                return {i, length};
            --v;
            i = std::min(i * 64 + 63, size_[v] - 1);
            continue;
        }
        length = std::min<int>(length, leastLeft_[v][i]);
        --i;
        if ((i & 63) == 63 && v + 1 < levels_) {
            i >>= 6;
            ++v;
        }
    }
    return {};
}

SuffixIndex::Order::Hit SuffixIndex::Order::nearestRight(int32_t from, int length,
                                                         int floor) const
{
    int v = 0;
    for (int32_t i = from; i < size_[v] && length > floor;) {
        if (source_[v][i] >= 0) {
            if (v == 0)
                return {i, length};
            --v;
            i *= 64;
            continue;
        }
        length = std::min<int>(length, leastRight_[v][i]);
        ++i;
        if ((i & 63) == 0 && v + 1 < levels_) {
            i >>= 6;
            ++v;
        }
    }
    return {};
}

int32_t SuffixIndex::Order::largestLeft(int32_t from, int length, int atLeast) const
{
    int32_t largest = -1;
    int v = 0;
    for (int32_t i = from; i >= 0;) {
        const int least = std::min<int>(length, leastLeft_[v][i]);
        if (least >= atLeast) { // the whole entry, and the member before it
            largest = std::max(largest, source_[v][i]);
            length = least;
            --i;
            if ((i & 63) == 63 && v + 1 < levels_) {
                i >>= 6;
                ++v;
            }
        } else if (v == 0) { // the last member that shares enough
            return std::max(largest, source_[0][i]);
        } else {
            --v;
            i = std::min(i * 64 + 63, size_[v] - 1);
        }
    }
    return largest;
}

int32_t SuffixIndex::Order::largestRight(int32_t from, int length, int atLeast) const
{
    int32_t largest = -1;
    int v = 0;
    for (int32_t i = from; i < size_[v];) {
        const int least = std::min<int>(length, leastRight_[v][i]);
        if (least >= atLeast) {
            largest = std::max(largest, source_[v][i]);
            length = least;
            ++i;
            if ((i & 63) == 0 && v + 1 < levels_) {
                i >>= 6;
                ++v;
            }
        } else if (v == 0) {
            return std::max(largest, source_[0][i]);
        } else {
            --v;
            i *= 64;
        }
    }
    return largest;
}

// ---- Index ----

size_t SuffixIndex::persistentBytes(int32_t n)
{
    // Index arrays with one spare entry, written by the members of other kinds.
    const auto count = static_cast<size_t>(n) + 1;
    return 2 * WorkArea::bytesFor<int32_t>(count) + 2 * WorkArea::bytesFor<Between>(count)
           + 2 * Order::lcpBytes(n);
}

size_t SuffixIndex::bytesFor(int32_t n)
{
    // While building: the text, its suffix array and either the sort's
    // scratch or what the common prefixes are computed in. Then the sources.
    const auto length = static_cast<size_t>(textLength(n));
    const size_t text = WorkArea::bytesFor<uint16_t>(length + kTextBefore + kTextAfter);
    const size_t sa = WorkArea::bytesFor<int32_t>(length);
    const size_t sort = suffixSortScratch(textLength(n), kLargestSymbol);
    const size_t lcp = WorkArea::bytesFor<int32_t>(length) + WorkArea::bytesFor<uint16_t>(length);
    return persistentBytes(n)
           + std::max(text + sa + std::max(sort, lcp), 2 * Order::sourceBytes(n));
}

bool SuffixIndex::build(const uint8_t* in, int32_t n, int32_t from, WorkArea& area)
{
    if (area.left() < bytesFor(n) || from < 0 || from > n)
        return false;
    n_ = n;
    from_ = from;
    backFrom_ = std::max(0, from - (kMaxLength - 1));
    const int32_t m = n - from, mb = n - backFrom_; // members of the two orders
    inputIndex_ = area.take<int32_t>(static_cast<size_t>(m) + 1);
    backwardIndex_ = area.take<int32_t>(static_cast<size_t>(mb) + 1);
    flipped_ = area.take<Between>(static_cast<size_t>(m) + 1);
    inBackward_ = area.take<Between>(static_cast<size_t>(m) + 1);
    forward_.take(m, area);
    backward_.take(mb, area);

    uint8_t* const scratch = area.mark();
    const int32_t flippedStart = m + 1, backwardStart = 2 * m + 2;
    const int32_t length = backwardStart + mb + 1;
    uint16_t* text =
        area.take<uint16_t>(static_cast<size_t>(length + kTextBefore + kTextAfter)) + kTextBefore;
    int32_t* sa = area.take<int32_t>(static_cast<size_t>(length));
    text[-1] = UINT16_MAX;
    for (int32_t t = 0; t < m; ++t) {
        text[t] = in[from + t];
        text[flippedStart + t] = bitReverse(in[from + t]);
    }
    for (int32_t k = 0; k < mb; ++k)
        text[backwardStart + k] = in[n - 1 - k];
    text[m] = kSeparator;
    text[flippedStart + m] = kSeparator + 1;
    text[length - 1] = kSeparator + 2;
    for (int32_t k = 0; k < kTextAfter; ++k)
        text[length + k] = 0;
    uint8_t* const sorted = area.mark();
    suffixSort(text, length, kLargestSymbol, sa, area);
    area.release(sorted);

    // Common prefix of each suffix with the one ranked just before it, in text
    // order: each is at least one less than the one before.
    int32_t* previous = area.take<int32_t>(static_cast<size_t>(length));
    uint16_t* lcp = area.take<uint16_t>(static_cast<size_t>(length)); // by text position
    previous[sa[0]] = -1;
    for (int32_t r = 1; r < length; ++r)
        previous[sa[r]] = sa[r - 1];
    for (int32_t i = 0, h = 0; i < length; ++i) {
        const int32_t j = previous[i];
        if (j < 0) {
            lcp[i] = 0;
            h = 0;
            continue;
        }
        h = extendCommon(text, i, j, h);
        lcp[i] = static_cast<uint16_t>(std::min(h, kMaxLength));
        h -= h > 0;
    }

    // The two orders of sources, and where the queries fall in them. From
    // the left: the common prefix with the nearest member before; from the
    // right: with the nearest member after. The kinds mix in no pattern, so
    // every suffix writes every array, those of other kinds to a spare entry
    // at the end.
    auto slot = [](bool member, int32_t at, int32_t spare) {
        return spare ^ ((spare ^ at) & -int32_t{member});
    };
    auto reset = [](bool member, uint16_t value) {
        return static_cast<uint16_t>(value | -int32_t{member});
    };
    auto kinds = [&](int32_t s) {
        struct {
            bool input, flipped, backward;
        } k{static_cast<uint32_t>(s) < static_cast<uint32_t>(m),
            static_cast<uint32_t>(s - flippedStart) < static_cast<uint32_t>(m),
            static_cast<uint32_t>(s - backwardStart) < static_cast<uint32_t>(mb)};
        return k;
    };
    uint16_t* forwardLcp = forward_.lcp();
    uint16_t* backwardLcp = backward_.lcp();
    int32_t forwardCount = 0, backwardCount = 0;
    uint16_t sinceForward = 0, sinceBackward = 0; // 0 while no member was met
    // The common prefixes again in rank order, for the pass back: read in
    // order there. (previous is free once they are computed.)
    uint16_t* lcpByRank = reinterpret_cast<uint16_t*>(previous);
    for (int32_t r = 0; r < length; ++r) {
        const int32_t s = sa[r];
        const auto kind = kinds(s);
        const uint16_t common = lcp[s];
        lcpByRank[r] = common;
        sinceForward = std::min(sinceForward, common);
        sinceBackward = std::min(sinceBackward, common);
        forwardLcp[forwardCount] = sinceForward; // kept once a member writes it
        backwardLcp[backwardCount] = sinceBackward;
        inputIndex_[slot(kind.input, s, m)] = forwardCount;
        inBackward_[slot(kind.input, s, m)] = {backwardCount, sinceBackward, 0};
        flipped_[slot(kind.flipped, s - flippedStart, m)] = {forwardCount, sinceForward, 0};
        backwardIndex_[slot(kind.backward, length - 2 - s, mb)] = backwardCount;
        forwardCount += kind.input;
        backwardCount += kind.backward;
        sinceForward = reset(kind.input, sinceForward);
        sinceBackward = reset(kind.backward, sinceBackward);
    }
    uint16_t untilForward = 0, untilBackward = 0;
    for (int32_t r = length - 1; r >= 0; --r) {
        const int32_t s = sa[r];
        const auto kind = kinds(s);
        inBackward_[slot(kind.input, s, m)].lcpAfter = untilBackward;
        flipped_[slot(kind.flipped, s - flippedStart, m)].lcpAfter = untilForward;
        untilForward = std::min(reset(kind.input, untilForward), lcpByRank[r]);
        untilBackward = std::min(reset(kind.backward, untilBackward), lcpByRank[r]);
    }
    forward_.finishLcp();
    backward_.finishLcp();
    area.release(scratch);

    forward_.clearSources(area);
    backward_.clearSources(area);
    inserted_ = from;
    expired_ = std::max(kAbsoluteLimit, from);
    return true;
}

void SuffixIndex::advanceTo(int32_t p)
{
    // Sources at kAbsoluteLimit or beyond are usable only within relative reach.
    const int32_t reachFrom = p - kRelativeReach;
    for (; expired_ < inserted_ && expired_ < reachFrom; ++expired_) {
        forward_.remove(inputIndex_[expired_ - from_]);
        backward_.remove(backwardIndex_[expired_ - backFrom_]);
    }
    for (; inserted_ < p; ++inserted_) {
        if (inserted_ < kAbsoluteLimit || inserted_ >= reachFrom) {
            forward_.insert(inputIndex_[inserted_ - from_], inserted_);
            backward_.insert(backwardIndex_[inserted_ - backFrom_], inserted_);
        }
    }
    expired_ = std::max(expired_, reachFrom);
}

Found SuffixIndex::repeat(int32_t p, int cap, int shorter) const
{
    // The query is a member itself; its own entry is no source yet.
    const int32_t at = inputIndex_[p - from_];
    const uint16_t* lcp = forward_.lcp();
    return longest(forward_, at - 1, lcp[at], at + 1, lcp[at + 1], cap, shorter);
}

Found SuffixIndex::flip(int32_t p, int cap, int shorter) const
{
    const Between& b = flipped_[p - from_];
    return longest(forward_, b.after - 1, b.lcpBefore, b.after, b.lcpAfter, cap, shorter);
}

Found SuffixIndex::reverse(int32_t p, int cap, int shorter) const
{
    const Between& b = inBackward_[p - from_];
    return longest(backward_, b.after - 1, b.lcpBefore, b.after, b.lcpAfter, cap, shorter);
}

Found SuffixIndex::longest(const Order& order, int32_t before, int lcpBefore, int32_t after,
                           int lcpAfter, int cap, int shorter)
{
    const Order::Hit left = order.nearestLeft(before, lcpBefore, shorter);
    const Order::Hit right = order.nearestRight(after, lcpAfter, shorter);
    const int length = std::min(std::max(left.length, right.length), cap);
    if (length <= shorter)
        return {};
    int32_t source = -1;
    if (left.length >= length)
        source = order.largestLeft(left.member, left.length, length);
    if (right.length >= length)
        source = std::max(source, order.largestRight(right.member, right.length, length));
    return {length, source};
}

} // namespace vex
