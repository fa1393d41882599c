#pragma once
// The compressed stream: command headers, copy sources and their checks.

#include <cstdint>
#include <cstring>

namespace vex {

inline constexpr uint8_t kEndMarker = 0xFF;
inline constexpr int kMaxLength = 1024;     // longest run one command produces
inline constexpr int kShortMaxLength = 32;  // longest run of a one-byte header
inline constexpr int kRelativeReach = 128;  // farthest source of a one-byte copy source
inline constexpr int32_t kAbsoluteLimit = 0x8000; // absolute sources are 15 bits

enum Command : int {
    kLiteral = 0,
    kIterate = 1,
    kAlternate = 2,
    kZeroFill = 3,
    kRepeat = 4,
    kFlip = 5,
    kReverse = 6,
    kLongHeader = 7,
};

struct BitReverseTable {
    uint8_t value[256];
    constexpr BitReverseTable() : value()
    {
        for (int i = 0; i < 256; ++i) {
            int r = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (i & (1 << bit))
                    r |= 0x80 >> bit;
            value[i] = static_cast<uint8_t>(r);
        }
    }
};
inline constexpr BitReverseTable kBitReverse;

inline uint8_t bitReverse(uint8_t b) { return kBitReverse.value[b]; }

inline uint64_t load64(const uint8_t* at)
{
    uint64_t v;
    std::memcpy(&v, at, sizeof v);
    return v;
}

// Every byte of v bit-reversed in place.
inline uint64_t flipBytes(uint64_t v)
{
    v = (v >> 4 & 0x0F0F0F0F0F0F0F0Full) | (v & 0x0F0F0F0F0F0F0F0Full) << 4;
    v = (v >> 2 & 0x3333333333333333ull) | (v & 0x3333333333333333ull) << 2;
    return (v >> 1 & 0x5555555555555555ull) | (v & 0x5555555555555555ull) << 1;
}

struct Header {
    int command;
    int length; // 1..1024
};

// Reads the rest of a header whose first byte h is not the end marker. A long
// header whose command field is 7 continues in the next byte, as often as
// that repeats. next(uint8_t&) yields the following stream byte or false.
template <class Next>
bool readHeader(uint8_t h, Next&& next, Header& header)
{
    int x = h;
    int command = h >> 5;
    int field = h & 0x1F;
    while (command == kLongHeader) {
        uint8_t b;
        if (!next(b))
            return false;
        command = (x >> 2) & 7;
        field = (x & 3) * 256 + b;
        x = b;
    }
    header = {command, field + 1};
    return true;
}

inline bool isCopy(int command) { return command >= kRepeat && command <= kReverse; }

// Bytes of operands that follow a header, for every command but copies.
inline int plainOperandBytes(const Header& header)
{
    switch (header.command) {
    case kLiteral: return header.length;
    case kIterate: return 1;
    case kAlternate: return 2;
    default: return 0;
    }
}

// Source position of a copy whose first operand byte is o1, with position
// bytes written so far; a two-byte source takes its low byte from next().
template <class Next>
bool readCopySource(uint8_t o1, int64_t position, Next&& next, int64_t& source)
{
    if (o1 & 0x80) {
        source = position - 1 - (o1 & 0x7F);
        return true;
    }
    uint8_t o2;
    if (!next(o2))
        return false;
    source = o1 * 256 + o2;
    return true;
}

// Whether a copy reads only output that exists when each byte is read. Forward
// copies may overlap the bytes they write; a reverse copy reads backwards.
inline bool copySourceValid(int command, int64_t source, int length, int64_t position)
{
    if (source < 0 || source >= position)
        return false;
    return command != kReverse || source - (length - 1) >= 0;
}

} // namespace vex
