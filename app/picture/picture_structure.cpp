#include "picture_structure.h"

#include <algorithm>
#include <cstdlib>

namespace orv {

namespace {

using Bytes = std::span<const uint8_t>;
constexpr int64_t kMaxSide = 1 << 20;

uint32_t le16(Bytes b, size_t at) { return b[at] | b[at + 1] << 8; }
uint32_t le32(Bytes b, size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }
uint32_t be32(Bytes b, size_t at)
{
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}
bool startsWith(Bytes b, std::string_view magic)
{
    return b.size() >= magic.size() && std::equal(magic.begin(), magic.end(), b.begin(),
                                                  [](char m, uint8_t c) { return static_cast<uint8_t>(m) == c; });
}

std::optional<Truncation> shortOf(int64_t needed, Bytes file)
{
    if (needed > static_cast<int64_t>(file.size()))
        return Truncation{needed, static_cast<int64_t>(file.size())};
    return std::nullopt;
}

// The pixel rows (or the compressed size the header gives) after bfOffBits.
std::optional<Truncation> bitmap(Bytes f)
{
    if (f.size() < 30)
        return shortOf(30, f);
    const int64_t offBits = le32(f, 10), infoSize = le32(f, 14);
    if (infoSize < 12 || f.size() < 14 + static_cast<size_t>(std::min<int64_t>(infoSize, 40)))
        return shortOf(14 + std::max<int64_t>(infoSize, 12), f);
    int64_t width, height, bits, compression = 0, imageSize = 0;
    if (infoSize == 12) {
        width = le16(f, 18), height = static_cast<int16_t>(le16(f, 20)), bits = le16(f, 24);
    } else {
        width = static_cast<int32_t>(le32(f, 18)), height = static_cast<int32_t>(le32(f, 22));
        bits = le16(f, 28), compression = le32(f, 30), imageSize = le32(f, 34);
    }
    const int64_t rows = std::llabs(height);
    if (std::llabs(width) > kMaxSide || rows > kMaxSide)
        return std::nullopt; // the loader refuses such sizes by itself
    int64_t pixels = 0;
    if (compression == 0 || compression == 3) // plain rows, padded to 4 bytes
        pixels = (std::llabs(width) * bits + 31) / 32 * 4 * rows;
    else
        pixels = imageSize; // run-length and embedded formats give their size
    return shortOf(std::max<int64_t>(offBits, 14 + infoSize) + pixels, f);
}

// Walks the blocks up to the trailer; a file that ends right after a whole
// block (some writers drop the trailer) is complete, one cut inside is not.
std::optional<Truncation> gif(Bytes f)
{
    size_t at = 13;
    if (f.size() < at)
        return shortOf(at, f);
    if (f[10] & 0x80)
        at += 3u << ((f[10] & 7) + 1);
    const auto subBlocks = [&]() -> bool {
        for (;;) {
            if (at >= f.size())
                return false;
            const size_t length = f[at++];
            if (length == 0)
                return true;
            at += length;
        }
    };
    bool image = false;
    while (at < f.size()) {
        const uint8_t kind = f[at++];
        if (kind == 0x3B)
            return std::nullopt;
        if (kind == 0x21) {
            ++at; // label
            if (!subBlocks())
                return shortOf(static_cast<int64_t>(at) + 1, f);
        } else if (kind == 0x2C) {
            if (at + 9 > f.size())
                return shortOf(static_cast<int64_t>(at) + 9, f);
            const uint8_t packed = f[at + 8];
            at += 9;
            if (packed & 0x80)
                at += 3u << ((packed & 7) + 1);
            ++at; // LZW minimum code size
            if (!subBlocks())
                return shortOf(static_cast<int64_t>(at) + 1, f);
            image = true;
        } else {
            return std::nullopt; // not a block the walk knows; the reader judges it
        }
    }
    if (at > f.size() || !image)
        return shortOf(static_cast<int64_t>(at) + 1, f);
    return std::nullopt;
}

// Every chunk whole, up to IEND.
std::optional<Truncation> png(Bytes f)
{
    for (size_t at = 8;;) {
        if (at + 8 > f.size())
            return shortOf(static_cast<int64_t>(at) + 12, f);
        const int64_t end = static_cast<int64_t>(at) + 12 + be32(f, at);
        if (end > static_cast<int64_t>(f.size()))
            return shortOf(end, f);
        if (startsWith(f.subspan(at + 4), "IEND"))
            return std::nullopt;
        at = static_cast<size_t>(end);
    }
}

// Each image the directory lists lies inside the file.
std::optional<Truncation> icon(Bytes f)
{
    const size_t count = le16(f, 4);
    if (f.size() < 6 + 16 * count)
        return shortOf(static_cast<int64_t>(6 + 16 * count), f);
    int64_t needed = 0;
    for (size_t i = 0; i < count; ++i)
        needed = std::max<int64_t>(needed, int64_t{le32(f, 6 + 16 * i + 12)} + le32(f, 6 + 16 * i + 8));
    return shortOf(needed, f);
}

} // namespace

std::optional<Truncation> FindTruncation(std::span<const uint8_t> file)
{
    if (startsWith(file, "BM"))
        return bitmap(file);
    if (startsWith(file, "GIF87a") || startsWith(file, "GIF89a"))
        return gif(file);
    if (startsWith(file, "\x89PNG\r\n\x1a\n"))
        return png(file);
    if (file.size() >= 6 && le16(file, 0) == 0 && (le16(file, 2) == 1 || le16(file, 2) == 2) && le16(file, 4) > 0)
        return icon(file);
    return std::nullopt;
}

} // namespace orv
