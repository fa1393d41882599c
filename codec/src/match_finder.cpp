#include "match_finder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vex {

namespace {

// Building and using the suffix index costs about as much per input byte as
// this much chain work (steps and measured matches, see ChainSearch::steps;
// measured on inputs of two to eight byte values and on tile data).
constexpr double kIndexStepsPerByte = 40;
// Chain steps are counted over stretches of a 32nd of the input (within
// these bounds), long enough that one long chain does not decide.
int32_t rateStretch(int32_t n) { return std::clamp(n / 32, 256, 4096); }

} // namespace

// ---- Chains ----

bool ChainSearch::build(const uint8_t* input, int32_t n, WorkArea& area)
{
    if (area.left() < bytesFor(n))
        return false;
    in_ = input;
    n_ = n;
    shift_ = 32 - hashBits(n);
    head_ = area.take<uint16_t>(size_t{1} << hashBits(n));
    prev_ = area.take<uint16_t>(static_cast<size_t>(chained(n)) + 1);
    runHead_ = area.take<uint16_t>(256);
    std::memset(head_, 0xFF, sizeof(uint16_t) << hashBits(n));
    std::memset(runHead_, 0xFF, sizeof(uint16_t) * 256);
    return true;
}

void ChainSearch::insertUpTo(int32_t p)
{
    const int32_t end = std::min(std::min(p, kAbsoluteLimit), n_ - 1);
    const uint8_t* const in = in_;
    for (int32_t j = inserted_; j < end; ++j) {
        const uint8_t c = in[j];
        if (in[j + 1] != c) {
            const uint32_t h = hash(c, in[j + 1]);
            prev_[j] = head_[h];
            head_[h] = static_cast<uint16_t>(j);
        } else if (j == 0 || in[j - 1] != c) {
            int32_t e = j + 2;
            while (e < n_ && in[e] == c)
                ++e;
            prev_[j] = runHead_[c];
            runHead_[c] = static_cast<uint16_t>(j);
            if (e - j > 2) // the second byte of a longer run is no pair's
                prev_[j + 1] = static_cast<uint16_t>(std::min<int32_t>(e - j, kNone));
        }
    }
    inserted_ = std::max(inserted_, end);
}

void ChainSearch::cutBackTo(int32_t from)
{
    // Chains are newest first: undone newest first, each insert restores the
    // head it replaced.
    for (; inserted_ > from; --inserted_) {
        const int32_t j = inserted_ - 1;
        const uint8_t c = in_[j];
        if (in_[j + 1] != c)
            head_[hash(c, in_[j + 1])] = prev_[j];
        else if (j == 0 || in_[j - 1] != c)
            runHead_[c] = prev_[j];
    }
}

// Calls visit(i) for each i in [low, high] where the input holds first,
// second, nearest first, until visit returns false (then returns false).
template <class Visit>
bool ChainSearch::scanWindow(uint8_t first, uint8_t second, int32_t high, int32_t low,
                             Visit&& visit)
{
    for (int32_t i = high; i >= low; --i)
        if (in_[i] == first && in_[i + 1] == second && !visit(i))
            return false;
    return true;
}

// Calls visit(i) for each i <= high where the input holds first, second
// (which differ), nearest first, until visit returns false. Positions from
// split on are only scanned down to windowLow; those below come from the
// chains.
template <class Visit>
void ChainSearch::forEachPair(uint8_t first, uint8_t second, int32_t high, int32_t windowLow,
                              int32_t split, Visit&& visit)
{
    if (!scanWindow(first, second, high, std::max(split, windowLow), visit))
        return;
    int64_t steps = 0;
    for (uint16_t i = head_[hash(first, second)]; i != kNone; i = prev_[i]) {
        ++steps;
        if (i <= high && i < split && in_[i] == first && in_[i + 1] == second && !visit(i))
            break;
    }
    steps_ += steps;
}

// The sources below split, nearest first, that can match more than `run`
// bytes of a query that starts with `run` bytes equal to value's counterpart
// and goes on with a byte that matches `after` (known: the query goes on).
// Forwards, such a source lies `run` bytes before the end of a run of value
// that is followed by `after`; backwards, `run` - 1 bytes after the start of
// a run preceded by it. The threshold is never below the run: the run
// command takes it, except a run of two with a literal pending, where a copy
// of two bytes saves nothing and is never emitted.
template <class Visit>
void ChainSearch::forEachRunSource(int32_t p, int run, bool backwards, uint8_t value,
                                   uint8_t after, bool known, int32_t split, Visit&& visit)
{
    if (!known)
        return;
    int64_t steps = 0;
    for (uint16_t s = runHead_[value]; s != kNone; s = prev_[s]) {
        ++steps;
        const int32_t length = runLength(s);
        if (length < run)
            continue;
        int32_t j = -1;
        if (!backwards) {
            const int32_t e = s + length;
            if (length != kNone && e < n_ && in_[e] == after && e - run < p && e - run < split)
                j = e - run;
        } else if (s >= 1 && in_[s - 1] == after && s + run - 1 < p && s + run - 1 < split) {
            j = s + run - 1;
        }
        if (j >= 0 && !visit(j))
            break;
    }
    steps_ += steps;
}

namespace {

// Where the bytes from m on stop agreeing (at most cap): cur[k] with src[k]
// (repeat), with src[k] bit-reversed (flip), or with in[j - k] for k <= j
// (reverse). Eight bytes at a time where the input has them.
constexpr bool kLittle = std::endian::native == std::endian::little;

int extendRepeat(const uint8_t* src, const uint8_t* cur, int m, int cap)
{
    if (m < cap && src[m] != cur[m]) // most matches end here
        return m;
    if constexpr (kLittle) {
        for (; m + 8 <= cap; m += 8)
            if (const uint64_t x = load64(src + m) ^ load64(cur + m); x != 0)
                return m + std::countr_zero(x) / 8;
    }
    while (m < cap && src[m] == cur[m])
        ++m;
    return m;
}

int extendFlip(const uint8_t* src, const uint8_t* cur, int m, int cap)
{
    if (m < cap && src[m] != bitReverse(cur[m]))
        return m;
    if constexpr (kLittle) {
        for (; m + 8 <= cap; m += 8)
            if (const uint64_t x = load64(src + m) ^ flipBytes(load64(cur + m)); x != 0)
                return m + std::countr_zero(x) / 8;
    }
    while (m < cap && src[m] == bitReverse(cur[m]))
        ++m;
    return m;
}

int extendReverse(const uint8_t* in, int32_t j, const uint8_t* cur, int m, int cap)
{
    const int limit = std::min(cap, j + 1);
    if (m < limit && in[j - m] != cur[m])
        return m;
    if constexpr (kLittle) {
        for (; m + 8 <= limit; m += 8)
            if (const uint64_t x = __builtin_bswap64(load64(in + j - m - 7)) ^ load64(cur + m);
                x != 0)
                return m + std::countr_zero(x) / 8;
    }
    while (m < limit && in[j - m] == cur[m])
        ++m;
    return m;
}


} // namespace

// Each search keeps the nearest source of its longest match, counting only
// matches longer than threshold. A match must agree at index threshold to
// exceed it, which rejects most candidates at one comparison.
Found ChainSearch::repeat(int32_t p, int cap, int run, int threshold, int32_t below)
{
    const int32_t split = std::min(kAbsoluteLimit, below);
    const int32_t high = std::min(p, below) - 1;
    Found best;
    const uint8_t* cur = in_ + p;
    auto visit = [&](int32_t j) {
        const uint8_t* src = in_ + j;
        if (src[threshold] != cur[threshold])
            return true;
        ++extensions_;
        const int m = extendRepeat(src, cur, 2, cap);
        if (m > threshold) {
            threshold = m;
            best = {m, j};
        }
        return m < cap;
    };
    if (cur[0] != cur[1]) {
        forEachPair(cur[0], cur[1], high, p - kRelativeReach, split, visit);
    } else if (scanWindow(cur[0], cur[1], high, std::max(split, p - kRelativeReach), visit)) {
        forEachRunSource(p, run, false, cur[0], cur[run % cap], run < cap, split, visit);
    }
    return best;
}

Found ChainSearch::flip(int32_t p, int cap, int run, int threshold, int32_t below)
{
    const int32_t split = std::min(kAbsoluteLimit, below);
    const int32_t high = std::min(p, below) - 1;
    Found best;
    const uint8_t* cur = in_ + p;
    auto visit = [&](int32_t j) {
        const uint8_t* src = in_ + j;
        if (src[threshold] != bitReverse(cur[threshold]))
            return true;
        ++extensions_;
        const int m = extendFlip(src, cur, 2, cap);
        if (m > threshold) {
            threshold = m;
            best = {m, j};
        }
        return m < cap;
    };
    const uint8_t first = bitReverse(cur[0]), second = bitReverse(cur[1]);
    if (first != second) {
        forEachPair(first, second, high, p - kRelativeReach, split, visit);
    } else if (scanWindow(first, second, high, std::max(split, p - kRelativeReach), visit)) {
        forEachRunSource(p, run, false, first, bitReverse(cur[run % cap]), run < cap, split,
                         visit);
    }
    return best;
}

// A reverse copy from j reads in[j], in[j-1], ...: the pair (cur[1], cur[0])
// starts at j - 1, and no more than j + 1 bytes can match.
Found ChainSearch::reverse(int32_t p, int cap, int run, int threshold, int32_t below)
{
    const int32_t split = std::min(kAbsoluteLimit, below);
    const int32_t high = std::min(p, below) - 1; // of the source; its pair starts one before
    Found best;
    const uint8_t* cur = in_ + p;
    auto visit = [&](int32_t i) {
        const int32_t j = i + 1;
        if (j < threshold)
            return false;
        if (in_[j - threshold] != cur[threshold])
            return true;
        ++extensions_;
        const int m = extendReverse(in_, j, cur, 2, cap);
        if (m > threshold) {
            threshold = m;
            best = {m, j};
        }
        return m < cap;
    };
    if (cur[0] != cur[1]) {
        forEachPair(cur[1], cur[0], high - 1, p - 1 - kRelativeReach, split - 1, visit);
    } else if (scanWindow(cur[1], cur[0], high - 1, std::max(split - 1, p - 1 - kRelativeReach),
                          visit)) {
        forEachRunSource(p, run, true, cur[0], cur[run % cap], run < cap, split,
                         [&](int32_t j) { return visit(j - 1); });
    }
    return best;
}

// ---- Both ----

size_t MatchFinder::bytesFor(int32_t n)
{
    return ChainSearch::bytesFor(n) + SuffixIndex::bytesFor(n);
}

bool MatchFinder::switchPays(int64_t steps, int32_t bytes, int32_t p)
{
    // Where sources are alike throughout, chains grow with the position and
    // their rate with them: the stretch's rate, grown as it has since the
    // first stretch, up to the end (growing only up to kAbsoluteLimit: no
    // later source is chained) against the index from the stretch on.
    // After the first stretch, growth from nothing is assumed, at a third:
    // first stretches also pay for finding each string's first copies.
    const double rate = double(steps) / bytes, left = n_ - p;
    if (firstRate_ < 0) {
        firstRate_ = rate;
        firstEnd_ = p;
    }
    const double growth = p > firstEnd_ ? std::max(0.0, (rate - firstRate_) / (p - firstEnd_))
                                        : rate / (3.0 * p);
    const double grown = std::clamp(double(kAbsoluteLimit - p), 0.0, left);
    const double chains = rate * left + growth * grown * (left - grown / 2);
    return chains > kIndexStepsPerByte * (n_ - (p - bytes));
}

void MatchFinder::startIndex(int32_t from)
{
    chains_.insertUpTo(from);
    chains_.cutBackTo(from);
    WorkArea area = area_;
    indexed_ = index_.build(in_, n_, from, area);
    indexFrom_ = indexed_ ? from : n_;
}

bool MatchFinder::start(const uint8_t* input, int32_t length, WorkArea area, Search search)
{
    stretchStart_ = 0;
    stretchSteps_ = 0;
    firstRate_ = -1;
    costlyFrom_ = 0;
    in_ = input;
    n_ = length;
    indexed_ = false;
    indexFrom_ = length;
    if (!chains_.build(input, length, area))
        return false;
    area_ = area; // what the chains leave
    indexable_ = area.left() >= SuffixIndex::bytesFor(length);
    if (search.indexed && indexable_)
        startIndex(std::clamp(search.indexFrom, 0, length));
    return true;
}

CopyChoice MatchFinder::find(int32_t p, int shorterThan, int run)
{
    const int cap = n_ - p < kMaxLength ? n_ - p : kMaxLength;
    const int threshold = shorterThan > 1 ? shorterThan : 1;
    if (threshold >= cap)
        return {};
    // On inputs of few strings chains grow with the input, and so does their
    // cost per byte. Once the last stretch's rate, grown up to the end, would
    // cost more than the index does from the stretch on, the index takes over
    // there.
    const bool stretchDone = p - stretchStart_ >= rateStretch(n_);
    // The index starts where the stretches began to cost a fair share of
    // what it does: the chains keep only the sources before.
    if (!indexed_ && indexable_ && stretchDone) {
        const int64_t steps = chains_.steps() - stretchSteps_;
        const int32_t bytes = p - stretchStart_;
        if (double(steps) / bytes < kIndexStepsPerByte / 4)
            costlyFrom_ = p;
        // Indexing a few more bytes costs less than chains kept for every
        // search to the end.
        if (switchPays(steps, bytes, p))
            startIndex(costlyFrom_ < n_ / 8 ? 0 : costlyFrom_);
    }
    if (stretchDone) {
        stretchStart_ = p;
        stretchSteps_ = chains_.steps();
    }

    Found repeat, flip, reverse;
    // A flip or reverse copy only matters when it is at least as long as the
    // repeat (equal lengths: the nearer source may win).
    auto atLeast = [threshold](int length) { return std::max(length - 1, threshold); };
    const uint8_t a = in_[p], b = in_[p + 1];
    if (!indexed_) { // the chains alone, for every source
        chains_.insertUpTo(p);
        if (chains_.anyPair(a, b, p))
            repeat = chains_.repeat(p, cap, run, threshold, n_);
        if (chains_.anyPair(bitReverse(a), bitReverse(b), p))
            flip = chains_.flip(p, cap, run, atLeast(repeat.length), n_);
        if (chains_.anyPair(b, a, p))
            reverse = chains_.reverse(p, cap, run, atLeast(std::max(repeat.length, flip.length)), n_);
    } else {
        // The index for the sources from indexFrom_ on; those are nearer than
        // the ones the chains keep, which count only when longer. (Only when
        // the tests split the search ahead of p does p lie before the index's
        // first source: the chains then hold more than p needs.)
        const bool indexed = p >= indexFrom_;
        if (indexed)
            index_.advanceTo(p);
        const bool chainsToo = indexFrom_ > 0;
        auto fromChains = [&](bool any, int shorter) { return chainsToo && any && shorter < cap; };
        auto nearerUnlessLonger = [](Found nearer, Found farther) {
            return farther.length > nearer.length ? farther : nearer;
        };
        if (indexed)
            repeat = index_.repeat(p, cap, threshold);
        if (const int shorter = std::max(threshold, repeat.length);
            fromChains(chains_.anyPair(a, b, p), shorter))
            repeat = nearerUnlessLonger(repeat, chains_.repeat(p, cap, run, shorter, indexFrom_));
        if (indexed)
            flip = index_.flip(p, cap, atLeast(repeat.length));
        if (const int shorter = std::max(atLeast(repeat.length), flip.length);
            fromChains(chains_.anyPair(bitReverse(a), bitReverse(b), p), shorter))
            flip = nearerUnlessLonger(flip, chains_.flip(p, cap, run, shorter, indexFrom_));
        const int longestSoFar = std::max(repeat.length, flip.length);
        if (indexed)
            reverse = index_.reverse(p, cap, atLeast(longestSoFar));
        if (const int shorter = std::max(atLeast(longestSoFar), reverse.length);
            fromChains(chains_.anyPair(b, a, p), shorter))
            reverse = nearerUnlessLonger(reverse, chains_.reverse(p, cap, run, shorter, indexFrom_));
    }

    const int longest = std::max({repeat.length, flip.length, reverse.length});
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
