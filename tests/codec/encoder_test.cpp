// The fast compressor against the plain reference, and round trips through
// measuring and decoding.

#include <gtest/gtest.h>

#include <random>

#include "codec_test_util.h"
#include "reference_encoder.h"

namespace vextest {
namespace {

// All three entry points give the same stream (the reference's when asked)
// within the bound, and it measures and decodes back to the input.
void checkRoundTrip(const Bytes& input, bool compareWithReference)
{
    const auto n = static_cast<int32_t>(input.size());
    const Bytes stream = classicEncode(input);
    const auto size = static_cast<int32_t>(stream.size());
    ASSERT_LE(size, n + n / 16 + 4);
    if (compareWithReference) {
        ASSERT_EQ(stream, referenceEncode(input));
    }
    ASSERT_EQ(encodeInArea(input, VexMaxEncodedSize(n)), (Coded{VEX_OK, stream}));
    ASSERT_EQ(safeCall(VexEncode, input, VexMaxEncodedSize(n)), (Coded{VEX_OK, stream}));
    ASSERT_EQ(safeMeasure(stream), (Measured{VEX_OK, size, n}));
    ASSERT_EQ(safeCall(VexDecode, stream, n), (Coded{VEX_OK, input}));
    Bytes classic(input.size());
    ASSERT_EQ(DecPokeGoldL(stream.data(), classic.data()), n);
    ASSERT_EQ(classic, input);
}

TEST(EncoderMatchesReference, ShortInputs)
{
    // Every input of up to 7 bytes over 00, 01, 80, FF: zero runs, a byte and
    // its bit-reverse, and a byte that is its own reverse, in all arrangements.
    static constexpr uint8_t symbols[] = {0x00, 0x01, 0x80, 0xFF};
    for (size_t length = 0; length <= 7; ++length) {
        for (size_t code = 0; code < size_t{1} << 2 * length; ++code) {
            Bytes input(length);
            for (size_t i = 0; i < length; ++i)
                input[i] = symbols[code >> 2 * i & 3];
            ASSERT_EQ(classicEncode(input), referenceEncode(input))
                << testing::PrintToString(input);
        }
    }
    // Many equally good sources, where the tie rules decide.
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        const Shape shape = seed % 3 ? Shape::FewSymbols : Shape::Tiles;
        const Bytes input = makeInput(shape, 8 + seed % 250, seed);
        ASSERT_EQ(classicEncode(input), referenceEncode(input)) << testing::PrintToString(input);
    }
}

class ShapeTest : public testing::TestWithParam<Shape> {};

TEST_P(ShapeTest, RoundTripsAndMatchesReference)
{
    std::mt19937 rng(static_cast<uint32_t>(GetParam()));
    // The reference is slowest on the shapes of few strings: shorter there.
    const size_t longest = GetParam() >= Shape::TwoValues ? 6000 : 32768;
    std::vector<size_t> lengths = {0,   1,   2,    3,    31,   32,   33,   127,
                                   128, 129, 784, 1023, 1024, 1025, 4096, longest};
    for (int i = 0; i < 16; ++i)
        lengths.push_back(rng() % 4097);
    for (size_t length : lengths) {
        SCOPED_TRACE(length);
        checkRoundTrip(makeInput(GetParam(), length, 1), true);
    }
    // Too long for the reference; past 32768 sources are only used 1..128 back.
    const size_t beyond = GetParam() >= Shape::TwoValues
                              ? 33000 + 500 * static_cast<size_t>(GetParam())
                              : 40000 + 4321 * static_cast<size_t>(GetParam());
    checkRoundTrip(makeInput(GetParam(), beyond, 4), false);
}

INSTANTIATE_TEST_SUITE_P(Shapes, ShapeTest,
                         testing::Values(Shape::Random, Shape::FewSymbols, Shape::Runs,
                                         Shape::Alternations, Shape::Tiles, Shape::Mixed,
                                         Shape::TwoValues, Shape::ThreeValues,
                                         Shape::Palindromic, Shape::Mirrored),
                         [](const auto& info) { return kShapeNames[int(info.param)]; });

TEST(EncoderMatchesReference, SourcesAroundAbsoluteReach)
{
    // Pieces recur 40 bytes back across position 32768, then 129 and 128 bytes
    // back beyond it, forwards and backwards. A block whose first 100 bytes
    // are at 32000 then recurs 2300 bytes after its copy at 34400: too far back
    // for a relative source, too far in for an absolute one, but for those 100.
    Bytes input = makeInput(Shape::Random, 32000, 5);
    auto append = [&input](const Bytes& part, size_t count) {
        input.insert(input.end(), part.begin(), part.begin() + static_cast<long>(count));
    };
    auto noise = [&](size_t count) { append(makeInput(Shape::Mixed, count, 8), count); };
    const Bytes block = makeInput(Shape::Random, 300, 6);
    append(block, 100);
    noise(560);
    for (size_t distance : {40u, 129u, 128u}) {
        const Bytes piece = makeInput(Shape::Random, 30, static_cast<uint32_t>(distance));
        append(piece, 30);
        noise(distance - 30);
        append(piece, 30);
        append(piece, 30);
        noise(distance - 1);
        input.insert(input.end(), piece.rbegin(), piece.rend());
    }
    for (size_t gap : {900u, 2000u}) {
        noise(gap);
        append(block, 300);
    }
    checkRoundTrip(input, true);
}

TEST(EncoderMatchesReference, TilesUpTo64K)
{
    // Past 32768 the chains no longer grow: on tiles they serve to the end,
    // on two mirrored tiles the index takes over from the start.
    for (Shape shape : {Shape::Tiles, Shape::Mirrored}) {
        SCOPED_TRACE(kShapeNames[int(shape)]);
        const Bytes input = makeInput(shape, 65536, 4);
        EXPECT_EQ(encodeInArea(input, VexMaxEncodedSize(65536)),
                  (Coded{VEX_OK, referenceEncode(input)}));
    }
}

TEST(EncodeInArea, RefusesAMissingOrSmallAreaAndAFullOutput)
{
    const Bytes input = makeInput(Shape::TwoValues, 3000, 2);
    const auto n = static_cast<int32_t>(input.size());
    const int64_t need = VexEncodeAreaSize(n);
    EXPECT_EQ(VexEncodeAreaSize(-1), -1);
    EXPECT_GT(need, VexEncodeAreaSize(n / 2));
    // Any alignment: the area starts one byte into the buffer.
    std::vector<uint8_t> area(static_cast<size_t>(need) + 1);
    Bytes out(static_cast<size_t>(VexMaxEncodedSize(n)));
    int32_t written = -1;
    EXPECT_EQ(VexEncodeInArea(input.data(), n, out.data(), std::ssize(out), area.data() + 1, need,
                              &written),
              VEX_OK);
    out.resize(static_cast<size_t>(written));
    EXPECT_EQ(out, referenceEncode(input));
    EXPECT_EQ(VexEncodeInArea(input.data(), n, out.data(), written - 1, area.data(), need,
                              &written),
              VEX_OUTPUT_FULL);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(VexEncodeInArea(input.data(), n, out.data(), n, area.data(), need - 1, &written),
              VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexEncodeInArea(input.data(), n, out.data(), n, nullptr, need, &written),
              VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexEncodeInArea(nullptr, n, out.data(), n, area.data(), need, &written),
              VEX_BAD_ARGUMENT);
}

TEST(EncoderBounds, WorstCaseGrowthStaysWithinTheBound)
{
    EXPECT_EQ(VexMaxEncodedSize(32768), 32768 + 2048 + 4);
    EXPECT_EQ(VexMaxEncodedSize(-1), -1);
    EXPECT_EQ(VexMaxEncodedSize(INT32_MAX), -1);
    EXPECT_GT(VexMaxEncodedSize(INT32_MAX / 2), INT32_MAX / 2);

    // Literal runs of 33 bytes, each followed by two zero bytes that save a
    // single byte: the output outgrows the input.
    std::mt19937 rng(11);
    Bytes input(35 * 300);
    for (size_t i = 0; i < input.size(); ++i)
        input[i] = i % 35 < 33 ? static_cast<uint8_t>(1 + rng() % 255) : 0;
    EXPECT_GT(classicEncode(input).size(), input.size() + input.size() / 40);
    checkRoundTrip(input, false);
}

} // namespace
} // namespace vextest
