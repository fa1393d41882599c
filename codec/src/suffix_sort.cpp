#include "suffix_sort.h"

#include <bit>
#include <cstring>

namespace vex {

namespace {

// Induced sorting. The types of suffixes are kept once as LMS bits; the
// passes read what they need from the entries and two symbols: a suffix
// x - 1 is L-type when its symbol is larger than that of x, or equal and x
// is L-type. An entry is x or ~x, the sign telling whether the pass that
// reads it next induces x - 1. Empty slots hold 0, which induces nothing,
// like suffix 0. The last suffix is L-type: a virtual sentinel, smaller than
// every symbol, follows it.
//
// Which entries induce follows no pattern a processor could learn, so the
// passes do not branch on it: an entry that induces nothing rewrites its own
// slot instead.
//
// The reduced problem lives in sa itself: its text (the names of the LMS
// substrings, in text order) in the top m slots, its suffix array in the
// bottom m (m <= n / 2).

// Entries that induce nothing count in spare buckets, one of eight in turn,
// so that they do not wait for each other's counts.
constexpr int32_t kSpareBuckets = 8;

struct Level {
    int32_t* count;  // symbols of each value
    int32_t* bucket; // next free slot of each bucket
    uint64_t* lms;   // bit i: suffix i is LMS
};

size_t levelBytes(int32_t n, int32_t k)
{
    return 2 * WorkArea::bytesFor<int32_t>(static_cast<size_t>(k) + kSpareBuckets)
           + WorkArea::bytesFor<uint64_t>(static_cast<size_t>(n) / 64 + 1);
}

// Also zero the spare buckets, which then count at most n either way.
void bucketStarts(const int32_t* count, int32_t* bucket, int32_t k)
{
    int32_t sum = 0;
    for (int32_t c = 0; c < k; ++c) {
        bucket[c] = sum;
        sum += count[c];
    }
    std::memset(bucket + k, 0, sizeof(int32_t) * kSpareBuckets);
}

void bucketEnds(const int32_t* count, int32_t* bucket, int32_t k)
{
    int32_t sum = 0;
    for (int32_t c = 0; c < k; ++c) {
        sum += count[c];
        bucket[c] = sum;
    }
    std::memset(bucket + k, 0, sizeof(int32_t) * kSpareBuckets);
}

// Counts of each symbol. Few symbols recur often: four tables, so that an
// increment does not wait for the one before.
template <class Symbol>
void countSymbols(const Symbol* s, int32_t n, int32_t k, int32_t* count)
{
    std::memset(count, 0, sizeof(int32_t) * static_cast<size_t>(k));
    if (k > 1024 || n < 4096) {
        for (int32_t i = 0; i < n; ++i)
            ++count[s[i]];
        return;
    }
    int32_t more[3][1024] = {};
    int32_t i = 0;
    for (; i + 4 <= n; i += 4) {
        ++count[s[i]];
        ++more[0][s[i + 1]];
        ++more[1][s[i + 2]];
        ++more[2][s[i + 3]];
    }
    for (; i < n; ++i)
        ++count[s[i]];
    for (int32_t c = 0; c < k; ++c)
        count[c] += more[0][c] + more[1][c] + more[2][c];
}

// Sets the LMS bits; returns how many there are.
template <class Symbol>
int32_t markLms(const Symbol* s, int32_t n, uint64_t* bits)
{
    int32_t m = 0;
    uint32_t sType = 0; // of suffix i + 1; the last is L-type
    uint64_t word = 0;  // bits of the word that holds i + 1, from it on
    for (int32_t i = n - 2; i >= 0; --i) {
        const uint32_t here = (s[i] < s[i + 1]) | ((s[i] == s[i + 1]) & sType);
        const uint32_t lms = sType & (here ^ 1); // i + 1 is S-type after an L-type
        word |= uint64_t{lms} << ((i + 1) % 64);
        m += static_cast<int32_t>(lms);
        sType = here;
        if ((i + 1) % 64 == 0) {
            bits[(i + 1) / 64] = word;
            word = 0;
        }
    }
    bits[0] = word; // position 0 is never LMS, so the loop leaves word 0 to here
    for (int32_t w = (n - 1) / 64 + 1; w <= n / 64; ++w)
        bits[w] = 0;
    return m;
}

// Calls visit(i) for every LMS position i, left to right.
template <class Visit>
void forEachLms(const uint64_t* bits, int32_t n, Visit&& visit)
{
    const size_t words = static_cast<size_t>(n) / 64 + 1;
    for (size_t w = 0; w < words; ++w)
        for (uint64_t b = bits[w]; b != 0; b &= b - 1)
            visit(static_cast<int32_t>(w * 64 + static_cast<size_t>(std::countr_zero(b))));
}

// An entry's slot holds `yes` when mask is all ones, else `no`.
inline int32_t select(int32_t mask, int32_t yes, int32_t no) { return no ^ ((no ^ yes) & mask); }
inline int32_t maskOf(bool b) { return -static_cast<int32_t>(b); }

// The symbols an entry some slots ahead will read (the entry may still
// change; a prefetch is only a hint).
constexpr int32_t kAhead = 16;
template <class Symbol>
inline void prefetchSymbol(const Symbol* s, const int32_t* sa, int32_t i, int32_t n)
{
    if (static_cast<uint32_t>(i) < static_cast<uint32_t>(n)) {
        const int32_t v = sa[i];
        __builtin_prefetch(s + ((v < 0 ? ~v : v) - 1));
    }
}

// The passes compare the symbol before a suffix x with its own; s[-1] is a
// symbol above every other, so that suffix 0 looks preceded by an L-type
// suffix: it is not LMS and induces nothing, with no test for it.

// The L pass both sorting passes share, from the last suffix on: an entry
// x > 0 places x - 1 at its bucket's next start (as ~(x - 1) when the suffix
// before is S-type). The entry itself is cleared, or with turnSigns every
// entry's sign is turned.
template <bool turnSigns, class Symbol>
void induceLTypes(const Symbol* s, int32_t n, int32_t* sa, const Level& level, int32_t k)
{
    int32_t* const bucket = level.bucket;
    bucketStarts(level.count, bucket, k);
    sa[bucket[s[n - 1]]++] = (n - 1) ^ maskOf(s[n - 2] < s[n - 1]);
    for (int32_t i = 0; i < n; ++i) {
        prefetchSymbol(s, sa, i + kAhead, n);
        const int32_t v = sa[i];
        const int32_t induces = maskOf(v > 0);
        const int32_t x = (v - 1) & induces;
        const Symbol c = s[x];
        const int32_t placed = x ^ maskOf(s[x - 1] < c); // ~x: S-type before
        const int32_t b = select(induces, c, k + (i & 7));
        const int32_t to = bucket[b];
        const int32_t kept = turnSigns ? ~v : v;
        sa[i] = turnSigns ? kept : v & ~induces;
        sa[select(induces, to, i)] = select(induces, placed, kept);
        bucket[b] = to + 1;
    }
}

// The first pass, over the LMS suffixes at their buckets' ends in any
// order: it sorts their LMS substrings. In the L pass an entry x induces,
// in the S pass an entry ~x; every entry used is cleared, and an LMS suffix
// the S pass places is written as x, which no pass uses. Afterwards the LMS
// positions are the only positive entries, in substring order.
template <class Symbol>
void sortLmsSubstrings(const Symbol* s, int32_t n, int32_t* sa, const Level& level, int32_t k)
{
    int32_t* const bucket = level.bucket;
    induceLTypes<false>(s, n, sa, level, k);
    bucketEnds(level.count, bucket, k);
    for (int32_t i = n - 1; i >= 0; --i) {
        prefetchSymbol(s, sa, i - kAhead, n);
        const int32_t v = sa[i];
        const int32_t induces = maskOf(v < 0);
        const int32_t x = (~v - 1) & induces;
        const Symbol c = s[x];
        const int32_t placed = x ^ maskOf(s[x - 1] <= c); // x: LMS
        const int32_t b = select(induces, c, k + (i & 7));
        const int32_t to = bucket[b] - 1;
        sa[i] = v & ~induces;
        sa[select(induces, to, i)] = select(induces, placed, v);
        bucket[b] = to;
    }
}

// The second pass, from the sorted LMS suffixes at their buckets' ends:
// every suffix in order. The L pass induces from entries x and turns every
// entry's sign, so that the S pass induces from those that are positive
// then and restores the others.
template <class Symbol>
void induceAll(const Symbol* s, int32_t n, int32_t* sa, const Level& level, int32_t k)
{
    int32_t* const bucket = level.bucket;
    induceLTypes<true>(s, n, sa, level, k);
    bucketEnds(level.count, bucket, k);
    for (int32_t i = n - 1; i >= 0; --i) {
        prefetchSymbol(s, sa, i - kAhead, n);
        const int32_t v = sa[i];
        const int32_t induces = maskOf(v > 0);
        const int32_t x = (v - 1) & induces;
        const Symbol c = s[x];
        const int32_t placed = x ^ maskOf(s[x - 1] > c); // x: S-type before
        const int32_t b = select(induces, c, k + (i & 7));
        const int32_t to = bucket[b] - 1;
        sa[select(induces, to, i)] = select(induces, placed, ~v);
        bucket[b] = to;
    }
}

// Names the m sorted LMS substrings in sa[0, m) (equal ones alike, in
// order) and leaves the names in text order in sa[n - m, n). Returns the
// number of names.
template <class Symbol>
int32_t nameLmsSubstrings(const Symbol* s, int32_t n, int32_t* sa, int32_t m, const uint64_t* lms)
{
    // Length of each LMS substring (up to the next LMS position, inclusive)
    // at m + position / 2: LMS positions are at least two apart. The last
    // one runs into the sentinel and equals no other.
    int32_t* slot = sa + m;
    std::memset(slot, 0, sizeof(int32_t) * static_cast<size_t>(n - m));
    int32_t previousLms = -1;
    forEachLms(lms, n, [&](int32_t i) {
        if (previousLms >= 0)
            slot[previousLms >> 1] = i - previousLms + 1;
        previousLms = i;
    });
    const int32_t last = previousLms;
    slot[last >> 1] = n - last + 1;

    int32_t names = 0;
    int32_t previous = -1, previousLength = 0;
    for (int32_t r = 0; r < m; ++r) {
        const int32_t x = sa[r];
        const int32_t length = slot[x >> 1];
        bool same = length == previousLength && x != last && previous != last;
        for (int32_t d = 0; same && d < length; ++d)
            same = s[x + d] == s[previous + d];
        names += !same;
        slot[x >> 1] = names; // names from 1: 0 marks an empty slot
        previous = x;
        previousLength = length;
    }
    // The names at the top in text order, from 0. Below the next free slot
    // j lie only slots read already.
    for (int32_t i = (n - m) - 1, j = n - 1; i >= 0; --i) {
        const int32_t name = slot[i];
        sa[j] = name - 1;
        j -= name != 0;
    }
    return names;
}

template <class Symbol>
void sortLevel(const Symbol* s, int32_t n, int32_t k, int32_t* sa, WorkArea& area)
{
    if (n <= 0)
        return;
    if (n == 1) {
        sa[0] = 0;
        return;
    }
    // From here on s[n - 2] exists.
    const Level level{area.take<int32_t>(static_cast<size_t>(k)),
                      area.take<int32_t>(static_cast<size_t>(k) + kSpareBuckets),
                      area.take<uint64_t>(static_cast<size_t>(n) / 64 + 1)};
    countSymbols(s, n, k, level.count);
    const int32_t m = markLms(s, n, level.lms);

    std::memset(sa, 0, sizeof(int32_t) * static_cast<size_t>(n));
    if (m > 0) {
        // Every LMS suffix at the end of its bucket.
        bucketEnds(level.count, level.bucket, k);
        forEachLms(level.lms, n, [&](int32_t i) { sa[--level.bucket[s[i]]] = i; });
        sortLmsSubstrings(s, n, sa, level, k);
        int32_t j = 0;
        for (int32_t i = 0; i < n; ++i) {
            const int32_t v = sa[i];
            sa[j] = v;
            j += v > 0;
        }

        const int32_t names = nameLmsSubstrings(s, n, sa, m, level.lms);
        int32_t* reduced = sa + (n - m);
        if (names < m) {
            // The reduced text's s[-1], below it and above the reduced sa: m
            // is at most (n - 1) / 2, as LMS positions lie in [1, n - 2].
            reduced[-1] = INT32_MAX;
            sortLevel<int32_t>(reduced, m, names, sa, area);
        } else {
            for (int32_t i = 0; i < m; ++i)
                sa[reduced[i]] = i;
        }
        // Reduced suffixes back to LMS positions.
        j = 0;
        forEachLms(level.lms, n, [&](int32_t i) { reduced[j++] = i; });
        for (int32_t r = 0; r < m; ++r)
            sa[r] = reduced[sa[r]];
        std::memset(sa + m, 0, sizeof(int32_t) * static_cast<size_t>(n - m));
        // At their buckets' ends, in order: the largest first.
        bucketEnds(level.count, level.bucket, k);
        for (int32_t r = m - 1; r >= 0; --r) {
            const int32_t x = sa[r];
            sa[r] = 0;
            sa[--level.bucket[s[x]]] = x;
        }
    }
    induceAll(s, n, sa, level, k);
}

} // namespace

size_t suffixSortScratch(int32_t n, int32_t upper)
{
    // Level 0 has upper + 1 symbols; a reduced level of m <= n / 2 suffixes
    // at most m names.
    size_t bytes = levelBytes(n, upper + 1);
    for (int32_t m = n / 2; m > 1; m /= 2)
        bytes += levelBytes(m, m);
    return bytes;
}

bool suffixSort(const uint16_t* text, int32_t n, int32_t upper, int32_t* sa, WorkArea& scratch)
{
    if (n > 0 && text[-1] <= upper)
        return false;
    if (scratch.left() < suffixSortScratch(n, upper))
        return false;
    uint8_t* const mark = scratch.mark();
    sortLevel(text, n, upper + 1, sa, scratch);
    scratch.release(mark);
    return true;
}

} // namespace vex
