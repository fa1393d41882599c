#include "sample_inputs.h"

#include <algorithm>
#include <random>

#include "reference_encoder.h"

namespace vextest {

namespace {

using Rng = std::mt19937;

uint32_t below(Rng& rng, uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng); }
uint8_t anyByte(Rng& rng) { return static_cast<uint8_t>(below(rng, 256)); }

void appendRandom(Bytes& out, Rng& rng, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        out.push_back(anyByte(rng));
}

void appendFewSymbols(Bytes& out, Rng& rng, size_t n)
{
    static constexpr uint8_t symbols[] = {0x00, 0x01, 0x80, 0xFF, 0x18};
    for (size_t i = 0; i < n; ++i)
        out.push_back(symbols[below(rng, 5)]);
}

void appendRun(Bytes& out, Rng& rng)
{
    const uint8_t b = below(rng, 2) ? 0 : anyByte(rng);
    out.insert(out.end(), 1 + below(rng, below(rng, 4) ? 40 : 1500), b);
}

void appendAlternation(Bytes& out, Rng& rng)
{
    const uint8_t a = anyByte(rng), b = anyByte(rng);
    const size_t n = 1 + below(rng, below(rng, 4) ? 50 : 1500);
    for (size_t i = 0; i < n; ++i)
        out.push_back(i % 2 ? b : a);
    appendRandom(out, rng, below(rng, 4));
}

// A picture's tiles: rows of two bytes from few values; tiles recur as they
// are, mirrored (each byte bit-reversed) or upside down (rows reversed).
void appendTiles(Bytes& out, Rng& rng, size_t n)
{
    static constexpr uint8_t rowBytes[] = {0x00, 0xFF, 0x0F, 0xF0, 0x3C, 0x18, 0x81, 0x07};
    Bytes set[6];
    for (auto& tile : set)
        for (int i = 0; i < 16; ++i)
            tile.push_back(below(rng, 5) ? rowBytes[below(rng, 8)] : anyByte(rng));
    while (out.size() < n) {
        Bytes tile = set[below(rng, 6)];
        switch (below(rng, 4)) {
        case 1:
            for (auto& b : tile)
                b = referenceBitReverse(b);
            break;
        case 2:
            std::reverse(tile.begin(), tile.end());
            break;
        default:
            break;
        }
        out.insert(out.end(), tile.begin(), tile.end());
    }
}

void appendMirrored(Bytes& out, Rng& rng)
{
    Bytes part;
    appendRandom(part, rng, 2 + below(rng, 60));
    out.insert(out.end(), part.begin(), part.end());
    appendRandom(out, rng, below(rng, 3) * below(rng, 200));
    if (below(rng, 2)) {
        for (auto b : part)
            out.push_back(referenceBitReverse(b));
    } else {
        out.insert(out.end(), part.rbegin(), part.rend());
    }
}

void appendPattern(Bytes& out, Rng& rng, size_t n)
{
    Bytes pattern;
    appendRandom(pattern, rng, 1 + below(rng, below(rng, 2) ? 8 : 300));
    for (size_t i = 0; i < n; ++i)
        out.push_back(below(rng, 500) ? pattern[i % pattern.size()] : anyByte(rng));
}

} // namespace

std::string shapeName(Shape shape)
{
    switch (shape) {
    case Shape::Random: return "Random";
    case Shape::FewSymbols: return "FewSymbols";
    case Shape::Runs: return "Runs";
    case Shape::Alternations: return "Alternations";
    case Shape::Tiles: return "Tiles";
    case Shape::Mirrored: return "Mirrored";
    case Shape::Pattern: return "Pattern";
    case Shape::Mixed: return "Mixed";
    }
    return "?";
}

void PrintTo(Shape shape, std::ostream* os) { *os << shapeName(shape); }

Bytes makeInput(Shape shape, size_t size, uint32_t seed)
{
    Rng rng(seed * 2654435761u + static_cast<uint32_t>(shape) * 97u + static_cast<uint32_t>(size));
    Bytes out;
    while (out.size() < size) {
        Shape part = shape;
        if (shape == Shape::Mixed)
            part = kAllShapes[below(rng, 7)];
        const size_t stretch = shape == Shape::Mixed ? 1 + below(rng, 600) : size;
        switch (part) {
        case Shape::Random: appendRandom(out, rng, stretch); break;
        case Shape::FewSymbols: appendFewSymbols(out, rng, stretch); break;
        case Shape::Runs: appendRun(out, rng); break;
        case Shape::Alternations: appendAlternation(out, rng); break;
        case Shape::Tiles: appendTiles(out, rng, out.size() + stretch); break;
        case Shape::Mirrored: appendMirrored(out, rng); break;
        case Shape::Pattern: appendPattern(out, rng, stretch); break;
        case Shape::Mixed: break;
        }
    }
    out.resize(size);
    return out;
}

Bytes hexBytes(std::string_view text)
{
    Bytes out;
    int digits = 0;
    unsigned value = 0;
    for (char ch : text) {
        int v = ch >= '0' && ch <= '9' ? ch - '0' : ch >= 'A' && ch <= 'F' ? ch - 'A' + 10 : -1;
        if (v < 0)
            continue;
        value = value * 16 + static_cast<unsigned>(v);
        if (++digits == 2) {
            out.push_back(static_cast<uint8_t>(value));
            digits = 0;
            value = 0;
        }
    }
    return out;
}

std::string hexText(const Bytes& bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string s;
    for (auto b : bytes) {
        if (!s.empty())
            s += ' ';
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

Bytes repeated(const Bytes& part, size_t times)
{
    Bytes out;
    for (size_t i = 0; i < times; ++i)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

} // namespace vextest
