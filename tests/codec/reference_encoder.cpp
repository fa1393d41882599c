#include "reference_encoder.h"

namespace vextest {

namespace {

enum { Literal = 0, Iterate = 1, Alternate = 2, ZeroFill = 3, Repeat = 4, Flip = 5, Reverse = 6 };

void putHeader(std::vector<uint8_t>& out, int command, int64_t length)
{
    if (length <= 32) {
        out.push_back(static_cast<uint8_t>(command * 32 + length - 1));
    } else {
        out.push_back(static_cast<uint8_t>(0xE0 | command * 4 | (length - 1) >> 8));
        out.push_back(static_cast<uint8_t>((length - 1) & 0xFF));
    }
}

int64_t longHeader(int64_t length) { return length > 32 ? 1 : 0; }

} // namespace

uint8_t referenceBitReverse(uint8_t b)
{
    uint8_t r = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (b & (1 << bit))
            r = static_cast<uint8_t>(r | (0x80 >> bit));
    return r;
}

std::vector<uint8_t> referenceEncode(std::span<const uint8_t> in)
{
    const int64_t n = static_cast<int64_t>(in.size());
    std::vector<uint8_t> out;
    bool pending = false;
    int64_t literalStart = 0;
    int64_t literalCount = 0;
    auto flush = [&] {
        putHeader(out, Literal, literalCount);
        out.insert(out.end(), in.begin() + literalStart, in.begin() + literalStart + literalCount);
        pending = false;
    };

    int64_t p = 0;
    while (p < n) {
        const uint8_t c = in[p];
        const uint8_t flipped = referenceBitReverse(c);
        const int64_t L = pending ? 1 : 0;
        int64_t bestScore = L - 1;
        int64_t bestLength = 0;
        int bestCommand = -1;
        int64_t bestSource = 0;
        uint8_t opA = 0, opB = 0;

        // Run of c.
        int64_t r = 0;
        while (r < 1024 && p + r < n && in[p + r] == c)
            ++r;
        const int64_t runScore = (c == 0 ? r - 1 : r - 2) - longHeader(r);
        if (runScore > bestScore) {
            bestScore = runScore;
            bestLength = r;
            bestCommand = c == 0 ? ZeroFill : Iterate;
            opA = c;
        }

        // Copies from every earlier position, nearest first.
        int64_t copyLength = bestLength;
        int copyCommand = -1;
        int64_t copySource = 0;
        for (int64_t j = p - 1; j >= 0; --j) {
            if (j >= 32768 && p - j > 128)
                continue; // would need an absolute source beyond 15 bits
            if (in[j] == c) {
                int64_t m = 0;
                while (m < 1024 && p + m < n && in[p + m] == in[j + m])
                    ++m;
                if (m > copyLength || (m == copyLength && copyCommand == Reverse)) {
                    copyLength = m;
                    copyCommand = Repeat;
                    copySource = j;
                }
                m = 0;
                while (m < 1024 && p + m < n && j - m >= 0 && in[p + m] == in[j - m])
                    ++m;
                if (m > copyLength) {
                    copyLength = m;
                    copyCommand = Reverse;
                    copySource = j;
                }
            }
            if (in[j] == flipped) {
                int64_t m = 0;
                while (m < 1024 && p + m < n && referenceBitReverse(in[p + m]) == in[j + m])
                    ++m;
                if (m > copyLength) {
                    copyLength = m;
                    copyCommand = Flip;
                    copySource = j;
                }
            }
        }
        if (copyCommand >= 0 && copyLength > bestLength) {
            const int64_t s = p - copySource <= 128 ? copyLength - 2 : copyLength - 3;
            if (copyLength + s > bestLength + bestScore) {
                bestScore = s;
                bestLength = copyLength;
                bestCommand = copyCommand;
                bestSource = copySource;
            }
        }

        // Alternate.
        if (p + 1 < n) {
            const uint8_t a = c;
            const uint8_t b = in[p + 1];
            int64_t alt = 2;
            while (alt < 1024 && p + alt < n && in[p + alt] == (alt % 2 == 0 ? a : b))
                ++alt;
            const int64_t altScore = alt - 3 - longHeader(alt);
            if (altScore >= bestScore) {
                bestScore = altScore;
                bestLength = alt;
                bestCommand = Alternate;
                opA = a;
                opB = b;
            }
        }

        if (L > bestScore) {
            if (pending && literalCount == 1024)
                flush();
            if (!pending) {
                pending = true;
                literalStart = p;
                literalCount = 0;
            }
            ++literalCount;
            ++p;
            continue;
        }
        if (pending)
            flush();
        putHeader(out, bestCommand, bestLength);
        if (bestCommand == Iterate) {
            out.push_back(opA);
        } else if (bestCommand == Alternate) {
            out.push_back(opA);
            out.push_back(opB);
        } else if (bestCommand >= Repeat) {
            const int64_t d = p - bestSource;
            if (d <= 128) {
                out.push_back(static_cast<uint8_t>(0x80 | (d - 1)));
            } else {
                out.push_back(static_cast<uint8_t>(bestSource >> 8));
                out.push_back(static_cast<uint8_t>(bestSource & 0xFF));
            }
        }
        p += bestLength;
    }
    if (pending)
        flush();
    out.push_back(0xFF);
    return out;
}

} // namespace vextest
