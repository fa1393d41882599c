// Damaged and hostile streams through the safe calls: a status, never a read
// or write outside the buffers (the sanitizer build checks the latter).

#include <gtest/gtest.h>

#include <random>

#include "codec_test_util.h"

namespace vextest {
namespace {

constexpr Measured kNoEndMarker{VEX_NO_END_MARKER, 0, 0};

TEST(Truncated, EveryPrefixInMemoryAndInAFileLacksTheEndMarker)
{
    for (const Bytes& stream : {classicEncode(makeInput(Shape::Mixed, 3000, 21)),
                                classicEncode(makeInput(Shape::Tiles, 1500, 22)),
                                classicEncode(makeInput(Shape::Random, 1100, 23)),
                                hexBytes("00 07 FC 10 04 80 E8 22 05 06 FF")}) {
        const auto n = std::get<2>(safeMeasure(stream));
        const Coded full = safeCall(VexDecode, stream, n);
        ASSERT_EQ(full.first, VEX_OK);
        const TempFile file(stream, 10);
        // Longest first, so that each prefix is the file cut shorter.
        for (size_t length = stream.size(); length-- > 0;) {
            SCOPED_TRACE(length);
            // A copy of its own, so that reading past its end is caught.
            const Bytes prefix(stream.begin(), stream.begin() + static_cast<long>(length));
            ASSERT_EQ(safeMeasure(prefix), kNoEndMarker);
            const auto [status, out] = safeCall(VexDecode, prefix, n);
            ASSERT_EQ(status, VEX_NO_END_MARKER);
            // What was written before the failure is the start of the output.
            ASSERT_TRUE(std::equal(out.begin(), out.end(), full.second.begin()));

            ASSERT_EQ(ftruncate(file.fd, 10 + static_cast<off_t>(length)), 0);
            ASSERT_EQ(classicMeasureFd(file.fd, 10), std::pair(0, 0));
            ASSERT_EQ(measureFd(file.fd, 10), kNoEndMarker);
        }
        for (const int32_t at : {11, 100000}) {
            EXPECT_EQ(classicMeasureFd(file.fd, at), std::pair(0, 0));
            EXPECT_EQ(measureFd(file.fd, at), kNoEndMarker);
        }
    }
}

// Decoding gives the status and what was written before; measuring, in
// memory and in a file, gives the same status unless the output is full. The
// classic decoder trusts lengths, but also stops at a bad copy source.
TEST(Malformed, CopySourcesCapacityAndMissingEndMarker)
{
    const struct {
        const char* stream;
        int32_t capacity, status, written;
    } cases[] = {
        {"81 80 FF", 64, VEX_BAD_COPY_SOURCE, 0},          // repeat before any output
        {"00 07 81 81 FF", 64, VEX_BAD_COPY_SOURCE, 1},    // relative, 2 back of 1
        {"00 07 81 00 01 FF", 64, VEX_BAD_COPY_SOURCE, 1}, // absolute, at the position itself
        {"00 07 81 00 00 FF", 64, VEX_OK, 3},              // overlapping forward copy
        {"00 07 A1 81 FF", 64, VEX_BAD_COPY_SOURCE, 1},    // flip
        {"00 07 A4 80 FF", 64, VEX_OK, 6},                 // overlapping flip
        {"01 07 08 C1 80 FF", 64, VEX_OK, 4},              // reverse down to the first byte
        {"01 07 08 C2 80 FF", 64, VEX_BAD_COPY_SOURCE, 2}, // reading below 0
        {"01 07 08 D6 00 01 FF", 64, VEX_BAD_COPY_SOURCE, 2}, // 23 back from 1
        {"EC 27 F3 FF 00 27 FF", 4096, VEX_OK, 1064},      // repeat 1024 from 39
        {"EF FF FF", 1023, VEX_OUTPUT_FULL, 0},
        {"EF FF FF", 1024, VEX_OK, 1024},
        {"00 07 F3 FF 80 FF", 1024, VEX_OUTPUT_FULL, 1},
        {"02 01 02 03 FF", 2, VEX_OUTPUT_FULL, 0},
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
        const auto [status, out] = safeCall(VexDecode, stream, c.capacity);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(out.size(), static_cast<size_t>(c.written));
        const int32_t measured = c.status == VEX_OUTPUT_FULL ? VEX_OK : c.status;
        EXPECT_EQ(std::get<0>(safeMeasure(stream)), measured);
        const TempFile file(stream, 5);
        EXPECT_EQ(std::get<0>(measureFd(file.fd, 5)), measured);
        if (c.status == VEX_OK || c.status == VEX_BAD_COPY_SOURCE) {
            Bytes classic(4096, 0xEE);
            EXPECT_EQ(DecPokeGoldL(stream.data(), classic.data()), c.written);
            EXPECT_TRUE(std::equal(out.begin(), out.end(), classic.begin()));
            EXPECT_EQ(classic[out.size()], 0xEE);
        }
    }
}

TEST(Malformed, DecompressedLengthBeyond32Bits)
{
    // Each EF FF adds 1024 zero bytes; enough of them pass INT32_MAX.
    const size_t commands = INT32_MAX / 1024 + 1;
    Bytes stream(2 * commands + 1, 0xFF);
    for (size_t i = 0; i < commands; ++i)
        stream[2 * i] = 0xEF;
    EXPECT_EQ(std::get<0>(safeMeasure(stream)), VEX_TOO_LONG);
    stream.resize(stream.size() - 3);
    stream.push_back(0xFF);
    const auto size = static_cast<int32_t>(stream.size());
    EXPECT_EQ(safeMeasure(stream), (Measured{VEX_OK, size, INT32_MAX / 1024 * 1024}));
}

TEST(Malformed, BadArgumentsAndUnreadableDescriptors)
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
    EXPECT_EQ(safeCall(VexEncode, {}, 4), (Coded{VEX_OK, {0xFF}}));
    EXPECT_EQ(std::get<0>(measureFd(-1, 0)), VEX_BAD_ARGUMENT);
    EXPECT_EQ(std::get<0>(measureFd(0, -5)), VEX_BAD_ARGUMENT);
    EXPECT_EQ(std::get<0>(measureFd(0, INT64_MAX - 4)), VEX_BAD_ARGUMENT);
    for (int32_t n : {3, -7}) // no input, or a negative length: just the end marker
        EXPECT_EQ(EncPokeGoldAsm(n < 0 ? stream.data() : nullptr, out, &n), 1);

    int fds[2]; // a pipe cannot be positioned
    ASSERT_EQ(pipe(fds), 0);
    ASSERT_EQ(write(fds[1], "\x62\xFF", 2), 2);
    EXPECT_EQ(measureFd(fds[0], 0), (Measured{VEX_IO_ERROR, 0, 0}));
    EXPECT_EQ(classicMeasureFd(fds[0], 0), std::pair(0, 0));
    close(fds[0]);
    close(fds[1]);
}

// Random and randomly damaged streams: decoding into ample space fails or
// succeeds exactly as measuring says.
TEST(Malformed, MeasureAndDecodeAgreeOnGarbage)
{
    std::mt19937 rng(99);
    const Bytes base = classicEncode(makeInput(Shape::Mixed, 600, 41));
    Bytes stream, ample(1 << 20);
    for (int round = 0; round < 4000; ++round) {
        if (round % 2) {
            stream = base;
            for (int k = 0; k < 1 + round % 5; ++k)
                stream[rng() % stream.size()] = static_cast<uint8_t>(rng());
        } else {
            stream.resize(1 + rng() % 200);
            for (auto& b : stream)
                b = static_cast<uint8_t>(rng() % 3 ? rng() : 0xFF);
        }
        const auto [status, compressed, decompressed] = safeMeasure(stream);
        int32_t written = -1;
        ASSERT_EQ(VexDecode(stream.data(), static_cast<int32_t>(stream.size()), ample.data(),
                            1 << 20, &written),
                  status)
            << testing::PrintToString(stream);
        if (status == VEX_OK) {
            const Bytes exact(stream.begin(), stream.begin() + compressed);
            const Bytes output(ample.begin(), ample.begin() + written);
            ASSERT_EQ(safeCall(VexDecode, exact, decompressed), (Coded{VEX_OK, output}));
        }
    }
}

} // namespace
} // namespace vextest
