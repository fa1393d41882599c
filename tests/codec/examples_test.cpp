// The format's examples through the classic exports and the safe variants.

#include <gtest/gtest.h>

#include "codec_test_util.h"
#include "reference_encoder.h"

namespace vextest {
namespace {

TEST(StreamExamples, MeasureAndDecodeInMemoryAndInFiles)
{
    const Bytes longInput = makeInput(Shape::Mixed, 30000, 7);
    const struct {
        Bytes stream, output;
    } cases[] = {
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
        // Long forms of the other commands.
        {hexBytes("00 09 F0 23 80 FF"), Bytes(37, 0x09)},
        {hexBytes("E8 04 05 06 FF"), hexBytes("05 06 05 06 05")},
        {hexBytes("01 01 80 F4 02 81 FF"), hexBytes("01 80 80 01 01")},
        {hexBytes("02 01 02 03 F8 01 80 FF"), hexBytes("01 02 03 03 02")},
        // Longer than the file reader's chunks.
        {classicEncode(longInput), longInput},
    };
    ASSERT_GT(std::end(cases)[-1].stream.size(), 9000u);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.stream));
        const auto n = static_cast<int32_t>(c.output.size());
        const auto len = static_cast<int32_t>(c.stream.size());
        Bytes withTrailer = c.stream; // bytes after the end marker are no part of it
        withTrailer.insert(withTrailer.end(), {0x00, 0x01, 0x02});

        int32_t compressed = -1, decompressed = -1;
        LoadPokeGoldR(withTrailer.data(), &compressed, &decompressed);
        EXPECT_EQ(std::pair(compressed, decompressed), std::pair(len, n));
        Bytes out(c.output.size());
        EXPECT_EQ(DecPokeGoldL(c.stream.data(), out.data()), n);
        EXPECT_EQ(out, c.output);
        EXPECT_EQ(safeMeasure(withTrailer), (Measured{VEX_OK, len, n}));
        EXPECT_EQ(safeCall(VexDecode, c.stream, n), (Coded{VEX_OK, c.output}));

        // The descriptor's position is irrelevant before, just after the end marker after.
        for (const int32_t at : {0, 1, 4097, 70000}) {
            SCOPED_TRACE(at);
            const TempFile file(withTrailer, at);
            lseek(file.fd, 3, SEEK_SET);
            EXPECT_EQ(classicMeasureFd(file.fd, at), std::pair(len, n));
            EXPECT_EQ(file.position(), at + len);
            lseek(file.fd, 0, SEEK_END);
            EXPECT_EQ(measureFd(file.fd, at), (Measured{VEX_OK, len, n}));
            EXPECT_EQ(file.position(), at + len);
        }
    }
}

TEST(EncodeExamples, ClassicSafeAndReferenceGiveTheDocumentedStream)
{
    const struct {
        Bytes input;
        const char* output;
    } cases[] = {
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
        {hexBytes("12 34 12 34 12 34 12 34 12 34 12 34 12 34 12 34 12 34 12 34"), "53 12 34 FF"},
        {hexBytes("09 09 00 00 00"), "21 09 62 FF"},
        {hexBytes("01 02 03 09 01 02 03"), "03 01 02 03 09 82 83 FF"},
        {hexBytes("01 02 03 04 05 06 07 08 01 02 03 04 05 06 07 08"),
         "07 01 02 03 04 05 06 07 08 87 87 FF"},
        {hexBytes("01 02 03 04 05 06 07 08 08 07 06 05 04 03 02 01"),
         "07 01 02 03 04 05 06 07 08 C7 80 FF"},
        {hexBytes("01 03 07 80 C0 E0"), "02 01 03 07 A2 82 FF"},
        {{}, "FF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        const Bytes expected = hexBytes(c.output);
        const auto size = static_cast<int32_t>(expected.size());
        EXPECT_EQ(classicEncode(c.input), expected);
        EXPECT_EQ(referenceEncode(c.input), expected);
        EXPECT_EQ(safeCall(VexEncode, c.input, size), (Coded{VEX_OK, expected}));
        for (int32_t tooSmall = 0; tooSmall < size; ++tooSmall)
            EXPECT_EQ(safeCall(VexEncode, c.input, tooSmall), (Coded{VEX_OUTPUT_FULL, {}}));
    }
}

} // namespace
} // namespace vextest
