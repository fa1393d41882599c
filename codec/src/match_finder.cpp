#include "match_finder.h"

#include <cstring>

namespace vex {

MatchFinder::MatchFinder(const uint8_t* input, int32_t length) : in_(input), n_(length)
{
    std::memset(head_, 0xFF, sizeof head_);
}

void MatchFinder::insertUpTo(int32_t p)
{
    int32_t end = p < kAbsoluteLimit ? p : kAbsoluteLimit;
    if (end > n_ - 1)
        end = n_ - 1;
    for (; inserted_ < end; ++inserted_) {
        const uint32_t h = hash(in_[inserted_], in_[inserted_ + 1]);
        prev_[inserted_] = head_[h];
        head_[h] = static_cast<uint16_t>(inserted_);
    }
}

// Calls visit(i) for each i <= high where the input holds first, second, nearest
// first, until visit returns false. Positions from split on are only scanned
// down to windowLow; positions below split come from the chains.
template <class Visit>
void MatchFinder::forEachPair(uint8_t first, uint8_t second, int32_t high, int32_t windowLow,
                              int32_t split, Visit&& visit) const
{
    for (int32_t i = high; i >= split && i >= windowLow; --i)
        if (in_[i] == first && in_[i + 1] == second && !visit(i))
            return;
    for (uint16_t i = head_[hash(first, second)]; i != kNone; i = prev_[i])
        if (i <= high && i < split && in_[i] == first && in_[i + 1] == second && !visit(i))
            return;
}

// Each search keeps the nearest source of its longest match, counting only
// matches longer than threshold. A match must agree at index threshold to
// exceed it, which rejects most candidates at one comparison.
MatchFinder::Found MatchFinder::searchRepeat(int32_t p, int cap, int threshold) const
{
    Found best;
    const uint8_t* cur = in_ + p;
    forEachPair(cur[0], cur[1], p - 1, p - kRelativeReach, kAbsoluteLimit, [&](int32_t j) {
        const uint8_t* src = in_ + j;
        if (src[threshold] != cur[threshold])
            return true;
        int m = 2;
        while (m < cap && src[m] == cur[m])
            ++m;
        if (m > threshold) {
            threshold = m;
            best = {m, j};
        }
        return m < cap;
    });
    return best;
}

MatchFinder::Found MatchFinder::searchFlip(int32_t p, int cap, int threshold) const
{
    Found best;
    const uint8_t* cur = in_ + p;
    forEachPair(bitReverse(cur[0]), bitReverse(cur[1]), p - 1, p - kRelativeReach,
                kAbsoluteLimit, [&](int32_t j) {
                    const uint8_t* src = in_ + j;
                    if (src[threshold] != bitReverse(cur[threshold]))
                        return true;
                    int m = 2;
                    while (m < cap && src[m] == bitReverse(cur[m]))
                        ++m;
                    if (m > threshold) {
                        threshold = m;
                        best = {m, j};
                    }
                    return m < cap;
                });
    return best;
}

// A reverse copy from j reads in[j], in[j-1], ...: the pair (cur[1], cur[0])
// starts at j - 1, and no more than j + 1 bytes can match.
MatchFinder::Found MatchFinder::searchReverse(int32_t p, int cap, int threshold) const
{
    Found best;
    const uint8_t* cur = in_ + p;
    forEachPair(cur[1], cur[0], p - 2, p - 1 - kRelativeReach, kAbsoluteLimit - 1, [&](int32_t i) {
        const int32_t j = i + 1;
        if (j < threshold)
            return false;
        if (in_[j - threshold] != cur[threshold])
            return true;
        int m = 2;
        while (m < cap && m <= j && in_[j - m] == cur[m])
            ++m;
        if (m > threshold) {
            threshold = m;
            best = {m, j};
        }
        return m < cap;
    });
    return best;
}

CopyChoice MatchFinder::find(int32_t p, int shorterThan)
{
    const int cap = n_ - p < kMaxLength ? n_ - p : kMaxLength;
    const int threshold = shorterThan > 1 ? shorterThan : 1;
    if (threshold >= cap)
        return {};
    insertUpTo(p);
    auto above = [threshold](int length) { return length - 1 > threshold ? length - 1 : threshold; };
    const Found repeat = searchRepeat(p, cap, threshold);
    const Found flip = searchFlip(p, cap, above(repeat.length));
    const Found reverse =
        searchReverse(p, cap, above(repeat.length > flip.length ? repeat.length : flip.length));

    int longest = repeat.length;
    if (flip.length > longest)
        longest = flip.length;
    if (reverse.length > longest)
        longest = reverse.length;
    if (longest == 0)
        return {};
    // The scan meets sources nearest first and, at one source, tries repeat,
    // reverse, flip in that order; the first of the longest is kept.
    CopyChoice first;
    auto consider = [&](const Found& f, int command) {
        if (f.length == longest && f.source > first.source)
            first = {command, f.source, f.length};
    };
    consider(repeat, kRepeat);
    consider(reverse, kReverse);
    consider(flip, kFlip);
    if (first.command == kReverse && repeat.length == longest)
        first = {kRepeat, repeat.source, repeat.length};
    return first;
}

} // namespace vex
