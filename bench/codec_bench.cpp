// Compression and decompression speed of vexlib beside a plain port: the
// tests' reference compressor (a scan of every earlier position) and a decoder
// that writes byte by byte. Every benchmark times the plain port once on the
// same input and reports plain_us and x_plain (plain time / library time).
//
//   vex_bench --benchmark_filter=Encode/TwoValues

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "reference_encoder.h"
#include "vexlib.h"

namespace {

using Bytes = std::vector<uint8_t>;
using vextest::referenceBitReverse;

// ---- Inputs ----

Bytes randomBytes(size_t size, uint32_t seed = 9)
{
    std::mt19937 rng(seed);
    Bytes out(size);
    for (auto& b : out)
        b = static_cast<uint8_t>(rng());
    return out;
}

// Uniform draws from a few values: every short string recurs, so a source
// scan meets about n / values^2 equal pairs at each position.
Bytes drawnFrom(std::initializer_list<uint8_t> values, size_t size)
{
    const Bytes pool(values);
    std::mt19937 rng(17);
    Bytes out(size);
    for (auto& b : out)
        b = pool[rng() % pool.size()];
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

// 16-byte tiles from a set of `setSize`, as they are, bit-mirrored or upside
// down (rows backwards); rows mostly from a few common bit patterns.
Bytes tileData(size_t size, int setSize = 12, uint32_t seed = 5)
{
    std::mt19937 rng(seed);
    static constexpr uint8_t rows[] = {0x00, 0xFF, 0x0F, 0xF0, 0x3C, 0x18, 0x81, 0x7E};
    std::vector<Bytes> set(static_cast<size_t>(setSize));
    for (auto& tile : set)
        for (int i = 0; i < 16; ++i)
            tile.push_back(rng() % 4 ? rows[rng() % 8] : static_cast<uint8_t>(rng()));
    Bytes out;
    while (out.size() < size) {
        Bytes tile = set[rng() % set.size()];
        if (const auto form = rng() % 4; form == 1)
            std::transform(tile.begin(), tile.end(), tile.begin(), referenceBitReverse);
        else if (form == 2)
            std::reverse(tile.begin(), tile.end());
        out.insert(out.end(), tile.begin(), tile.end());
    }
    out.resize(size);
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

// A picture of a creature as the games store them: w x h pixels of shades
// 0..3, outlined, shaded towards one side, spotted, roughly mirror-symmetric,
// coded as 2bpp tiles (two bytes per row of 8 pixels) in column order.
Bytes creature(int w, int h, uint32_t seed)
{
    std::mt19937 rng(seed);
    auto uniform = [&rng](int lo, int hi) { return lo + static_cast<int>(rng() % (hi - lo + 1)); };
    struct Blob {
        int x, y, rx, ry;
    };
    std::vector<Blob> blobs;
    for (int i = 0, count = uniform(3, 6); i < count; ++i)
        blobs.push_back({uniform(w / 4, w / 2), uniform(h / 5, h - h / 5), uniform(4, w / 4),
                         uniform(4, h / 4)});
    const bool symmetric = rng() % 3 != 0;
    std::vector<int> shade(static_cast<size_t>(w * h), 0);
    auto inside = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return false;
        for (const Blob& b : blobs)
            for (int mx : {b.x, symmetric ? w - 1 - b.x : b.x + w / 5}) {
                const double dx = double(x - mx) / b.rx, dy = double(y - b.y) / b.ry;
                if (dx * dx + dy * dy <= 1.0)
                    return true;
            }
        return false;
    };
    std::vector<Blob> spots;
    for (int i = 0, count = uniform(0, 5); i < count; ++i)
        spots.push_back({uniform(8, w - 8), uniform(8, h - 8), uniform(1, 4), 0});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int s = 0;
            if (inside(x, y)) {
                const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1)
                                  || !inside(x, y + 1);
                s = edge ? 3 : (x + y > w + h / 3 ? 2 : 1);
                if (!edge && x + y > w && (x + y) % 2 == 0)
                    s = 2; // dithered half shade
                for (const Blob& spot : spots)
                    if ((x - spot.x) * (x - spot.x) + (y - spot.y) * (y - spot.y)
                        <= spot.rx * spot.rx)
                        s = edge ? 3 : 2;
            }
            shade[static_cast<size_t>(y * w + x)] = s;
        }
    Bytes out;
    for (int tx = 0; tx < w / 8; ++tx)
        for (int ty = 0; ty < h / 8; ++ty)
            for (int row = 0; row < 8; ++row) {
                uint8_t low = 0, high = 0;
                for (int col = 0; col < 8; ++col) {
                    const int s = shade[static_cast<size_t>((ty * 8 + row) * w + tx * 8 + col)];
                    low = static_cast<uint8_t>(low << 1 | (s & 1));
                    high = static_cast<uint8_t>(high << 1 | s >> 1);
                }
                out.push_back(low);
                out.push_back(high);
            }
    return out;
}

// 24 pictures: 40x40, 48x48 and 56x56, eight each.
std::vector<Bytes> creatures()
{
    std::vector<Bytes> set;
    for (uint32_t seed = 0; seed < 24; ++seed) {
        const int side = 40 + 8 * static_cast<int>(seed % 3);
        set.push_back(creature(side, side, seed));
    }
    return set;
}

// A stream of many short commands of every kind, written directly.
Bytes shortCommandStream(size_t outputSize)
{
    std::mt19937 rng(23);
    Bytes s;
    size_t produced = 0;
    while (produced < outputSize) {
        const int length = 1 + static_cast<int>(rng() % 8);
        const int command = produced < 300 ? 0 : static_cast<int>(rng() % 7);
        s.push_back(static_cast<uint8_t>(command * 32 + length - 1));
        switch (command) {
        case 0:
            for (int i = 0; i < length; ++i)
                s.push_back(static_cast<uint8_t>(rng()));
            break;
        case 1: s.push_back(static_cast<uint8_t>(rng())); break;
        case 2: s.insert(s.end(), {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng())}); break;
        case 3: break;
        default:
            if (rng() % 2) {
                s.push_back(static_cast<uint8_t>(0x80 | (8 + rng() % 100)));
            } else {
                const size_t at = 8 + rng() % (std::min<size_t>(produced, 32768) - 8);
                s.insert(s.end(), {static_cast<uint8_t>(at >> 8), static_cast<uint8_t>(at)});
            }
        }
        produced += static_cast<size_t>(length);
    }
    s.push_back(0xFF);
    return s;
}

// ---- The plain port's decoder ----

int32_t plainDecode(const uint8_t* in, uint8_t* out)
{
    int32_t q = 0;
    for (;;) {
        int x = *in++;
        if (x == 0xFF)
            return q;
        int command = x >> 5, field = x & 0x1F;
        while (command == 7) {
            const int b = *in++;
            command = (x >> 2) & 7;
            field = (x & 3) * 256 + b;
            x = b;
        }
        const int length = field + 1;
        switch (command) {
        case 0:
            for (int k = 0; k < length; ++k)
                out[q++] = *in++;
            break;
        case 1:
            for (int k = 0; k < length; ++k)
                out[q++] = in[0];
            in += 1;
            break;
        case 2:
            for (int k = 0; k < length; ++k)
                out[q++] = in[k & 1];
            in += 2;
            break;
        case 3:
            for (int k = 0; k < length; ++k)
                out[q++] = 0;
            break;
        default: {
            int32_t s;
            if (in[0] & 0x80) {
                s = q - 1 - (in[0] & 0x7F);
                in += 1;
            } else {
                s = in[0] * 256 + in[1];
                in += 2;
            }
            for (int k = 0; k < length; ++k, ++q)
                out[q] = command == 4   ? out[s + k]
                         : command == 5 ? referenceBitReverse(out[s + k])
                                        : out[s - k];
        }
        }
    }
}

// ---- Timing ----

using Clock = std::chrono::steady_clock;

// Seconds per call of fn, over at least 0.2 s (one call at least).
double secondsPerCall(const std::function<void()>& fn)
{
    const auto start = Clock::now();
    int calls = 0;
    double elapsed = 0;
    do {
        fn();
        ++calls;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < 0.2);
    return elapsed / calls;
}

// The plain port's time for one benchmark (known by its input), measured once
// however often the framework calls the benchmark.
double plainSeconds(const std::string& key, const std::function<void()>& fn)
{
    static std::map<std::string, double> measured;
    auto it = measured.find(key);
    if (it == measured.end())
        it = measured.emplace(key, secondsPerCall(fn)).first;
    return it->second;
}

// Runs the library's calls under the framework's timing and adds the plain
// port's time and the ratio.
template <class Library>
void compare(benchmark::State& state, const std::string& key, int64_t bytesPerCall, Library&& library,
             const std::function<void()>& plain)
{
    const auto start = Clock::now();
    for (auto _ : state) {
        library();
        benchmark::ClobberMemory();
    }
    const double mine =
        std::chrono::duration<double>(Clock::now() - start).count() / double(state.iterations());
    const double theirs = plainSeconds(key, plain);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytesPerCall);
    state.counters["plain_us"] = theirs * 1e6;
    state.counters["x_plain"] = theirs / mine;
}

// The library's stream of input, through both entry points; empty if they
// differ.
Bytes encode(const Bytes& input)
{
    const auto n = static_cast<int32_t>(input.size());
    Bytes out(static_cast<size_t>(VexMaxEncodedSize(n))), work(static_cast<size_t>(VexEncodeAreaSize(n)));
    int32_t written = 0;
    VexEncodeInArea(input.data(), n, out.data(), std::ssize(out), work.data(), std::ssize(work),
                    &written);
    out.resize(static_cast<size_t>(written));
    Bytes classic(static_cast<size_t>(VexMaxEncodedSize(n)));
    classic.resize(static_cast<size_t>(EncPokeGoldAsm(input.data(), classic.data(), &n)));
    return classic == out ? out : Bytes{};
}

// How a set is compressed: EncPokeGoldAsm, or VexEncodeInArea with one work
// area for the whole set, or with a fresh, zeroed one for every input.
enum class Area { None, Kept, Fresh };

// Compressing a set of inputs per call. The plain port's runs also check
// that the library's output is the reference's.
void encodeSet(benchmark::State& state, const std::vector<Bytes>& inputs, const std::string& key,
               Area area)
{
    static std::map<std::string, bool> differs;
    std::vector<Bytes> expected;
    int64_t total = 0;
    int64_t areaSize = 0;
    double packed = 0;
    for (const Bytes& input : inputs) {
        expected.push_back(encode(input));
        total += std::ssize(input);
        packed += double(expected.back().size());
        areaSize = std::max(areaSize, VexEncodeAreaSize(static_cast<int32_t>(input.size())));
    }
    Bytes out(static_cast<size_t>(VexMaxEncodedSize(static_cast<int32_t>(total))));
    std::vector<uint8_t> work(area == Area::Kept ? static_cast<size_t>(areaSize) : 0);
    const auto capacity = static_cast<int32_t>(out.size());
    compare(
        state, key, total,
        [&] {
            for (const Bytes& input : inputs) {
                const auto n = static_cast<int32_t>(input.size());
                int32_t written = 0;
                if (area == Area::Kept) {
                    VexEncodeInArea(input.data(), n, out.data(), capacity, work.data(), areaSize,
                                    &written);
                } else if (area == Area::Fresh) {
                    std::vector<uint8_t> fresh(static_cast<size_t>(VexEncodeAreaSize(n)));
                    VexEncodeInArea(input.data(), n, out.data(), capacity, fresh.data(),
                                    std::ssize(fresh), &written);
                } else {
                    written = EncPokeGoldAsm(input.data(), out.data(), &n);
                }
                benchmark::DoNotOptimize(written);
            }
        },
        [&] {
            for (size_t i = 0; i < inputs.size(); ++i)
                if (expected[i].empty() || vextest::referenceEncode(inputs[i]) != expected[i])
                    differs[key] = true;
        });
    if (differs[key])
        state.SkipWithError("output differs from the reference compressor");
    state.counters["ratio"] = packed / double(total);
}

void encodeInArea(benchmark::State& state, const std::vector<Bytes>& inputs,
                  const std::string& key)
{
    encodeSet(state, inputs, key, Area::Kept);
}

// A caller that allocates an area per input pays for zeroing it.
void encodeFreshArea(benchmark::State& state, const std::vector<Bytes>& inputs,
                     const std::string& key)
{
    encodeSet(state, inputs, key, Area::Fresh);
}

void encodeClassic(benchmark::State& state, const std::vector<Bytes>& inputs,
                   const std::string& key)
{
    encodeSet(state, inputs, key, Area::None);
}

// Decoding a stream, beside the plain decoder.
void decodeStream(benchmark::State& state, const Bytes& stream, const std::string& key)
{
    int32_t compressed = 0, size = 0;
    if (VexMeasure(stream.data(), std::ssize(stream), &compressed, &size) != VEX_OK) {
        state.SkipWithError("stream does not measure");
        return;
    }
    Bytes out(static_cast<size_t>(size)), plainOut(out.size());
    plainDecode(stream.data(), plainOut.data());
    DecPokeGoldL(stream.data(), out.data());
    if (out != plainOut) {
        state.SkipWithError("decoders differ");
        return;
    }
    compare(
        state, key, size, [&] { benchmark::DoNotOptimize(DecPokeGoldL(stream.data(), out.data())); },
        [&] { benchmark::DoNotOptimize(plainDecode(stream.data(), plainOut.data())); });
}

// Every benchmark by name, with its input kept for the run.
void add(const std::string& name, void (*run)(benchmark::State&, const std::vector<Bytes>&,
                                              const std::string&),
         std::vector<Bytes> inputs)
{
    benchmark::RegisterBenchmark(name.c_str(), [name, run, inputs](benchmark::State& state) {
        run(state, inputs, name);
    })->Unit(benchmark::kMicrosecond);
}

// The library's streams of the inputs as one stream.
void decodeOf(benchmark::State& state, const std::vector<Bytes>& inputs, const std::string& key)
{
    Bytes stream;
    for (const Bytes& input : inputs) {
        const Bytes one = encode(input);
        stream.insert(stream.end(), one.begin(), one.end() - 1);
    }
    stream.push_back(0xFF);
    decodeStream(state, stream, key);
}

void decodeGiven(benchmark::State& state, const std::vector<Bytes>& streams,
                 const std::string& key)
{
    decodeStream(state, streams.at(0), key);
}

const bool registered = [] {
    // Sizes 1, 2, 4, ... 64 KB for the shapes whose cost grew with the square.
    auto scaled = [](const std::string& name, auto make) {
        for (size_t kb = 1; kb <= 64; kb *= 2)
            add("Encode/" + name + "/" + std::to_string(kb) + "K", encodeInArea, {make(kb * 1024)});
    };
    scaled("TwoValues00-01", [](size_t n) { return drawnFrom({0x00, 0x01}, n); });
    scaled("TwoValues00-FF", [](size_t n) { return drawnFrom({0x00, 0xFF}, n); });
    scaled("TwoValues18-7E", [](size_t n) { return drawnFrom({0x18, 0x7E}, n); });
    // The slowest shape found: eight values, among them bit-reverse pairs, so
    // that all three copy kinds have sources everywhere.
    scaled("EightValues", [](size_t n) {
        return drawnFrom({0x00, 0x01, 0x02, 0x03, 0x80, 0x40, 0xC0, 0xFF}, n);
    });
    scaled("TileLike", [](size_t n) { return tileData(n); });
    scaled("FewTilesMirrored", [](size_t n) { return tileData(n, 3, 8); });
    add("Encode/Creatures", encodeInArea, creatures());
    add("EncodeClassic/Creatures", encodeClassic, creatures());
    add("EncodeFreshArea/Creatures", encodeFreshArea, creatures());
    add("Encode/Random/32K", encodeInArea, {randomBytes(32768)});
    // Slowest found: varied bytes, then a stretch of two values long enough to
    // make the chains hand over to the suffix index, which is built for all.
    add("Encode/RandomThenTwoValues/24K+8K", encodeInArea, {[] {
            Bytes in = randomBytes(24 * 1024);
            const Bytes tail = drawnFrom({0x00, 0x01}, 8 * 1024);
            in.insert(in.end(), tail.begin(), tail.end());
            return in;
        }()});
    add("Encode/ThreeValues/32K", encodeInArea, {drawnFrom({0x00, 0x01, 0xFF}, 32768)});
    // Sixteen values with bit-reverse pairs; eight with a random byte in
    // sixteen; few values first, then varied bytes through the index.
    add("Encode/SixteenValues/32K", encodeInArea,
        {drawnFrom({0, 1, 2, 3, 4, 5, 6, 7, 0x80, 0x40, 0xC0, 0x20, 0xA0, 0x60, 0xE0, 0xFF}, 32768)});
    add("Encode/EightValuesNoisy/32K", encodeInArea, {[] {
            Bytes in = drawnFrom({0x00, 0x01, 0x02, 0x03, 0x80, 0x40, 0xC0, 0xFF}, 32768);
            std::mt19937 rng(3);
            for (auto& b : in)
                if (rng() % 16 == 0)
                    b = static_cast<uint8_t>(rng());
            return in;
        }()});
    add("Encode/TwoValuesThenRandom/8K+24K", encodeInArea, {[] {
            Bytes in = drawnFrom({0x00, 0x01}, 8 * 1024);
            const Bytes tail = randomBytes(24 * 1024);
            in.insert(in.end(), tail.begin(), tail.end());
            return in;
        }()});
    add("Encode/Zeros/32K", encodeInArea, {Bytes(32768, 0)});
    add("Encode/Pattern/32K", encodeInArea, {pattern(32768)});
    add("Encode/RunHeavy/32K", encodeInArea, {runHeavy(32768)});

    add("Decode/Creatures", decodeOf, creatures());
    add("Decode/ShortCommands/32K", decodeGiven, {shortCommandStream(32768)});
    add("Decode/TileLike/32K", decodeOf, {tileData(32768)});
    add("Decode/FewTilesMirrored/32K", decodeOf, {tileData(32768, 3, 8)});
    add("Decode/RunHeavy/32K", decodeOf, {runHeavy(32768)});
    add("Decode/Random/32K", decodeOf, {randomBytes(32768)});
    return true;
}();

} // namespace

BENCHMARK_MAIN();
