// The fast compressor against the plain reference, and round trips through
// measuring and decoding.

#include <gtest/gtest.h>

#include <random>

#include "codec_calls.h"
#include "reference_encoder.h"

namespace vextest {
namespace {

// Encodes with both entry points, checks them against the reference when
// asked, and decodes the result back through the safe and classic calls.
void checkRoundTrip(const Bytes& input, bool compareWithReference)
{
    const auto n = static_cast<int32_t>(input.size());
    const Bytes stream = classicEncode(input);
    ASSERT_LE(stream.size(), static_cast<size_t>(VEX_MAX_ENCODED_SIZE(n)));
    if (compareWithReference) {
        ASSERT_EQ(stream, referenceEncode(input));
    }

    Bytes safe(static_cast<size_t>(VexMaxEncodedSize(n)));
    int32_t written = -1;
    ASSERT_EQ(VexEncode(input.data(), n, safe.data(), static_cast<int32_t>(safe.size()), &written),
              VEX_OK);
    safe.resize(static_cast<size_t>(written));
    ASSERT_EQ(safe, stream);

    const Measured m = safeMeasure(stream);
    ASSERT_EQ(m.status, VEX_OK);
    ASSERT_EQ(m.compressed, static_cast<int32_t>(stream.size()));
    ASSERT_EQ(m.decompressed, n);

    Bytes decoded(input.size());
    ASSERT_EQ(VexDecode(stream.data(), m.compressed, decoded.data(), n, &written), VEX_OK);
    ASSERT_EQ(written, n);
    ASSERT_EQ(decoded, input);

    Bytes classic(input.size());
    ASSERT_EQ(DecPokeGoldL(stream.data(), classic.data()), n);
    ASSERT_EQ(classic, input);
}

// Every input of up to 7 bytes over 00, 01, 80, FF: zero runs, a byte and
// its bit-reverse, and a byte that is its own reverse, in all arrangements.
TEST(EncoderMatchesReference, AllShortInputsOverFourSymbols)
{
    static constexpr uint8_t symbols[] = {0x00, 0x01, 0x80, 0xFF};
    for (size_t length = 0; length <= 7; ++length) {
        size_t count = 1;
        for (size_t i = 0; i < length; ++i)
            count *= 4;
        for (size_t code = 0; code < count; ++code) {
            Bytes input(length);
            for (size_t i = 0, c = code; i < length; ++i, c /= 4)
                input[i] = symbols[c % 4];
            ASSERT_EQ(classicEncode(input), referenceEncode(input)) << hexText(input);
        }
    }
}

// Short inputs with many equally good sources, where the tie rules decide.
TEST(EncoderMatchesReference, ShortInputsFullOfTies)
{
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        const Shape shape = seed % 3 == 0 ? Shape::Mirrored : Shape::FewSymbols;
        const Bytes input = makeInput(shape, 8 + seed % 250, seed);
        ASSERT_EQ(classicEncode(input), referenceEncode(input)) << hexText(input);
    }
}

class ShapeTest : public testing::TestWithParam<Shape> {};

TEST_P(ShapeTest, RoundTripsAndMatchesReferenceUpTo4096)
{
    std::mt19937 sizes(static_cast<uint32_t>(GetParam()));
    std::vector<size_t> lengths = {0, 1, 2, 3, 31, 32, 33, 127, 128, 129, 784, 1023, 1024, 1025,
                                   4096};
    for (int i = 0; i < 12; ++i)
        lengths.push_back(sizes() % 4097);
    for (size_t length : lengths) {
        for (uint32_t seed : {1u, 2u}) {
            SCOPED_TRACE(shapeName(GetParam()) + " " + std::to_string(length) + " seed " +
                         std::to_string(seed));
            checkRoundTrip(makeInput(GetParam(), length, seed), true);
        }
    }
}

TEST_P(ShapeTest, RoundTripsAndMatchesReferenceAt32768)
{
    checkRoundTrip(makeInput(GetParam(), 32768, 3), true);
}

// Beyond 32768 bytes, sources at 32768 or later are only used 1..128 back.
TEST_P(ShapeTest, RoundTripsBeyond32768)
{
    checkRoundTrip(makeInput(GetParam(), 40000 + 4321 * static_cast<size_t>(GetParam()), 4),
                   false);
}

INSTANTIATE_TEST_SUITE_P(Shapes, ShapeTest, testing::ValuesIn(kAllShapes),
                         [](const auto& info) { return shapeName(info.param); });

TEST(EncoderMatchesReference, BeyondAbsoluteReach)
{
    // A block recurs 2300 bytes after its copy at 33000: too far back for a
    // relative source, too far in for an absolute one; its first 100 bytes at
    // 32000 remain reachable. A short piece then recurs within relative reach.
    const Bytes block = makeInput(Shape::Random, 300, 6);
    const Bytes piece = makeInput(Shape::Random, 60, 9);
    Bytes input = makeInput(Shape::Random, 32000, 5);
    auto append = [&input](const Bytes& part, size_t count) {
        input.insert(input.end(), part.begin(), part.begin() + static_cast<long>(count));
    };
    append(block, 100);
    append(makeInput(Shape::Random, 900, 7), 900);
    append(block, 300);
    append(makeInput(Shape::Random, 2000, 8), 2000);
    append(block, 300);
    append(piece, 60);
    append(makeInput(Shape::Random, 40, 10), 40);
    append(piece, 60);
    // Pieces recurring 128 and 129 bytes back, forwards and backwards: only
    // the nearer ones may be used.
    for (size_t distance : {129u, 128u}) {
        const Bytes shortPiece = makeInput(Shape::Random, 30, static_cast<uint32_t>(distance));
        append(shortPiece, 30);
        append(makeInput(Shape::Random, distance - 30, 11), distance - 30);
        append(shortPiece, 30);
        append(shortPiece, 30);
        append(makeInput(Shape::Random, distance - 1, 12), distance - 1);
        input.insert(input.end(), shortPiece.rbegin(), shortPiece.rend());
    }
    checkRoundTrip(input, true);
}

// Literal runs of 33 bytes, each followed by two zero bytes that save a
// single byte: the output outgrows the input, but stays within the bound.
TEST(EncoderBounds, WorstCaseGrowthStaysWithinMaxEncodedSize)
{
    std::mt19937 rng(11);
    Bytes input;
    while (input.size() < 35 * 300) {
        uint8_t previous = 0;
        for (int i = 0; i < 33; ++i) {
            uint8_t b;
            do
                b = static_cast<uint8_t>(rng());
            while (b == 0 || b == previous);
            input.push_back(previous = b);
        }
        input.insert(input.end(), {0x00, 0x00});
    }
    const Bytes stream = classicEncode(input);
    EXPECT_GT(stream.size(), input.size() + input.size() / 40);
    EXPECT_LE(stream.size(), static_cast<size_t>(VEX_MAX_ENCODED_SIZE(input.size())));
    checkRoundTrip(input, false);
}

} // namespace
} // namespace vextest
