#pragma once
// The greedy compressor written plainly, scanning every earlier position at
// every step. Slow; the library's encoder must match it byte for byte.

#include <cstdint>
#include <span>
#include <vector>

namespace vextest {

std::vector<uint8_t> referenceEncode(std::span<const uint8_t> input);

uint8_t referenceBitReverse(uint8_t b);

} // namespace vextest
