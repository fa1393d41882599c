// Compression and decompression speed of vexlib on typical inputs.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "vexlib.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint8_t mirrored(uint8_t b)
{
    uint8_t r = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (b & (1 << bit))
            r = static_cast<uint8_t>(r | (0x80 >> bit));
    return r;
}

// A 56 x 56 picture of four shades (a ring with a striped middle on white),
// coded as 2bpp tiles: 49 tiles of 16 bytes.
Bytes spriteTiles()
{
    auto shade = [](int x, int y) {
        const int dx = x - 28, dy = y - 30, r2 = dx * dx + dy * dy;
        if (r2 > 24 * 24)
            return 0;
        if (r2 > 21 * 21)
            return 3;
        return (x / 3 + y / 5) % 3 == 0 ? 2 : 1;
    };
    Bytes out;
    for (int tx = 0; tx < 7; ++tx)
        for (int ty = 0; ty < 7; ++ty)
            for (int row = 0; row < 8; ++row) {
                uint8_t low = 0, high = 0;
                for (int col = 0; col < 8; ++col) {
                    const int s = shade(tx * 8 + col, ty * 8 + row);
                    low = static_cast<uint8_t>(low << 1 | (s & 1));
                    high = static_cast<uint8_t>(high << 1 | s >> 1);
                }
                out.push_back(low);
                out.push_back(high);
            }
    return out;
}

// Tiles drawn from a small set, some mirrored or upside down.
Bytes tileData(size_t size)
{
    std::mt19937 rng(5);
    static constexpr uint8_t rows[] = {0x00, 0xFF, 0x0F, 0xF0, 0x3C, 0x18, 0x81, 0x7E};
    Bytes set[12];
    for (auto& tile : set)
        for (int i = 0; i < 16; ++i)
            tile.push_back(rng() % 4 ? rows[rng() % 8] : static_cast<uint8_t>(rng()));
    Bytes out;
    while (out.size() < size) {
        Bytes tile = set[rng() % 12];
        if (rng() % 4 == 0)
            for (auto& b : tile)
                b = mirrored(b);
        else if (rng() % 4 == 0)
            std::reverse(tile.begin(), tile.end());
        out.insert(out.end(), tile.begin(), tile.end());
    }
    out.resize(size);
    return out;
}

Bytes randomBytes(size_t size)
{
    std::mt19937 rng(9);
    Bytes out(size);
    for (auto& b : out)
        b = static_cast<uint8_t>(rng());
    return out;
}

Bytes pattern(size_t size)
{
    const Bytes unit = randomBytes(37);
    Bytes out(size);
    for (size_t i = 0; i < size; ++i)
        out[i] = unit[i % unit.size()];
    return out;
}

// Runs of zero and of other bytes, and repeated stretches.
Bytes runHeavy(size_t size)
{
    std::mt19937 rng(13);
    Bytes out;
    while (out.size() < size) {
        const size_t n = 64 + rng() % 900;
        if (rng() % 3 == 0 && out.size() > 2000) {
            const size_t from = out.size() - 2000 + rng() % 1000;
            for (size_t i = 0; i < n; ++i)
                out.push_back(out[from + i]);
        } else {
            out.insert(out.end(), n, rng() % 2 ? 0 : static_cast<uint8_t>(rng()));
        }
    }
    out.resize(size);
    return out;
}

Bytes encode(const Bytes& input)
{
    Bytes out(static_cast<size_t>(VexMaxEncodedSize(static_cast<int32_t>(input.size()))));
    int32_t written = 0;
    if (VexEncode(input.data(), static_cast<int32_t>(input.size()), out.data(),
                  static_cast<int32_t>(out.size()), &written) != VEX_OK)
        return {};
    out.resize(static_cast<size_t>(written));
    return out;
}

bool decodesTo(const Bytes& stream, const Bytes& expected)
{
    Bytes out(expected.size());
    int32_t written = 0;
    return VexDecode(stream.data(), static_cast<int32_t>(stream.size()), out.data(),
                     static_cast<int32_t>(out.size()), &written) == VEX_OK
           && out == expected;
}

void encodeBench(benchmark::State& state, const Bytes& input)
{
    const Bytes expected = encode(input);
    if (expected.empty() || !decodesTo(expected, input)) {
        state.SkipWithError("compressed output does not decode to the input");
        return;
    }
    Bytes out(expected.size() + 64);
    const int32_t n = static_cast<int32_t>(input.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncPokeGoldAsm(input.data(), out.data(), &n));
        benchmark::ClobberMemory();
    }
    if (!std::equal(expected.begin(), expected.end(), out.begin())) {
        state.SkipWithError("EncPokeGoldAsm and VexEncode differ");
        return;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * n);
    state.counters["ratio"] = static_cast<double>(expected.size()) / n;
}

void decodeBench(benchmark::State& state, const Bytes& input)
{
    const Bytes stream = encode(input);
    if (stream.empty() || !decodesTo(stream, input)) {
        state.SkipWithError("stream does not decode to the input");
        return;
    }
    Bytes out(input.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecPokeGoldL(stream.data(), out.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(input.size()));
}

// The floor for decoding: copying the same number of output bytes.
void memcpyBench(benchmark::State& state, const Bytes& input)
{
    Bytes out(input.size());
    for (auto _ : state) {
        std::memcpy(out.data(), input.data(), input.size());
        benchmark::ClobberMemory();
    }
    if (out != input)
        state.SkipWithError("copy differs");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(input.size()));
}

} // namespace

BENCHMARK_CAPTURE(encodeBench, Sprite784, spriteTiles())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(encodeBench, Tiles4K, tileData(4096))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(encodeBench, Random32K, randomBytes(32768))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(encodeBench, Pattern32K, pattern(32768))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(encodeBench, Tiles32K, tileData(32768))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(encodeBench, RunHeavy32K, runHeavy(32768))->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(decodeBench, RunHeavy32K, runHeavy(32768))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(memcpyBench, RunHeavy32K, runHeavy(32768))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeBench, Tiles32K, tileData(32768))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(decodeBench, Random32K, randomBytes(32768))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(memcpyBench, Random32K, randomBytes(32768))->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
