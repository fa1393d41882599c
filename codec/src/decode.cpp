#include "decode.h"

#include <cstring>

#include "stream_format.h"

namespace vex {

namespace {

// at[k] = at[k - period] for k in [0, length): the period bytes before at
// repeat. Copies in doubling blocks instead of byte by byte.
void extendPeriodic(uint8_t* at, int64_t period, int64_t length)
{
    if (period == 1) {
        std::memset(at, at[-1], static_cast<size_t>(length));
        return;
    }
    int64_t done = 0;
    int64_t span = period;
    while (done < length) {
        const int64_t n = span < length - done ? span : length - done;
        std::memcpy(at + done, at + done - span, static_cast<size_t>(n));
        done += n;
        span = done + period;
    }
}

void copy(int command, uint8_t* out, int64_t position, int64_t source, int64_t length)
{
    uint8_t* to = out + position;
    switch (command) {
    case kRepeat:
        extendPeriodic(to, position - source, length);
        break;
    case kFlip:
        for (int64_t k = 0; k < length; ++k)
            to[k] = bitReverse(out[source + k]);
        break;
    default: // kReverse
        for (int64_t k = 0; k < length; ++k)
            to[k] = out[source - k];
        break;
    }
}

} // namespace

Decoded decodeStream(const uint8_t* source, int64_t sourceLength, uint8_t* destination,
                     int64_t capacity)
{
    int64_t p = 0;
    int64_t q = 0;
    auto next = [&](uint8_t& b) {
        if (p >= sourceLength)
            return false;
        b = source[p++];
        return true;
    };
    for (;;) {
        uint8_t h;
        if (!next(h))
            return {VEX_NO_END_MARKER, q};
        if (h == kEndMarker)
            return {VEX_OK, q};
        Header header;
        if (!readHeader(h, next, header))
            return {VEX_NO_END_MARKER, q};
        const int64_t n = header.length;
        uint8_t a = 0;
        uint8_t b = 0;
        int64_t from = 0;
        switch (header.command) {
        case kLiteral:
            if (sourceLength - p < n)
                return {VEX_NO_END_MARKER, q};
            break;
        case kIterate:
            if (!next(a))
                return {VEX_NO_END_MARKER, q};
            break;
        case kAlternate:
            if (!next(a) || !next(b))
                return {VEX_NO_END_MARKER, q};
            break;
        case kZeroFill:
            break;
        default:
            if (!next(a) || !readCopySource(a, q, next, from))
                return {VEX_NO_END_MARKER, q};
            if (!copySourceValid(header.command, from, header.length, q))
                return {VEX_BAD_COPY_SOURCE, q};
            break;
        }
        if (capacity - q < n)
            return {VEX_OUTPUT_FULL, q};
        uint8_t* to = destination + q;
        switch (header.command) {
        case kLiteral:
            std::memcpy(to, source + p, static_cast<size_t>(n));
            p += n;
            break;
        case kIterate:
            std::memset(to, a, static_cast<size_t>(n));
            break;
        case kAlternate:
            to[0] = a;
            if (n > 1) {
                to[1] = b;
                extendPeriodic(to + 2, 2, n - 2);
            }
            break;
        case kZeroFill:
            std::memset(to, 0, static_cast<size_t>(n));
            break;
        default:
            copy(header.command, destination, q, from, n);
            break;
        }
        q += n;
    }
}

} // namespace vex
