// The copy search inside the library against a scan of every earlier source:
// the suffix sort against a comparison sort, the suffix index kind by kind at
// every position, and the compressor made to use the index from the first
// byte against the reference compressor.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "codec_test_util.h"
#include "encode.h"
#include "reference_encoder.h"
#include "suffix_index.h"
#include "suffix_sort.h"

namespace vextest {
namespace {

// The suffix sort's order of text, or empty when it refuses.
std::vector<int32_t> sortedSuffixes(const std::vector<uint16_t>& text, int32_t upper,
                                    uint16_t before = UINT16_MAX, size_t scratchShort = 0)
{
    const auto n = static_cast<int32_t>(text.size());
    std::vector<uint16_t> padded{before};
    padded.insert(padded.end(), text.begin(), text.end());
    std::vector<int32_t> sa(text.size());
    std::vector<uint8_t> memory(vex::suffixSortScratch(n, upper) + vex::WorkArea::kAlign);
    vex::WorkArea area(memory.data(), memory.size() - scratchShort);
    if (!vex::suffixSort(padded.data() + 1, n, upper, sa.data(), area))
        return {};
    return sa;
}

TEST(SuffixSort, OrdersSuffixesAsAComparisonSortDoes)
{
    std::mt19937 rng(5);
    std::vector<std::vector<uint16_t>> texts;
    for (size_t n = 1; n <= 12; ++n) // every text over two symbols up to 12 long
        for (uint32_t code = 0; code < 1u << n; ++code) {
            std::vector<uint16_t> text(n);
            for (size_t i = 0; i < n; ++i)
                text[i] = code >> i & 1;
            texts.push_back(text);
        }
    // Random over few and many symbols; runs; copies of earlier stretches
    // (reduced texts with repeats, several levels deep); a Fibonacci word.
    for (int round = 0; round < 300; ++round) {
        std::vector<uint16_t> text(1 + rng() % 3000);
        const uint32_t symbols = round % 3 == 0 ? 300 : 2 + round % 7;
        for (size_t i = 0; i < text.size(); ++i) {
            if (round % 4 == 1 && i > 40 && rng() % 8)
                text[i] = text[i - 1 - rng() % 40];
            else if (round % 4 == 2)
                text[i] = i / (1 + rng() % 9) % 2 ? static_cast<uint16_t>(symbols - 1) : 0;
            else
                text[i] = static_cast<uint16_t>(rng() % symbols);
        }
        texts.push_back(text);
    }
    std::vector<uint16_t> a{0}, b{0, 1};
    while (b.size() < 5000) {
        std::vector<uint16_t> next = b;
        next.insert(next.end(), a.begin(), a.end());
        a = std::move(b);
        b = std::move(next);
    }
    texts.push_back(b);
    for (const auto& text : texts) {
        const int32_t upper = *std::max_element(text.begin(), text.end());
        std::vector<int32_t> expected(text.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::sort(expected.begin(), expected.end(), [&](int32_t l, int32_t r) {
            return std::lexicographical_compare(text.begin() + l, text.end(), text.begin() + r,
                                                text.end());
        });
        ASSERT_EQ(sortedSuffixes(text, upper), expected) << testing::PrintToString(text);
    }
}

TEST(SuffixSort, RefusesTooLittleScratchAndNoSymbolAboveBeforeTheText)
{
    const std::vector<uint16_t> text{2, 0, 1, 2, 0, 1, 1};
    EXPECT_EQ(sortedSuffixes(text, 2), (std::vector<int32_t>{4, 1, 6, 5, 2, 3, 0}));
    EXPECT_TRUE(sortedSuffixes(text, 2, 2).empty());
    EXPECT_TRUE(sortedSuffixes(text, 2, UINT16_MAX, vex::WorkArea::kAlign + 1).empty());
}

enum Kind { Repeat, Flip, Reverse };

// Longest match of the kind at p (at most 1024) and the nearest source that
// has it, over every source from `from` on that the format can address from p.
vex::Found scanned(const Bytes& in, int32_t p, Kind kind, int32_t from = 0)
{
    const auto n = static_cast<int32_t>(in.size());
    const int cap = std::min(1024, n - p);
    vex::Found best;
    for (int32_t j = p - 1; j >= from; --j) {
        if (j >= 32768 && p - j > 128)
            continue;
        int m = 0;
        while (m < cap
               && (kind == Repeat    ? in[p + m] == in[j + m]
                   : kind == Flip    ? referenceBitReverse(in[p + m]) == in[j + m]
                                     : j - m >= 0 && in[p + m] == in[j - m]))
            ++m;
        if (m > best.length)
            best = {m, j};
        if (m == cap)
            break; // no farther source can be longer
    }
    return best;
}

// Checks the given positions (increasing, from `from` on) on an index of the
// sources from `from` on.
void checkIndexAt(const Bytes& in, const std::vector<int32_t>& positions, int32_t from = 0)
{
    const auto n = static_cast<int32_t>(in.size());
    std::vector<uint8_t> memory(vex::SuffixIndex::bytesFor(n) + vex::WorkArea::kAlign);
    vex::WorkArea area(memory.data(), memory.size());
    vex::SuffixIndex index;
    ASSERT_TRUE(index.build(in.data(), n, from, area));
    for (int32_t p : positions) {
        index.advanceTo(p);
        const int cap = std::min(1024, n - p);
        const vex::Found found[] = {index.repeat(p, cap), index.flip(p, cap),
                                    index.reverse(p, cap)};
        // Asked only for copies longer than some length: those, or none.
        const int shorter = p % 5;
        const vex::Found longer[] = {index.repeat(p, cap, shorter), index.flip(p, cap, shorter),
                                     index.reverse(p, cap, shorter)};
        for (Kind kind : {Repeat, Flip, Reverse}) {
            const vex::Found expected = scanned(in, p, kind, from);
            ASSERT_EQ(found[kind].length, expected.length) << "kind " << kind << " at " << p;
            if (expected.length > 0) {
                ASSERT_EQ(found[kind].source, expected.source) << "kind " << kind << " at " << p;
            }
            const bool reported = expected.length > shorter;
            ASSERT_EQ(longer[kind].length, reported ? expected.length : 0) << "kind " << kind;
            ASSERT_EQ(longer[kind].source, reported ? expected.source : -1) << "kind " << kind;
        }
    }
}

// Checks the positions from `from` on, every `step`-th, on an index of the
// sources from `indexFrom` on.
void checkIndex(const Bytes& in, int32_t from = 0, int32_t step = 1, int32_t indexFrom = 0)
{
    std::vector<int32_t> positions;
    for (auto p = std::max(from, indexFrom); p < std::ssize(in); p += step)
        positions.push_back(p);
    checkIndexAt(in, positions, indexFrom);
}

TEST(SuffixIndex, FindsTheScansLongestAndNearestSourceOfEachKind)
{
    for (Shape shape : {Shape::TwoValues, Shape::ThreeValues, Shape::Palindromic,
                        Shape::Mirrored, Shape::FewSymbols, Shape::Tiles, Shape::Runs,
                        Shape::Alternations, Shape::Random, Shape::Mixed}) {
        SCOPED_TRACE(kShapeNames[int(shape)]);
        for (size_t length : {1u, 2u, 5u, 17u, 300u, 1500u})
            checkIndex(makeInput(shape, length, 3));
    }
    // Matches that reach the 1024 cap, and matches cut short by the input's end.
    checkIndex(Bytes(2100, 0x00));
    Bytes periodic(2200);
    for (size_t i = 0; i < periodic.size(); ++i)
        periodic[i] = static_cast<uint8_t>(i % 7 == 0 ? 0x80 : 0x01);
    checkIndex(periodic);
}

TEST(SuffixIndex, OfALaterPartFindsTheSourcesThere)
{
    // Reverse copies from the part's first bytes read up to 1023 bytes before
    // it; those from farther in the part run into bytes that are not.
    for (Shape shape : {Shape::Mirrored, Shape::TwoValues, Shape::Mixed}) {
        SCOPED_TRACE(kShapeNames[int(shape)]);
        const Bytes in = makeInput(shape, 3000, 9);
        for (int32_t from : {1, 700, 1023, 1024, 1025, 2999, 3000})
            checkIndex(in, 0, from < 2900 ? 3 : 1, from);
    }
    Bytes zeros(2600, 0x00);
    checkIndex(zeros, 0, 1, 1200);
}

TEST(SuffixIndex, SourcesAt32768AndBeyondOnlyWithinRelativeReach)
{
    Bytes in = makeInput(Shape::TwoValues, 34000, 4);
    const Bytes head(in.begin() + 32700, in.begin() + 32900);
    in.insert(in.end(), head.begin(), head.end()); // nearest copy too far back, older one usable
    checkIndex(in, 32600, 7);

    // A block at 33000 recurs 250 bytes later: out of reach both ways. Asked
    // for in one step from before the block, as after a long command.
    Bytes far = makeInput(Shape::Random, 33450, 7);
    std::copy(far.begin() + 33000, far.begin() + 33050, far.begin() + 33250);
    checkIndexAt(far, {32900, 33250, 33251});
}

TEST(SuffixIndex, SourcesLeaveReachWhereNoSourceBelow32768IsNear)
{
    // Below 32768 bytes 01..7F and once 00 00 00 55. Beyond it two values
    // found nowhere before, so that their sources sort among themselves, and
    // then zeros, which are long out of reach when 00 00 00 77 follows.
    std::mt19937 rng(11);
    Bytes in(32768);
    for (auto& b : in)
        b = static_cast<uint8_t>(1 + rng() % 127);
    std::copy_n(Bytes{0x00, 0x00, 0x00, 0x55}.begin(), 4, in.begin() + 1000);
    for (int i = 0; i < 2000; ++i)
        in.push_back(rng() % 2 ? 0xC0 : 0xC1);
    in.insert(in.end(), 9000, 0x00);
    for (int i = 0; i < 300; ++i)
        in.push_back(static_cast<uint8_t>(1 + rng() % 127));
    in.insert(in.end(), {0x00, 0x00, 0x00, 0x77, 0x12});
    const auto n = static_cast<int32_t>(in.size());
    std::vector<int32_t> positions;
    for (int32_t p = 32768; p < n - 5; p += p < 34768 ? 3 : 61) // the zeros enter and leave
        positions.push_back(p);
    positions.push_back(n - 5);
    checkIndexAt(in, positions);
}

// Inputs where equally good sources abound: all of up to 6 bytes over 00, 01,
// 80, FF, and seeded ones of the shapes that tie most.
std::vector<Bytes> tieHeavyInputs()
{
    static constexpr uint8_t symbols[] = {0x00, 0x01, 0x80, 0xFF};
    std::vector<Bytes> inputs;
    for (size_t length = 1; length <= 6; ++length)
        for (size_t code = 0; code < size_t{1} << 2 * length; ++code) {
            Bytes input(length);
            for (size_t i = 0; i < length; ++i)
                input[i] = symbols[code >> 2 * i & 3];
            inputs.push_back(input);
        }
    for (uint32_t seed = 0; seed < 400; ++seed) {
        static constexpr Shape shapes[] = {Shape::TwoValues, Shape::Palindromic,
                                           Shape::Mirrored, Shape::FewSymbols};
        inputs.push_back(makeInput(shapes[seed % 4], 8 + seed % 300, seed));
    }
    return inputs;
}

// Compressed with the index for the sources from `from` on and the chains
// for those below.
Bytes encodedOnTheIndex(const Bytes& input, int32_t from = 0)
{
    const auto n = static_cast<int32_t>(input.size());
    std::vector<uint8_t> memory(vex::encodeAreaBytes(n));
    Bytes out(static_cast<size_t>(VexMaxEncodedSize(n)));
    const vex::Encoded e =
        vex::encodeGreedy(input.data(), n, out.data(), std::ssize(out),
                          vex::WorkArea(memory.data(), memory.size()), vex::Search::from(from));
    EXPECT_TRUE(e.fits);
    out.resize(static_cast<size_t>(e.written));
    return out;
}

TEST(SuffixIndex, CompressorOnTheIndexMatchesTheReference)
{
    for (const Bytes& input : tieHeavyInputs())
        ASSERT_EQ(encodedOnTheIndex(input), referenceEncode(input)) << testing::PrintToString(input);
    // Past 32768, against the chains (too long for the reference).
    for (Shape shape : {Shape::Tiles, Shape::Mirrored}) {
        const Bytes input = makeInput(shape, 36000, 6);
        EXPECT_EQ(encodedOnTheIndex(input), classicEncode(input)) << kShapeNames[int(shape)];
    }
}

TEST(SuffixIndex, CompressorWithTheIndexFromAnyPointMatchesTheReference)
{
    // Nearer sources from the index, farther ones from the chains: which wins
    // a tie across the split, and copies that reach over it.
    for (uint32_t seed = 0; seed < 120; ++seed) {
        static constexpr Shape shapes[] = {Shape::TwoValues, Shape::Mirrored, Shape::Runs,
                                           Shape::Mixed, Shape::Palindromic};
        const Bytes input = makeInput(shapes[seed % 5], 200 + seed * 13 % 2500, seed);
        const auto n = static_cast<int32_t>(input.size());
        const Bytes expected = referenceEncode(input);
        for (int32_t from : {1, 2, n / 3, n - 40, n})
            ASSERT_EQ(encodedOnTheIndex(input, from), expected)
                << "from " << from << " " << testing::PrintToString(input);
    }
    // Past 32768 on both sides of the split.
    const Bytes input = makeInput(Shape::Mirrored, 36000, 3);
    for (int32_t from : {20000, 33000})
        EXPECT_EQ(encodedOnTheIndex(input, from), classicEncode(input)) << from;
}

} // namespace
} // namespace vextest
