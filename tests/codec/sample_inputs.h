#pragma once
// Inputs of typical and awkward shapes for the compressor, and small helpers.

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vextest {

using Bytes = std::vector<uint8_t>;

enum class Shape {
    Random,       // uniform bytes
    FewSymbols,   // bytes from {00, 01, 80, FF, 18}: many equally long matches
    Runs,         // runs of one byte, often zero, of 1..1500 bytes
    Alternations, // two-byte patterns with noise between them
    Tiles,        // 16-byte 2bpp tiles from a small set, repeated, mirrored, flipped
    Mirrored,     // stretches followed by their bit-reversed or backwards copies
    Pattern,      // a repeating pattern with rare changes
    Mixed,        // stretches of all of the above
};

inline constexpr Shape kAllShapes[] = {Shape::Random, Shape::FewSymbols, Shape::Runs,
                                       Shape::Alternations, Shape::Tiles, Shape::Mirrored,
                                       Shape::Pattern, Shape::Mixed};

std::string shapeName(Shape shape);
void PrintTo(Shape shape, std::ostream* os);

Bytes makeInput(Shape shape, size_t size, uint32_t seed);

// "02 61 FF" -> {0x02, 0x61, 0xFF}
Bytes hexBytes(std::string_view text);
std::string hexText(const Bytes& bytes);

Bytes repeated(const Bytes& part, size_t times);

} // namespace vextest
