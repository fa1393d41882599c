#include "suffix_sort.h"

#include <cstring>

namespace vex {

namespace {

size_t levelBytes(size_t n, size_t upper)
{
    return WorkArea::bytesFor<uint8_t>(n) + 3 * WorkArea::bytesFor<int32_t>(upper + 1)
           + WorkArea::bytesFor<int32_t>(n + 1) + 4 * WorkArea::bytesFor<int32_t>(n / 2);
}

template <class Symbol>
struct Level {
    const Symbol* s;
    int32_t n, upper;
    int32_t* sa;
    uint8_t* isS; // suffix i is smaller than suffix i + 1
    int32_t *sumL, *sumS, *bucket;

    // Places the LMS suffixes lms (in the given order) at the ends of their
    // buckets, then induces the L suffixes left to right and the S suffixes
    // right to left.
    void induce(const int32_t* lms, int32_t m)
    {
        std::memset(sa, 0xFF, sizeof(int32_t) * static_cast<size_t>(n));
        std::memcpy(bucket, sumS, sizeof(int32_t) * static_cast<size_t>(upper + 1));
        for (int32_t k = 0; k < m; ++k)
            if (lms[k] != n)
                sa[bucket[s[lms[k]]]++] = lms[k];
        std::memcpy(bucket, sumL, sizeof(int32_t) * static_cast<size_t>(upper + 1));
        sa[bucket[s[n - 1]]++] = n - 1;
        for (int32_t i = 0; i < n; ++i) {
            const int32_t v = sa[i];
            if (v >= 1 && !isS[v - 1])
                sa[bucket[s[v - 1]]++] = v - 1;
        }
        std::memcpy(bucket, sumL, sizeof(int32_t) * static_cast<size_t>(upper + 1));
        for (int32_t i = n - 1; i >= 0; --i) {
            const int32_t v = sa[i];
            if (v >= 1 && isS[v - 1])
                sa[--bucket[s[v - 1] + 1]] = v - 1;
        }
    }
};

template <class Symbol>
void sortLevel(const Symbol* s, int32_t n, int32_t upper, int32_t* sa, WorkArea& area)
{
    if (n == 0)
        return;
    if (n == 1) {
        sa[0] = 0;
        return;
    }
    if (n == 2) {
        const bool firstSmaller = s[0] < s[1];
        sa[0] = firstSmaller ? 0 : 1;
        sa[1] = firstSmaller ? 1 : 0;
        return;
    }
    Level<Symbol> level{s, n, upper, sa, area.take<uint8_t>(static_cast<size_t>(n)),
                area.take<int32_t>(static_cast<size_t>(upper) + 1),
                area.take<int32_t>(static_cast<size_t>(upper) + 1),
                area.take<int32_t>(static_cast<size_t>(upper) + 1)};
    uint8_t* isS = level.isS;
    isS[n - 1] = 0;
    for (int32_t i = n - 2; i >= 0; --i)
        isS[i] = static_cast<uint8_t>((s[i] < s[i + 1]) | ((s[i] == s[i + 1]) & isS[i + 1]));
    int32_t* sumL = level.sumL;
    int32_t* sumS = level.sumS;
    std::memset(sumL, 0, sizeof(int32_t) * static_cast<size_t>(upper + 1));
    std::memset(sumS, 0, sizeof(int32_t) * static_cast<size_t>(upper + 1));
    for (int32_t i = 0; i < n; ++i) {
        if (!isS[i])
            ++sumS[s[i]];
        else if (s[i] < upper)
            ++sumL[s[i] + 1];
    }
    for (int32_t c = 0; c <= upper; ++c) {
        sumS[c] += sumL[c];
        if (c < upper)
            sumL[c + 1] += sumS[c];
    }

    int32_t* lmsIndex = area.take<int32_t>(static_cast<size_t>(n) + 1);
    int32_t m = 0;
    for (int32_t i = 0; i <= n; ++i)
        lmsIndex[i] = -1;
    for (int32_t i = 1; i < n; ++i)
        if (!isS[i - 1] && isS[i])
            lmsIndex[i] = m++;
    int32_t* lms = area.take<int32_t>(static_cast<size_t>(m));
    for (int32_t i = 1, k = 0; i < n; ++i)
        if (!isS[i - 1] && isS[i])
            lms[k++] = i;
    level.induce(lms, m);
    if (m == 0)
        return;

    // Name the LMS substrings in sorted order; equal substrings share a name.
    int32_t* sorted = area.take<int32_t>(static_cast<size_t>(m));
    for (int32_t i = 0, k = 0; i < n; ++i) {
        const int32_t v = sa[i];
        if (v > 0 && isS[v] && !isS[v - 1])
            sorted[k++] = v;
    }
    int32_t* names = area.take<int32_t>(static_cast<size_t>(m));
    int32_t name = 0;
    names[lmsIndex[sorted[0]]] = 0;
    for (int32_t k = 1; k < m; ++k) {
        int32_t l = sorted[k - 1], r = sorted[k];
        const int32_t endL = lmsIndex[l] + 1 < m ? lms[lmsIndex[l] + 1] : n;
        const int32_t endR = lmsIndex[r] + 1 < m ? lms[lmsIndex[r] + 1] : n;
        bool same = endL - l == endR - r;
        if (same) {
            while (l < endL && s[l] == s[r]) {
                ++l;
                ++r;
            }
            same = l != n && r != n && s[l] == s[r];
        }
        if (!same)
            ++name;
        names[lmsIndex[sorted[k]]] = name;
    }
    int32_t* namedSa = area.take<int32_t>(static_cast<size_t>(m));
    sortLevel(names, m, name, namedSa, area);
    for (int32_t k = 0; k < m; ++k)
        sorted[k] = lms[namedSa[k]];
    level.induce(sorted, m);
}

} // namespace

size_t suffixSortScratch(int32_t n, int32_t upper)
{
    size_t bytes = 0;
    auto size = static_cast<size_t>(n);
    auto alphabet = static_cast<size_t>(upper);
    while (size > 2) {
        bytes += levelBytes(size, alphabet);
        size /= 2;
        alphabet = size;
    }
    return bytes;
}

bool suffixSort(const uint16_t* text, int32_t n, int32_t upper, int32_t* sa, WorkArea& scratch)
{
    if (scratch.left() < suffixSortScratch(n, upper))
        return false;
    uint8_t* const mark = scratch.mark();
    sortLevel(text, n, upper, sa, scratch);
    scratch.release(mark);
    return true;
}

} // namespace vex
