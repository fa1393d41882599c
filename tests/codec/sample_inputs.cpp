#include <algorithm>
#include <random>

#include "codec_test_util.h"
#include "reference_encoder.h"

namespace vextest {

Bytes makeInput(Shape shape, size_t size, uint32_t seed)
{
    std::mt19937 rng(seed * 2654435761u + static_cast<uint32_t>(shape) * 97u +
                     static_cast<uint32_t>(size));
    auto below = [&rng](uint32_t n) { return static_cast<uint32_t>(rng() % n); };
    auto anyByte = [&rng] { return static_cast<uint8_t>(rng()); };
    static constexpr uint8_t few[] = {0x00, 0x01, 0x80, 0xFF, 0x18};
    static constexpr uint8_t rows[] = {0x00, 0xFF, 0x0F, 0xF0, 0x3C, 0x18, 0x81, 0x07};
    Bytes out;
    auto drawFrom = [&](std::initializer_list<uint8_t> values) {
        const Bytes pool(values);
        while (out.size() < size)
            out.push_back(pool[below(static_cast<uint32_t>(pool.size()))]);
    };
    if (shape == Shape::TwoValues)
        drawFrom({0x00, 0x01});
    else if (shape == Shape::ThreeValues)
        drawFrom({0x00, 0x01, 0xFF});
    else if (shape == Shape::Palindromic)
        drawFrom({0x00, 0xFF, 0x18, 0x7E});
    if (shape == Shape::Mirrored) {
        Bytes set[2];
        for (auto& tile : set)
            for (int i = 0; i < 16; ++i)
                tile.push_back(rows[below(8)]);
        while (out.size() < size) {
            Bytes tile = set[below(2)];
            const uint32_t form = below(4);
            if (form & 1)
                std::transform(tile.begin(), tile.end(), tile.begin(), referenceBitReverse);
            if (form & 2)
                std::reverse(tile.begin(), tile.end());
            out.insert(out.end(), tile.begin(), tile.end());
        }
    }
    while (out.size() < size) {
        const Shape part = shape == Shape::Mixed ? static_cast<Shape>(below(5)) : shape;
        const size_t end = out.size() + (shape == Shape::Mixed ? 1 + below(600) : size);
        if (part == Shape::Random || part == Shape::FewSymbols) {
            while (out.size() < end)
                out.push_back(part == Shape::Random ? anyByte() : few[below(5)]);
        } else if (part == Shape::Runs) {
            const uint8_t b = below(2) ? 0 : anyByte();
            out.insert(out.end(), 1 + below(below(4) ? 40 : 1500), b);
        } else if (part == Shape::Alternations) {
            const uint8_t a = anyByte(), b = anyByte();
            for (size_t i = 0, count = 1 + below(below(4) ? 50 : 1500); i < count; ++i)
                out.push_back(i % 2 ? b : a);
            out.push_back(anyByte());
        } else {
            Bytes set[6];
            for (auto& tile : set)
                for (int i = 0; i < 16; ++i)
                    tile.push_back(below(5) ? rows[below(8)] : anyByte());
            while (out.size() < end) {
                Bytes tile = set[below(6)];
                if (const uint32_t form = below(4); form == 1)
                    std::transform(tile.begin(), tile.end(), tile.begin(), referenceBitReverse);
                else if (form == 2)
                    std::reverse(tile.begin(), tile.end());
                out.insert(out.end(), tile.begin(), tile.end());
            }
        }
    }
    out.resize(size);
    return out;
}

} // namespace vextest
