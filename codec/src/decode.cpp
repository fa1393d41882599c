#include "decode.h"

#include <cstring>

#include "stream_format.h"

namespace vex {

namespace {

void store64(uint8_t* at, uint64_t v) { std::memcpy(at, &v, sizeof v); }

uint32_t load32(const uint8_t* at)
{
    uint32_t v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

void store32(uint8_t* at, uint32_t v) { std::memcpy(at, &v, sizeof v); }

// Commands are mostly a few bytes long: up to 16 bytes, two overlapping
// moves that stay inside [to, to + n) beat a call into the C library. from
// and to must not overlap.
void copyBytes(uint8_t* to, const uint8_t* from, int64_t n)
{
    if (n >= 8 && n <= 16) {
        const uint64_t head = load64(from), tail = load64(from + n - 8);
        store64(to, head);
        store64(to + n - 8, tail);
    } else if (n >= 4 && n < 8) {
        const uint32_t head = load32(from), tail = load32(from + n - 4);
        store32(to, head);
        store32(to + n - 4, tail);
    } else if (n < 4) {
        for (int64_t k = 0; k < n; ++k)
            to[k] = from[k];
    } else {
        std::memcpy(to, from, static_cast<size_t>(n));
    }
}

void fillBytes(uint8_t* to, uint8_t value, int64_t n)
{
    const uint64_t all = value * 0x0101010101010101ull;
    if (n >= 8 && n <= 16) {
        store64(to, all);
        store64(to + n - 8, all);
    } else if (n >= 4 && n < 8) {
        store32(to, static_cast<uint32_t>(all));
        store32(to + n - 4, static_cast<uint32_t>(all));
    } else if (n < 4) {
        for (int64_t k = 0; k < n; ++k)
            to[k] = value;
    } else {
        std::memset(to, value, static_cast<size_t>(n));
    }
}

// at[k] = at[k - period] for k in [0, length): the period bytes before at
// repeat. Copies in doubling blocks instead of byte by byte.
void extendPeriodic(uint8_t* at, int64_t period, int64_t length)
{
    if (period >= length) {
        copyBytes(at, at - period, length);
        return;
    }
    if (period == 1) {
        fillBytes(at, at[-1], length);
        return;
    }
    int64_t done = 0;
    int64_t span = period;
    while (done < length) {
        const int64_t n = span < length - done ? span : length - done;
        copyBytes(at + done, at + done - span, n);
        done += n;
        span = done + period;
    }
}

void copy(int command, uint8_t* out, int64_t position, int64_t source, int64_t length)
{
    uint8_t* to = out + position;
    int64_t k = 0;
    switch (command) {
    case kRepeat:
        extendPeriodic(to, position - source, length);
        break;
    case kFlip:
        // Eight at a time while the bytes read were written before this copy.
        if (position - source >= 8)
            for (; k + 8 <= length; k += 8)
                store64(to + k, flipBytes(load64(out + source + k)));
        for (; k < length; ++k)
            to[k] = bitReverse(out[source + k]);
        break;
    default: // kReverse
        for (; k + 8 <= length && source - k - 7 >= 0; k += 8)
            store64(to + k, __builtin_bswap64(load64(out + source - k - 7)));
        for (; k < length; ++k)
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
            copyBytes(to, source + p, n);
            p += n;
            break;
        case kIterate:
            fillBytes(to, a, n);
            break;
        case kAlternate:
            to[0] = a;
            if (n > 1) {
                to[1] = b;
                extendPeriodic(to + 2, 2, n - 2);
            }
            break;
        case kZeroFill:
            fillBytes(to, 0, n);
            break;
        default:
            copy(header.command, destination, q, from, n);
            break;
        }
        q += n;
    }
}

} // namespace vex
