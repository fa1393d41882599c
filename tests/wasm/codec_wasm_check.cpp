// The codec built for wasm32-wasi: every compressing export must give the
// reference compressor's bytes, and every decoding export the input back.
// Run under a WASI host (run_wasi.mjs); exits 1 on any mismatch.

#include <cstdint>
#include <cstdio>
#include <vector>

#include "reference_encoder.h"
#include "vexlib.h"

namespace {

using Bytes = std::vector<uint8_t>;

int passed = 0;
int failed = 0;

void expect(bool ok, const char* input, const char* what)
{
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAIL %s: %s\n", input, what);
    }
}

struct Random {
    uint32_t state;
    uint32_t next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
};

// 16-byte tiles from a small set, as they are, bit-mirrored or backwards, so
// that every copy kind of the format occurs.
Bytes tiles(size_t size, uint32_t seed)
{
    Random rng{seed};
    Bytes set[6];
    for (Bytes& tile : set)
        for (int i = 0; i < 16; ++i)
            tile.push_back(static_cast<uint8_t>(rng.next()));
    Bytes out;
    while (out.size() < size) {
        const Bytes& tile = set[rng.next() % 6];
        const uint32_t form = rng.next() % 3;
        for (int i = 0; i < 16; ++i) {
            if (form == 0)
                out.push_back(tile[i]);
            else if (form == 1)
                out.push_back(vextest::referenceBitReverse(tile[i]));
            else
                out.push_back(tile[15 - i]);
        }
    }
    out.resize(size);
    return out;
}

// Bytes drawn from values; any byte when values is empty.
Bytes drawn(size_t size, uint32_t seed, const Bytes& values)
{
    Random rng{seed};
    Bytes out;
    while (out.size() < size) {
        const uint32_t r = rng.next();
        out.push_back(values.empty() ? static_cast<uint8_t>(r) : values[r % values.size()]);
    }
    return out;
}

Bytes runs(size_t size, uint32_t seed)
{
    Random rng{seed};
    Bytes out;
    while (out.size() < size)
        out.insert(out.end(), 1 + rng.next() % 300, rng.next() % 4 ? 0 : static_cast<uint8_t>(rng.next()));
    out.resize(size);
    return out;
}

void checkRoundTrip(const char* name, const Bytes& input, bool againstReference)
{
    const auto n = static_cast<int32_t>(input.size());
    Bytes classic(VEX_MAX_ENCODED_SIZE(input.size()));
    classic.resize(static_cast<size_t>(EncPokeGoldAsm(input.data(), classic.data(), &n)));
    if (againstReference)
        expect(classic == vextest::referenceEncode(input), name, "EncPokeGoldAsm differs from the reference");

    Bytes safe(static_cast<size_t>(VexMaxEncodedSize(n)));
    int32_t written = 0;
    int32_t status = VexEncode(input.data(), n, safe.data(), static_cast<int32_t>(safe.size()), &written);
    safe.resize(static_cast<size_t>(written));
    expect(status == VEX_OK && safe == classic, name, "VexEncode differs from EncPokeGoldAsm");

    Bytes area(static_cast<size_t>(VexEncodeAreaSize(n)));
    Bytes inArea(static_cast<size_t>(VexMaxEncodedSize(n)));
    status = VexEncodeInArea(input.data(), n, inArea.data(), static_cast<int32_t>(inArea.size()), area.data(),
                             static_cast<int64_t>(area.size()), &written);
    inArea.resize(static_cast<size_t>(written));
    expect(status == VEX_OK && inArea == classic, name, "VexEncodeInArea differs from EncPokeGoldAsm");

    int32_t compressed = 0;
    int32_t decompressed = 0;
    status = VexMeasure(classic.data(), static_cast<int32_t>(classic.size()), &compressed, &decompressed);
    expect(status == VEX_OK && compressed == static_cast<int32_t>(classic.size()) && decompressed == n, name,
           "VexMeasure gives other lengths");

    Bytes back(input.size() + 1);
    status = VexDecode(classic.data(), static_cast<int32_t>(classic.size()), back.data(),
                       static_cast<int32_t>(back.size()), &written);
    back.resize(static_cast<size_t>(written));
    expect(status == VEX_OK && back == input, name, "VexDecode does not give the input back");

    Bytes trusted(input.size());
    trusted.resize(static_cast<size_t>(DecPokeGoldL(classic.data(), trusted.data())));
    expect(trusted == input, name, "DecPokeGoldL does not give the input back");
}

} // namespace

int main()
{
    checkRoundTrip("empty", {}, true);
    checkRoundTrip("one byte", {0x42}, true);
    checkRoundTrip("tiles 1600", tiles(1600, 7), true);
    checkRoundTrip("four values 3000", drawn(3000, 11, {0x00, 0x01, 0x80, 0xFF}), true);
    checkRoundTrip("runs 2500", runs(2500, 3), true);
    checkRoundTrip("random 700", drawn(700, 5, {}), true);
    // Past 32768 bytes, where absolute copy sources run out of bits.
    checkRoundTrip("tiles 40000", tiles(40000, 13), false);

    // The bounds of the safe exports hold on a 32-bit target as well.
    const Bytes stream = {0x02, 'a', 'b', 'c'};
    int32_t compressed = 0;
    int32_t decompressed = 0;
    expect(VexMeasure(stream.data(), static_cast<int32_t>(stream.size()), &compressed, &decompressed) ==
               VEX_NO_END_MARKER,
           "unterminated stream", "VexMeasure does not report the missing end marker");
    uint8_t small[2];
    int32_t written = 0;
    const Bytes whole = {0x02, 'a', 'b', 'c', 0xFF};
    expect(VexDecode(whole.data(), static_cast<int32_t>(whole.size()), small, sizeof small, &written) ==
               VEX_OUTPUT_FULL,
           "short destination", "VexDecode writes past its capacity");
    expect(VexMeasureFd(99, 0, &compressed, &decompressed) == VEX_IO_ERROR, "descriptor not open",
           "VexMeasureFd does not report the failed read");
    expect(VexMaxEncodedSize(INT32_MAX) == -1, "largest length", "VexMaxEncodedSize overflows");

    std::printf("codec_wasm_check: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
