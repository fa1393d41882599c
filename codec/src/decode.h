#pragma once
// Decompression into a caller's buffer.

#include <cstdint>

#include "vexlib.h"

namespace vex {

struct Decoded {
    VexStatus status;
    int64_t written; // output bytes, also those written before a failure
};

// Decodes at most sourceLength stream bytes into at most capacity bytes.
// Every copy source is checked against the output written so far.
Decoded decodeStream(const uint8_t* source, int64_t sourceLength, uint8_t* destination,
                     int64_t capacity);

} // namespace vex
