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

int32_t textLength(int32_t n) { return 3 * n + 3; }
size_t leavesFor(int32_t n) { return std::bit_ceil(static_cast<size_t>(n < 1 ? 1 : n)); }

size_t sourceTreeBytes(int32_t n) { return 2 * WorkArea::bytesFor<int32_t>(2 * leavesFor(n)); }
size_t buildBytes(int32_t n)
{
    const auto length = static_cast<size_t>(textLength(n));
    return WorkArea::bytesFor<uint16_t>(length + 1) + WorkArea::bytesFor<uint16_t>(length)
           + 2 * WorkArea::bytesFor<int32_t>(length)
           + suffixSortScratch(textLength(n), kLargestSymbol);
}

} // namespace

size_t SuffixIndex::persistentBytes(int32_t n)
{
    const auto count = static_cast<size_t>(n);
    const size_t leaves = leavesFor(n);
    return 2 * WorkArea::bytesFor<int32_t>(count) + 2 * WorkArea::bytesFor<Between>(count)
           + 2 * WorkArea::bytesFor<uint16_t>(2 * leaves);
}
size_t SuffixIndex::bytesFor(int32_t n)
{
    return persistentBytes(n) + std::max(sourceTreeBytes(n), buildBytes(n));
}

bool SuffixIndex::build(const uint8_t* in, int32_t n, WorkArea& area)
{
    if (area.left() < bytesFor(n))
        return false;
    n_ = n;
    const auto count = static_cast<size_t>(n);
    const auto leaves = static_cast<int32_t>(leavesFor(n));
    inputIndex_ = area.take<int32_t>(count);
    backwardIndex_ = area.take<int32_t>(count);
    flipped_ = area.take<Between>(count);
    inBackward_ = area.take<Between>(count);
    forward_.lcp = {area.take<uint16_t>(2 * static_cast<size_t>(leaves)), leaves};
    backward_.lcp = {area.take<uint16_t>(2 * static_cast<size_t>(leaves)), leaves};

    uint8_t* const scratch = area.mark();
    const int32_t length = textLength(n);
    // The sort reads a symbol above all others before the text.
    uint16_t* text = area.take<uint16_t>(static_cast<size_t>(length) + 1) + 1;
    text[-1] = UINT16_MAX;
    int32_t* sa = area.take<int32_t>(static_cast<size_t>(length));
    int32_t* previous = area.take<int32_t>(static_cast<size_t>(length));
    uint16_t* lcp = area.take<uint16_t>(static_cast<size_t>(length)); // by text position
    const int32_t flippedStart = n + 1, backwardStart = 2 * n + 2;
    for (int32_t i = 0; i < n; ++i) {
        text[i] = in[i];
        text[flippedStart + i] = bitReverse(in[i]);
        text[backwardStart + i] = in[n - 1 - i];
    }
    text[n] = kSeparator;
    text[2 * n + 1] = kSeparator + 1;
    text[3 * n + 2] = kSeparator + 2;
    suffixSort(text, length, kLargestSymbol, sa, area);
    // Common prefix of each suffix with the one ranked just before it, in text
    // order: each is at least one less than the one before. The walk stops at
    // a separator at the latest, as no two suffixes share one.
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
        while (text[i + h] == text[j + h])
            ++h;
        lcp[i] = static_cast<uint16_t>(std::min(h, kMaxLength));
        if (h > 0)
            --h;
    }

    // The two orders of sources, and where the queries fall in them. From
    // the left: the common prefix with the nearest member before; from the
    // right: with the nearest member after.
    auto isInput = [&](int32_t s) { return s < n; };
    auto isFlipped = [&](int32_t s) { return s >= flippedStart && s < flippedStart + n; };
    auto isBackward = [&](int32_t s) { return s >= backwardStart && s < backwardStart + n; };
    uint16_t* forwardLeaf = forward_.lcp.node + leaves;
    uint16_t* backwardLeaf = backward_.lcp.node + leaves;
    std::fill(forwardLeaf, forwardLeaf + leaves, uint16_t{0});
    std::fill(backwardLeaf, backwardLeaf + leaves, uint16_t{0});
    int32_t forwardCount = 0, backwardCount = 0;
    uint16_t sinceForward = 0, sinceBackward = 0; // 0 while no member was met
    for (int32_t r = 0; r < length; ++r) {
        const int32_t s = sa[r];
        sinceForward = std::min(sinceForward, lcp[s]);
        sinceBackward = std::min(sinceBackward, lcp[s]);
        if (isInput(s)) {
            inputIndex_[s] = forwardCount;
            forwardLeaf[forwardCount++] = sinceForward;
            inBackward_[s] = {backwardCount, sinceBackward, 0};
            sinceForward = kUnbounded;
        } else if (isFlipped(s)) {
            flipped_[s - flippedStart] = {forwardCount, sinceForward, 0};
        } else if (isBackward(s)) {
            const int32_t j = n - 1 - (s - backwardStart);
            backwardIndex_[j] = backwardCount;
            backwardLeaf[backwardCount++] = sinceBackward;
            sinceBackward = kUnbounded;
        }
    }
    uint16_t untilForward = 0, untilBackward = 0;
    for (int32_t r = length - 1; r >= 0; --r) {
        const int32_t s = sa[r];
        if (isInput(s)) {
            inBackward_[s].lcpAfter = untilBackward;
            untilForward = kUnbounded;
        } else if (isFlipped(s)) {
            flipped_[s - flippedStart].lcpAfter = untilForward;
        } else if (isBackward(s)) {
            untilBackward = kUnbounded;
        }
        untilForward = std::min(untilForward, lcp[s]);
        untilBackward = std::min(untilBackward, lcp[s]);
    }
    forward_.lcp.buildInner();
    backward_.lcp.buildInner();
    area.release(scratch);

    for (Order* order : {&forward_, &backward_}) {
        order->source = {area.take<int32_t>(2 * static_cast<size_t>(leaves)), leaves};
        std::memset(order->source.node, 0xFF, sizeof(int32_t) * 2 * static_cast<size_t>(leaves));
    }
    inserted_ = 0;
    expired_ = kAbsoluteLimit;
    return true;
}

void SuffixIndex::advanceTo(int32_t p)
{
    // Sources at kAbsoluteLimit or beyond are usable only within relative reach.
    const int32_t reachFrom = p - kRelativeReach;
    for (; expired_ < inserted_ && expired_ < reachFrom; ++expired_) {
        forward_.source.clear(inputIndex_[expired_]);
        backward_.source.clear(backwardIndex_[expired_]);
    }
    for (; inserted_ < p; ++inserted_) {
        if (inserted_ < kAbsoluteLimit || inserted_ >= reachFrom) {
            forward_.source.raise(inputIndex_[inserted_], inserted_);
            backward_.source.raise(backwardIndex_[inserted_], inserted_);
        }
    }
    expired_ = std::max(expired_, reachFrom);
}

Found SuffixIndex::repeat(int32_t p, int cap) const
{
    // The query is a member itself; its own entry is no source yet.
    const int32_t at = inputIndex_[p];
    const uint16_t* leaf = forward_.lcp.node + forward_.lcp.leaves;
    const Place place{at - 1, at + 1, at > 0 ? leaf[at] : 0, at + 1 < n_ ? leaf[at + 1] : 0};
    return longest(forward_, place, cap);
}

Found SuffixIndex::flip(int32_t p, int cap) const
{
    const Between& b = flipped_[p];
    return longest(forward_, {b.after - 1, b.after, b.lcpBefore, b.lcpAfter}, cap);
}

Found SuffixIndex::reverse(int32_t p, int cap) const
{
    const Between& b = inBackward_[p];
    return longest(backward_, {b.after - 1, b.after, b.lcpBefore, b.lcpAfter}, cap);
}

Found SuffixIndex::longest(const Order& order, const Place& place, int cap) const
{
    const int32_t left = order.source.lastFilled(place.before);
    const int32_t right = order.source.firstFilled(place.after);
    int length = 0;
    if (left >= 0)
        length = left == place.before ? place.lcpBefore
                                      : std::min(place.lcpBefore, order.lcp.min(left + 1, place.before));
    if (right >= 0)
        length = std::max(length, right == place.after
                                      ? place.lcpAfter
                                      : std::min(place.lcpAfter, order.lcp.min(place.after + 1, right)));
    length = std::min(length, cap);
    if (length == 0)
        return {};
    const int32_t lo =
        place.lcpBefore >= length ? order.lcp.lastBelow(place.before, length) : place.after;
    const int32_t hi =
        place.lcpAfter >= length ? order.lcp.firstBelow(place.after + 1, length) - 1 : place.before;
    return {length, order.source.max(lo, hi)};
}

// ---- Trees ----

void SuffixIndex::MaxTree::raise(int32_t i, int32_t value)
{
    for (int32_t k = leaves + i; k >= 1; k >>= 1)
        node[k] = value;
}

void SuffixIndex::MaxTree::clear(int32_t i)
{
    int32_t k = leaves + i;
    node[k] = -1;
    for (k >>= 1; k >= 1; k >>= 1)
        node[k] = std::max(node[2 * k], node[2 * k + 1]);
}

int32_t SuffixIndex::MaxTree::max(int32_t lo, int32_t hi) const
{
    int32_t best = -1;
    for (int32_t l = lo + leaves, r = hi + leaves + 1; l < r; l >>= 1, r >>= 1) {
        if (l & 1)
            best = std::max(best, node[l++]);
        if (r & 1)
            best = std::max(best, node[--r]);
    }
    return best;
}

int32_t SuffixIndex::MaxTree::lastFilled(int32_t at) const
{
    if (at < 0)
        return -1;
    int32_t k = leaves + at;
    if (node[k] >= 0)
        return at;
    for (; k > 1; k >>= 1) {
        if ((k & 1) && node[k - 1] >= 0) {
            k -= 1;
            while (k < leaves)
                k = node[2 * k + 1] >= 0 ? 2 * k + 1 : 2 * k;
            return k - leaves;
        }
    }
    return -1;
}

int32_t SuffixIndex::MaxTree::firstFilled(int32_t at) const
{
    if (at >= leaves)
        return -1;
    int32_t k = leaves + at;
    if (node[k] >= 0)
        return at;
    for (; k > 1; k >>= 1) {
        if (!(k & 1) && node[k + 1] >= 0) {
            k += 1;
            while (k < leaves)
                k = node[2 * k] >= 0 ? 2 * k : 2 * k + 1;
            return k - leaves;
        }
    }
    return -1;
}

void SuffixIndex::MinTree::buildInner()
{
    for (int32_t k = leaves - 1; k >= 1; --k)
        node[k] = std::min(node[2 * k], node[2 * k + 1]);
}

int SuffixIndex::MinTree::min(int32_t lo, int32_t hi) const
{
    uint16_t best = kUnbounded;
    for (int32_t l = lo + leaves, r = hi + leaves + 1; l < r; l >>= 1, r >>= 1) {
        if (l & 1)
            best = std::min(best, node[l++]);
        if (r & 1)
            best = std::min(best, node[--r]);
    }
    return best;
}

int32_t SuffixIndex::MinTree::lastBelow(int32_t at, int bound) const
{
    int32_t k = leaves + at;
    if (node[k] < bound)
        return at;
    for (; k > 1; k >>= 1) {
        if ((k & 1) && node[k - 1] < bound) {
            k -= 1;
            while (k < leaves)
                k = node[2 * k + 1] < bound ? 2 * k + 1 : 2 * k;
            return k - leaves;
        }
    }
    return 0; // the first member's entry is 0
}

int32_t SuffixIndex::MinTree::firstBelow(int32_t at, int bound) const
{
    if (at >= leaves)
        return leaves;
    int32_t k = leaves + at;
    if (node[k] < bound)
        return at;
    for (; k > 1; k >>= 1) {
        if (!(k & 1) && node[k + 1] < bound) {
            k += 1;
            while (k < leaves)
                k = node[2 * k] < bound ? 2 * k : 2 * k + 1;
            return k - leaves;
        }
    }
    return leaves;
}

} // namespace vex
