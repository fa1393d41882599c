// Damaged and hostile streams through the safe calls: a status, never a read
// or write outside the buffers (the sanitizer build checks the latter).

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <random>

#include "codec_calls.h"

namespace vextest {
namespace {

// A heap copy of exactly the given bytes, so that reading one more is caught.
Bytes prefixOf(const Bytes& stream, size_t length)
{
    return Bytes(stream.begin(), stream.begin() + static_cast<long>(length));
}

std::vector<Bytes> sampleStreams()
{
    return {classicEncode(makeInput(Shape::Mixed, 3000, 21)),
            classicEncode(makeInput(Shape::Tiles, 1500, 22)),
            classicEncode(makeInput(Shape::Random, 1100, 23)),
            hexBytes("00 07 FC 10 04 80 E8 22 05 06 FF")};
}

TEST(Truncated, EveryPrefixInMemoryLacksTheEndMarker)
{
    for (const Bytes& stream : sampleStreams()) {
        const Measured whole = safeMeasure(stream);
        ASSERT_EQ(whole.status, VEX_OK);
        Bytes full(static_cast<size_t>(whole.decompressed));
        int32_t written = 0;
        ASSERT_EQ(VexDecode(stream.data(), whole.compressed, full.data(), whole.decompressed,
                            &written),
                  VEX_OK);
        for (size_t length = 0; length < stream.size(); ++length) {
            SCOPED_TRACE(length);
            const Bytes prefix = prefixOf(stream, length);
            const auto len = static_cast<int32_t>(length);
            const Measured m = safeMeasure(prefix);
            ASSERT_EQ(m.status, VEX_NO_END_MARKER);
            EXPECT_EQ(m.compressed, 0);
            EXPECT_EQ(m.decompressed, 0);

            Bytes out(full.size());
            written = -1;
            ASSERT_EQ(VexDecode(prefix.data(), len, out.data(), whole.decompressed, &written),
                      VEX_NO_END_MARKER);
            ASSERT_LE(written, whole.decompressed);
            // What was written before the failure is the start of the output.
            ASSERT_TRUE(std::equal(out.begin(), out.begin() + written, full.begin()));
        }
    }
}

TEST(Truncated, FileEndingBeforeTheEndMarker)
{
    const Bytes stream = classicEncode(makeInput(Shape::Mixed, 400, 31));
    for (size_t length = 0; length < stream.size(); ++length) {
        SCOPED_TRACE(length);
        TempFile file(Bytes(10, 0x5A));
        ASSERT_EQ(write(file.fd(), stream.data(), length), static_cast<ssize_t>(length));
        const int handle = file.fd();
        const int32_t at = 10;
        int32_t compressed = -1, decompressed = -1;
        LoadPokeGoldFH(&handle, &at, &compressed, &decompressed);
        EXPECT_EQ(compressed, 0);
        EXPECT_EQ(decompressed, 0);
        EXPECT_EQ(VexMeasureFd(handle, 10, &compressed, &decompressed), VEX_NO_END_MARKER);
        EXPECT_EQ(compressed, 0);
        EXPECT_EQ(decompressed, 0);
    }
}

TEST(Truncated, OffsetBeyondTheFile)
{
    TempFile file(hexBytes("62 FF"));
    const int handle = file.fd();
    int32_t compressed = -1, decompressed = -1;
    for (int32_t at : {2, 3, 100000}) {
        LoadPokeGoldFH(&handle, &at, &compressed, &decompressed);
        EXPECT_EQ(compressed, 0);
        EXPECT_EQ(decompressed, 0);
        EXPECT_EQ(VexMeasureFd(handle, at, &compressed, &decompressed), VEX_NO_END_MARKER);
    }
}

struct BadCase {
    const char* stream;
    int32_t status;
};

TEST(CopySources, OnlyOutputWrittenSoFarMayBeRead)
{
    const BadCase cases[] = {
        {"81 80 FF", VEX_BAD_COPY_SOURCE},          // repeat before any output
        {"00 07 81 81 FF", VEX_BAD_COPY_SOURCE},    // relative, 2 back of 1
        {"00 07 81 00 01 FF", VEX_BAD_COPY_SOURCE}, // absolute, at the position itself
        {"00 07 81 7F FF FF", VEX_BAD_COPY_SOURCE}, // absolute, far ahead
        {"00 07 81 00 00 FF", VEX_OK},              // overlapping forward copy
        {"00 07 A1 81 FF", VEX_BAD_COPY_SOURCE},    // flip
        {"00 07 A4 80 FF", VEX_OK},                 // overlapping flip
        {"00 07 C1 80 FF", VEX_BAD_COPY_SOURCE},    // reverse reading below 0
        {"00 07 C0 80 FF", VEX_OK},                 // reverse of one byte
        {"01 07 08 C1 80 FF", VEX_OK},              // reverse down to the first byte
        {"01 07 08 C2 80 FF", VEX_BAD_COPY_SOURCE}, // one byte further
        {"01 07 08 D6 00 01 FF", VEX_BAD_COPY_SOURCE},
        {"EC 27 F3 FF 00 27 FF", VEX_OK},             // repeat 1024 from absolute 39
        {"EC 27 FB FF 00 27 FF", VEX_BAD_COPY_SOURCE}, // reverse 1024 from 39
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stream);
        const Bytes stream = hexBytes(c.stream);
        const auto len = static_cast<int32_t>(stream.size());
        EXPECT_EQ(safeMeasure(stream).status, c.status);

        Bytes out(4096);
        int32_t written = -1;
        EXPECT_EQ(VexDecode(stream.data(), len, out.data(), 4096, &written), c.status);

        TempFile file(storedAt(5, stream));
        int32_t compressed = -1, decompressed = -1;
        EXPECT_EQ(VexMeasureFd(file.fd(), 5, &compressed, &decompressed), c.status);
    }
}

// The classic decoder trusts lengths, but never reads outside its output.
TEST(CopySources, ClassicDecoderStopsAtABadSource)
{
    Bytes out(16, 0xEE);
    EXPECT_EQ(DecPokeGoldL(hexBytes("81 80 FF").data(), out.data()), 0);
    EXPECT_EQ(DecPokeGoldL(hexBytes("00 07 C3 80 FF").data(), out.data()), 1);
    EXPECT_EQ(out[0], 0x07);
    EXPECT_EQ(out[1], 0xEE);
}

struct CapacityCase {
    const char* stream;
    int32_t capacity;
    int32_t status;
    int32_t written;
};

TEST(Lengths, OutputBeyondCapacityOrSourceBeyondItsEnd)
{
    const CapacityCase cases[] = {
        {"EF FF FF", 1023, VEX_OUTPUT_FULL, 0},
        {"EF FF FF", 1024, VEX_OK, 1024},
        {"00 07 F3 FF 80 FF", 1024, VEX_OUTPUT_FULL, 1},
        {"02 01 02 03 FF", 2, VEX_OUTPUT_FULL, 0},
        {"02 01 02 03 FF", 0, VEX_OUTPUT_FULL, 0},
        {"FF", 0, VEX_OK, 0},
        {"E3 FF 01 02 03 FF", 4096, VEX_NO_END_MARKER, 0}, // literal of 1024 with 4 bytes
        {"20", 16, VEX_NO_END_MARKER, 0},
        {"40 01", 16, VEX_NO_END_MARKER, 0},
        {"00 07 81 00", 16, VEX_NO_END_MARKER, 1},
        {"FC FD", 16, VEX_NO_END_MARKER, 0},
        {"", 16, VEX_NO_END_MARKER, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stream);
        const Bytes stream = hexBytes(c.stream);
        Bytes out(static_cast<size_t>(c.capacity));
        int32_t written = -1;
        EXPECT_EQ(VexDecode(stream.data(), static_cast<int32_t>(stream.size()), out.data(),
                            c.capacity, &written),
                  c.status);
        EXPECT_EQ(written, c.written);
    }
}

TEST(Lengths, DecompressedLengthBeyond32Bits)
{
    // Each EF FF adds 1024 zero bytes; enough of them pass INT32_MAX.
    const size_t commands = INT32_MAX / 1024 + 1;
    Bytes stream(2 * commands + 1, 0xFF);
    for (size_t i = 0; i < commands; ++i)
        stream[2 * i] = 0xEF;
    EXPECT_EQ(safeMeasure(stream).status, VEX_TOO_LONG);
    stream.resize(stream.size() - 3);
    stream.push_back(0xFF);
    const Measured m = safeMeasure(stream);
    EXPECT_EQ(m.status, VEX_OK);
    EXPECT_EQ(m.decompressed, INT32_MAX / 1024 * 1024);
}

TEST(Arguments, RejectedWithoutTouchingAnything)
{
    const Bytes stream = hexBytes("62 FF");
    uint8_t out[4];
    int32_t a = 0, b = 0, w = 0;
    EXPECT_EQ(VexMeasure(nullptr, 2, &a, &b), VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexMeasure(stream.data(), -1, &a, &b), VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexMeasure(stream.data(), 2, nullptr, &b), VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexMeasure(nullptr, 0, &a, &b), VEX_NO_END_MARKER);
    EXPECT_EQ(VexDecode(stream.data(), 2, nullptr, 3, &w), VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexDecode(stream.data(), 2, out, -1, &w), VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexDecode(stream.data(), 2, out, 4, nullptr), VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexEncode(nullptr, 5, out, 4, &w), VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexEncode(stream.data(), -2, out, 4, &w), VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexEncode(nullptr, 0, out, 4, &w), VEX_OK);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(out[0], 0xFF);
    EXPECT_EQ(VexMeasureFd(-1, 0, &a, &b), VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexMeasureFd(0, -5, &a, &b), VEX_BAD_ARGUMENT);
    EXPECT_EQ(VexMeasureFd(0, INT64_MAX - 4, &a, &b), VEX_BAD_ARGUMENT);

    int32_t n = 3;
    EXPECT_EQ(EncPokeGoldAsm(nullptr, out, &n), 1);
    n = -7;
    EXPECT_EQ(EncPokeGoldAsm(stream.data(), out, &n), 1);
}

TEST(Arguments, UnreadableDescriptors)
{
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "\x62\xFF", 2), 2);
    int32_t a = -1, b = -1;
    EXPECT_EQ(VexMeasureFd(fds[0], 0, &a, &b), VEX_IO_ERROR);
    const int handle = fds[0];
    const int32_t at = 0;
    LoadPokeGoldFH(&handle, &at, &a, &b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 0);
    close(fds[0]);
    close(fds[1]);

    const int dir = open(testing::TempDir().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(dir, 0);
    EXPECT_EQ(VexMeasureFd(dir, 0, &a, &b), VEX_IO_ERROR);
    close(dir);
}

// Random and randomly damaged streams: decoding into ample space fails or
// succeeds exactly as measuring says.
TEST(Garbage, MeasureAndDecodeAgree)
{
    std::mt19937 rng(99);
    const Bytes base = classicEncode(makeInput(Shape::Mixed, 600, 41));
    Bytes out(1 << 20);
    for (int round = 0; round < 4000; ++round) {
        Bytes stream;
        if (round % 2) {
            stream = base;
            for (int k = 0; k < 1 + round % 5; ++k)
                stream[rng() % stream.size()] = static_cast<uint8_t>(rng());
        } else {
            stream.resize(1 + rng() % 200);
            for (auto& b : stream)
                b = static_cast<uint8_t>(rng() % 3 ? rng() : 0xFF);
        }
        const Measured m = safeMeasure(stream);
        int32_t written = -1;
        ASSERT_EQ(VexDecode(stream.data(), static_cast<int32_t>(stream.size()), out.data(),
                            static_cast<int32_t>(out.size()), &written),
                  m.status)
            << hexText(stream);
        if (m.status != VEX_OK)
            continue;
        ASSERT_EQ(written, m.decompressed);
        Bytes exact(static_cast<size_t>(m.decompressed));
        ASSERT_EQ(VexDecode(stream.data(), m.compressed, exact.data(), m.decompressed, &written),
                  VEX_OK);
        ASSERT_TRUE(std::equal(exact.begin(), exact.end(), out.begin()));
    }
}

} // namespace
} // namespace vextest
