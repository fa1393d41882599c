#include "reference_encoder.h"

namespace vextest {

uint8_t referenceBitReverse(uint8_t b)
{
    uint8_t r = 0;
    for (int bit = 0; bit < 8; ++bit)
        r = static_cast<uint8_t>(r << 1 | (b >> bit & 1));
    return r;
}

std::vector<uint8_t> referenceEncode(std::span<const uint8_t> in)
{
    enum { Literal, Iterate, Alternate, ZeroFill, Repeat, Flip, Reverse };
    struct Candidate {
        int command;
        int64_t length, score, source = 0;
    };
    const auto n = static_cast<int64_t>(in.size());
    std::vector<uint8_t> out;
    auto header = [&out](int command, int64_t length) {
        if (length > 32)
            out.push_back(static_cast<uint8_t>(0xE0 | command * 4 | (length - 1) >> 8));
        out.push_back(static_cast<uint8_t>(length > 32 ? length - 1 : command * 32 + length - 1));
    };
    auto longHeader = [](int64_t length) { return length > 32 ? 1 : 0; };
    int64_t literalStart = 0, literalCount = 0; // no literal run pending while 0
    auto flush = [&] {
        if (literalCount > 0)
            header(Literal, literalCount);
        out.insert(out.end(), in.data() + literalStart, in.data() + literalStart + literalCount);
        literalCount = 0;
    };
    // Bytes from p on that equal in[j], in[j + step], in[j + 2 * step], ...
    // (bit-reversed first when flipped), at most 1024.
    auto match = [&](int64_t p, int64_t j, int step, bool flipped) {
        int64_t m = 0;
        while (m < 1024 && p + m < n && j + step * m >= 0 &&
               (flipped ? referenceBitReverse(in[p + m]) : in[p + m]) == in[j + step * m])
            ++m;
        return m;
    };

    for (int64_t p = 0; p < n;) {
        const uint8_t c = in[p], flippedC = referenceBitReverse(c);
        const int64_t pending = literalCount > 0 ? 1 : 0;
        Candidate best{-1, 0, pending - 1};
        const int64_t run = match(p, p, 0, false);
        if (const int64_t score = run - (c == 0 ? 1 : 2) - longHeader(run); score > best.score)
            best = {c == 0 ? ZeroFill : Iterate, run, score};

        // Copies from every earlier position, nearest first; a source at 32768
        // or beyond only fits the relative form.
        Candidate copy{-1, best.length, 0};
        for (int64_t j = p - 1; j >= 0; --j) {
            if ((in[j] != c && in[j] != flippedC) || (j >= 32768 && p - j > 128))
                continue;
            if (const int64_t m = match(p, j, 1, false);
                m > copy.length || (m == copy.length && copy.command == Reverse))
                copy = {Repeat, m, 0, j};
            if (const int64_t m = match(p, j, -1, false); m > copy.length)
                copy = {Reverse, m, 0, j};
            if (const int64_t m = match(p, j, 1, true); m > copy.length)
                copy = {Flip, m, 0, j};
        }
        copy.score = copy.length - (p - copy.source <= 128 ? 2 : 3);
        if (copy.command >= 0 && copy.length + copy.score > best.length + best.score)
            best = copy;

        if (p + 1 < n) {
            int64_t alt = 2;
            while (alt < 1024 && p + alt < n && in[p + alt] == in[p + alt % 2])
                ++alt;
            if (const Candidate a{Alternate, alt, alt - 3 - longHeader(alt)}; a.score >= best.score)
                best = a;
        }

        if (pending > best.score) {
            if (literalCount == 1024)
                flush();
            if (literalCount++ == 0)
                literalStart = p;
            ++p;
            continue;
        }
        flush();
        header(best.command, best.length);
        const int64_t back = p - best.source;
        if (best.command == Iterate || best.command == Alternate) // the byte, or the two bytes
            out.insert(out.end(), in.begin() + p, in.begin() + p + best.command);
        else if (best.command >= Repeat && back <= 128)
            out.push_back(static_cast<uint8_t>(0x80 | (back - 1)));
        else if (best.command >= Repeat)
            out.insert(out.end(), {static_cast<uint8_t>(best.source >> 8),
                                   static_cast<uint8_t>(best.source)});
        p += best.length;
    }
    flush();
    out.push_back(0xFF);
    return out;
}

} // namespace vextest
