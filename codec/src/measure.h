#pragma once
// Walks a stream without producing output: its compressed and decompressed lengths.

#include <cstdint>

#include "byte_readers.h"
#include "stream_format.h"
#include "vexlib.h"

namespace vex {

struct Measurement {
    VexStatus status;
    int32_t compressed;   // bytes up to and including the end marker
    int32_t decompressed; // bytes the commands produce
};

enum class CopyCheck { Trust, Verify };

// Stops with VEX_OUTPUT_FULL as soon as the output would pass maxDecompressed,
// so a hostile stream costs no more than the output it may produce.
template <class Reader>
Measurement measureStream(Reader& reader, CopyCheck check, int64_t maxDecompressed = INT32_MAX)
{
    auto next = [&reader](uint8_t& b) { return reader.next(b); };
    auto fail = [](VexStatus status) { return Measurement{status, 0, 0}; };
    int64_t produced = 0;
    for (;;) {
        uint8_t h;
        if (!next(h))
            return fail(reader.failure());
        if (h == kEndMarker)
            break;
        Header header;
        if (!readHeader(h, next, header))
            return fail(reader.failure());
        if (isCopy(header.command)) {
            uint8_t o1;
            int64_t source;
            if (!next(o1) || !readCopySource(o1, produced, next, source))
                return fail(reader.failure());
            if (check == CopyCheck::Verify
                && !copySourceValid(header.command, source, header.length, produced))
                return fail(VEX_BAD_COPY_SOURCE);
        } else if (!reader.skip(plainOperandBytes(header))) {
            return fail(reader.failure());
        }
        produced += header.length;
        if (produced > maxDecompressed)
            return fail(maxDecompressed < INT32_MAX ? VEX_OUTPUT_FULL : VEX_TOO_LONG);
    }
    if (reader.consumed() > kMaxStreamBytes)
        return fail(VEX_TOO_LONG);
    return {VEX_OK, static_cast<int32_t>(reader.consumed()), static_cast<int32_t>(produced)};
}

} // namespace vex
