// Arbitrary bytes as compressor input: the three entry points agree with
// each other and, for shorter inputs, with the plain reference compressor
// (also the suffix index alone, from the first byte); the output fits the
// documented bound and decodes back to the input.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "fuzz_check.h"
#include "encode.h"
#include "reference_encoder.h"
#include "vexlib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 65536)
        return 0;
    const auto n = static_cast<int32_t>(size);
    const int32_t bound = VexMaxEncodedSize(n);
    Check(bound == VEX_MAX_ENCODED_SIZE(n));

    std::vector<uint8_t> classic(static_cast<size_t>(bound));
    const int32_t length = EncPokeGoldAsm(data, classic.data(), &n);
    Check(length >= 1 && length <= bound);
    classic.resize(static_cast<size_t>(length));

    std::vector<uint8_t> safe(static_cast<size_t>(length));
    int32_t written = -1;
    Check(VexEncode(data, n, safe.data(), length, &written) == VEX_OK);
    Check(safe == classic);
    Check(VexEncode(data, n, safe.data(), length - 1, &written) == VEX_OUTPUT_FULL);

    static std::vector<uint8_t> area;
    area.resize(static_cast<size_t>(VexEncodeAreaSize(n)));
    Check(VexEncodeInArea(data, n, safe.data(), length, area.data(), std::ssize(area), &written)
          == VEX_OK);
    Check(safe == classic);

    if (size <= 3000) {
        Check(vextest::referenceEncode(std::span(data, size)) == classic);
        const vex::Encoded indexed =
            vex::encodeGreedy(data, n, safe.data(), length, vex::WorkArea(area.data(), area.size()),
                              vex::Search::IndexOnly);
        Check(indexed.fits && safe == classic);
    }

    int32_t compressed = -1, decompressed = -1;
    Check(VexMeasure(classic.data(), length, &compressed, &decompressed) == VEX_OK);
    Check(compressed == length && decompressed == n);
    std::vector<uint8_t> decoded(size);
    Check(VexDecode(classic.data(), length, decoded.data(), n, &written) == VEX_OK);
    Check(written == n);
    Check(std::equal(decoded.begin(), decoded.end(), data));
    return 0;
}
