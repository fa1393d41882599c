// The format's documented examples through the classic exports and the safe variants.

#include <gtest/gtest.h>

#include "codec_calls.h"
#include "reference_encoder.h"

namespace vextest {
namespace {

Bytes cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct StreamCase {
    Bytes stream;
    Bytes output;
};

std::vector<StreamCase> streamCases()
{
    return {
        {hexBytes("FF"), {}},
        {hexBytes("02 61 62 63 FF"), hexBytes("61 62 63")},
        {hexBytes("23 41 FF"), hexBytes("41 41 41 41")},
        {hexBytes("44 12 34 FF"), hexBytes("12 34 12 34 12")},
        {hexBytes("62 FF"), hexBytes("00 00 00")},
        {hexBytes("E4 27 00 FF"), Bytes(40, 0x00)},
        {hexBytes("01 12 34 81 81 FF"), hexBytes("12 34 12 34")},
        {hexBytes("01 AA BB 81 00 00 FF"), hexBytes("AA BB AA BB")},
        {hexBytes("00 07 84 80 FF"), hexBytes("07 07 07 07 07 07")},
        {hexBytes("00 01 A0 80 FF"), hexBytes("01 80")},
        {hexBytes("02 01 02 03 C2 80 FF"), hexBytes("01 02 03 03 02 01")},
        // Long headers whose command field is 7 continue in the next byte.
        {hexBytes("00 07 FC 10 04 80 FF"), Bytes(6, 0x07)},
        {hexBytes("FE 0C 02 FF"), Bytes(3, 0x00)},
        {hexBytes("FC FD 0C 02 FF"), Bytes(3, 0x00)},
        {hexBytes("FD FF 0C 02 FF"), Bytes(3, 0x00)},
        // Long forms of commands; a long repeat overlapping what it writes.
        {hexBytes("00 09 F0 23 80 FF"), Bytes(37, 0x09)},
        {hexBytes("E8 22 05 06 FF"), hexBytes("05 06 05 06 05 06 05 06 05 06 05 06 05 06 05 06 "
                                              "05 06 05 06 05 06 05 06 05 06 05 06 05 06 05 06 "
                                              "05 06 05")},
        {hexBytes("01 01 80 F4 02 81 FF"), hexBytes("01 80 80 01 01")},
        {hexBytes("02 01 02 03 F8 01 80 FF"), hexBytes("01 02 03 03 02")},
    };
}

TEST(StreamExamples, MeasureAndDecodeInMemory)
{
    for (const auto& c : streamCases()) {
        SCOPED_TRACE(hexText(c.stream));
        const auto n = static_cast<int32_t>(c.output.size());
        const auto len = static_cast<int32_t>(c.stream.size());

        int32_t compressed = -1, decompressed = -1;
        LoadPokeGoldR(c.stream.data(), &compressed, &decompressed);
        EXPECT_EQ(compressed, len);
        EXPECT_EQ(decompressed, n);

        Bytes out(c.output.size());
        EXPECT_EQ(DecPokeGoldL(c.stream.data(), out.data()), n);
        EXPECT_EQ(out, c.output);

        const Measured m = safeMeasure(c.stream);
        EXPECT_EQ(m.status, VEX_OK);
        EXPECT_EQ(m.compressed, len);
        EXPECT_EQ(m.decompressed, n);

        // Bytes after the end marker are no part of the stream.
        const Bytes longer = cat(c.stream, hexBytes("00 01 02"));
        EXPECT_EQ(safeMeasure(longer).compressed, len);

        Bytes safeOut(c.output.size());
        int32_t written = -1;
        EXPECT_EQ(VexDecode(c.stream.data(), len, safeOut.data(), n, &written), VEX_OK);
        EXPECT_EQ(written, n);
        EXPECT_EQ(safeOut, c.output);
    }
}

TEST(StreamExamples, MeasureThroughFileAtAnyOffset)
{
    for (const auto& c : streamCases()) {
        for (size_t offset : {size_t{0}, size_t{1}, size_t{4095}, size_t{4097}, size_t{70000}}) {
            SCOPED_TRACE(hexText(c.stream) + " at " + std::to_string(offset));
            TempFile file(storedAt(offset, c.stream));
            const auto len = static_cast<int32_t>(c.stream.size());
            int32_t memCompressed = 0, memDecompressed = 0;
            LoadPokeGoldR(c.stream.data(), &memCompressed, &memDecompressed);

            const int handle = file.fd();
            const int32_t at = static_cast<int32_t>(offset);
            int32_t compressed = -1, decompressed = -1;
            lseek(handle, 3, SEEK_SET);
            LoadPokeGoldFH(&handle, &at, &compressed, &decompressed);
            EXPECT_EQ(compressed, len);
            EXPECT_EQ(decompressed, memDecompressed);
            EXPECT_EQ(file.position(), static_cast<int64_t>(offset) + len);

            compressed = decompressed = -1;
            lseek(handle, 0, SEEK_END);
            EXPECT_EQ(VexMeasureFd(handle, static_cast<int64_t>(offset), &compressed, &decompressed),
                      VEX_OK);
            EXPECT_EQ(compressed, len);
            EXPECT_EQ(decompressed, memDecompressed);
            EXPECT_EQ(file.position(), static_cast<int64_t>(offset) + len);
        }
    }
}

TEST(StreamExamples, LongStreamThroughFileCrossesReadChunks)
{
    const Bytes input = makeInput(Shape::Mixed, 30000, 7);
    const Bytes stream = classicEncode(input);
    ASSERT_GT(stream.size(), 9000u);
    TempFile file(storedAt(4000, stream));
    const int handle = file.fd();
    const int32_t at = 4000;
    int32_t compressed = -1, decompressed = -1;
    LoadPokeGoldFH(&handle, &at, &compressed, &decompressed);
    EXPECT_EQ(compressed, static_cast<int32_t>(stream.size()));
    EXPECT_EQ(decompressed, 30000);
    EXPECT_EQ(file.position(), 4000 + static_cast<int64_t>(stream.size()));
    EXPECT_EQ(VexMeasureFd(handle, 4000, &compressed, &decompressed), VEX_OK);
    EXPECT_EQ(compressed, static_cast<int32_t>(stream.size()));
    EXPECT_EQ(decompressed, 30000);
}

struct EncodeCase {
    Bytes input;
    const char* output;
};

Bytes counting(int from, int to)
{
    Bytes out;
    for (int v = from; from <= to ? v <= to : v >= to; v += from <= to ? 1 : -1)
        out.push_back(static_cast<uint8_t>(v));
    return out;
}

std::vector<EncodeCase> encodeCases()
{
    return {
        {hexBytes("61 62 63"), "02 61 62 63 FF"},
        {hexBytes("07"), "00 07 FF"},
        {hexBytes("00"), "60 FF"},
        {hexBytes("41 41"), "21 41 FF"},
        {hexBytes("41 41 41 41 41"), "24 41 FF"},
        {Bytes(33, 0x41), "E4 20 41 FF"},
        {Bytes(40, 0x00), "EC 27 FF"},
        {Bytes(1024, 0x00), "EF FF FF"},
        {Bytes(1025, 0x00), "EF FF 60 FF"},
        {hexBytes("05 06"), "01 05 06 FF"},
        {hexBytes("05 06 05"), "42 05 06 FF"},
        {hexBytes("05 06 05 06 05"), "44 05 06 FF"},
        {repeated(hexBytes("12 34"), 10), "53 12 34 FF"},
        {hexBytes("09 09 00 00 00"), "21 09 62 FF"},
        {hexBytes("01 02 03 09 01 02 03"), "03 01 02 03 09 82 83 FF"},
        {cat(counting(1, 8), counting(1, 8)), "07 01 02 03 04 05 06 07 08 87 87 FF"},
        {cat(counting(1, 8), counting(8, 1)), "07 01 02 03 04 05 06 07 08 C7 80 FF"},
        {hexBytes("01 03 07 80 C0 E0"), "02 01 03 07 A2 82 FF"},
        {{}, "FF"},
    };
}

TEST(EncodeExamples, ClassicSafeAndReferenceAgree)
{
    for (const auto& c : encodeCases()) {
        SCOPED_TRACE(hexText(c.input));
        const Bytes expected = hexBytes(c.output);
        EXPECT_EQ(hexText(classicEncode(c.input)), c.output);
        EXPECT_EQ(hexText(referenceEncode(c.input)), c.output);

        const auto n = static_cast<int32_t>(c.input.size());
        const auto size = static_cast<int32_t>(expected.size());
        Bytes exact(expected.size());
        int32_t written = -1;
        EXPECT_EQ(VexEncode(c.input.data(), n, exact.data(), size, &written), VEX_OK);
        EXPECT_EQ(written, size);
        EXPECT_EQ(exact, expected);

        Bytes tooSmall(expected.size() - 1);
        EXPECT_EQ(VexEncode(c.input.data(), n, tooSmall.data(), size - 1, &written),
                  VEX_OUTPUT_FULL);
        EXPECT_EQ(written, 0);
    }
}

TEST(EncodeExamples, MaxEncodedSize)
{
    EXPECT_EQ(VexMaxEncodedSize(0), 4);
    EXPECT_EQ(VexMaxEncodedSize(784), VEX_MAX_ENCODED_SIZE(784));
    EXPECT_EQ(VexMaxEncodedSize(32768), 32768 + 2048 + 4);
    EXPECT_EQ(VexMaxEncodedSize(-1), -1);
    EXPECT_EQ(VexMaxEncodedSize(INT32_MAX), -1);
    EXPECT_GT(VexMaxEncodedSize(INT32_MAX / 2), INT32_MAX / 2);
}

} // namespace
} // namespace vextest
