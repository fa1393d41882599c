#pragma once
// The greedy compressor.

#include <cstdint>

namespace vex {

struct Encoded {
    bool fits;       // false: the output needs more than the capacity
    int64_t written; // bytes written, end marker included (when it fits)
};

// Compresses length input bytes into at most capacity output bytes.
Encoded encodeGreedy(const uint8_t* input, int32_t length, uint8_t* output, int64_t capacity);

} // namespace vex
