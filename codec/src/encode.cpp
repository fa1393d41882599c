#include "encode.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "match_finder.h"
#include "stream_format.h"

namespace vex {

namespace {

class Output {
public:
    Output(uint8_t* out, int64_t capacity) : out_(out), capacity_(capacity) {}

    bool full() const { return full_; }
    int64_t size() const { return pos_; }

    void put(uint8_t b)
    {
        if (pos_ >= capacity_) {
            full_ = true;
            return;
        }
        out_[pos_++] = b;
    }
    void put(const uint8_t* bytes, int n)
    {
        if (capacity_ - pos_ < n) {
            full_ = true;
            return;
        }
        std::memcpy(out_ + pos_, bytes, static_cast<size_t>(n));
        pos_ += n;
    }
    void header(int command, int length)
    {
        if (length <= kShortMaxLength) {
            put(static_cast<uint8_t>(command * 32 + length - 1));
        } else {
            put(static_cast<uint8_t>(0xE0 | command << 2 | (length - 1) >> 8));
            put(static_cast<uint8_t>((length - 1) & 0xFF));
        }
    }

private:
    uint8_t* out_;
    int64_t capacity_;
    int64_t pos_ = 0;
    bool full_ = false;
};

struct Choice {
    int score;
    int length = 0; // 0: nothing chosen
    int command = 0;
    uint8_t a = 0, b = 0; // iterate byte; alternate bytes
    int32_t source = 0;   // copies
};

int longHeaderCost(int length) { return length > kShortMaxLength ? 1 : 0; }

// Bytes from `at` on (at most cap, at least `from`) with at[k] == at[k - period]
// for k >= period; eight at a time: most runs and alternations are short and
// end in the first word.
template <int period>
int periodicLength(const uint8_t* at, int from, int cap)
{
    int m = from;
    if (m < cap && at[m] != at[m - period]) // varied bytes: most end at once
        return m;
    if constexpr (std::endian::native == std::endian::little) {
        for (; m + 8 <= cap; m += 8)
            if (const uint64_t x = load64(at + m) ^ load64(at + m - period); x != 0)
                return m + std::countr_zero(x) / 8;
    }
    while (m < cap && at[m] == at[m - period])
        ++m;
    return m;
}

void emit(Output& out, const Choice& c, int32_t p)
{
    out.header(c.command, c.length);
    switch (c.command) {
    case kIterate:
        out.put(c.a);
        break;
    case kAlternate:
        out.put(c.a);
        out.put(c.b);
        break;
    case kZeroFill:
        break;
    default:
        if (p - c.source <= kRelativeReach) {
            out.put(static_cast<uint8_t>(0x80 | (p - c.source - 1)));
        } else {
            out.put(static_cast<uint8_t>(c.source >> 8));
            out.put(static_cast<uint8_t>(c.source & 0xFF));
        }
        break;
    }
}

} // namespace

size_t encodeAreaBytes(int32_t length)
{
    return MatchFinder::bytesFor(length < 0 ? 0 : length) + WorkArea::kAlign;
}

// At every position the run, the best copy and the alternate compete by the
// bytes they save; a byte that no command pays for joins a literal run.
Encoded encodeGreedy(const uint8_t* in, int32_t n, uint8_t* output, int64_t capacity,
                     WorkArea area, Search search)
{
    Output out(output, capacity);
    if (n < 0)
        n = 0;
    MatchFinder finder;
    if (!finder.start(in, n, area, search))
        return {false, 0};
    bool pending = false;
    int32_t literalStart = 0;
    int literalCount = 0;
    auto flushLiteral = [&] {
        out.header(kLiteral, literalCount);
        out.put(in + literalStart, literalCount);
        pending = false;
    };

    int32_t p = 0;
    while (p < n && !out.full()) {
        const uint8_t c = in[p];
        const int cap = n - p < kMaxLength ? n - p : kMaxLength;
        const int pendingCost = pending ? 1 : 0;
        Choice best{pendingCost - 1};

        const int run = periodicLength<1>(in + p, 1, cap);
        const int runScore = run - (c == 0 ? 1 : 2) - longHeaderCost(run);
        if (runScore > best.score)
            best = {runScore, run, c == 0 ? kZeroFill : kIterate, c};

        const CopyChoice copy = finder.find(p, best.length, run);
        if (copy.length > best.length) {
            const int score = copy.length - (p - copy.source <= kRelativeReach ? 2 : 3);
            if (copy.length + score > best.length + best.score)
                best = {score, copy.length, copy.command, 0, 0, copy.source};
        }

        // Alternating a byte with itself is the run, which costs less.
        if (p + 1 < n && in[p + 1] != c) {
            const uint8_t a = c;
            const uint8_t b = in[p + 1];
            const int alt = periodicLength<2>(in + p, 2, cap);
            const int altScore = alt - 3 - longHeaderCost(alt);
            if (altScore >= best.score)
                best = {altScore, alt, kAlternate, a, b};
        }

        if (pendingCost > best.score) {
            if (pending && literalCount == kMaxLength)
                flushLiteral();
            if (!pending) {
                pending = true;
                literalStart = p;
                literalCount = 0;
            }
            ++literalCount;
            ++p;
        } else {
            if (pending)
                flushLiteral();
            emit(out, best, p);
            p += best.length;
        }
    }
    if (pending)
        flushLiteral();
    out.put(kEndMarker);
    return {!out.full(), out.size()};
}

} // namespace vex
