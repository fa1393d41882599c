#include "picture_structure.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace orv {

namespace {

using Bytes = std::span<const uint8_t>;
using Kind = PictureExtent::Kind;
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

// The file's first bytes and its whole size: whether `end` bytes can be
// looked at, and if not, whether the file lacks them or only the prefix.
struct Walk {
    Bytes f;
    int64_t size;

    // None when the first `end` bytes are at hand.
    std::optional<PictureExtent> need(int64_t end) const
    {
        if (end <= static_cast<int64_t>(f.size()))
            return std::nullopt;
        return PictureExtent{end <= size ? Kind::NeedMore : Kind::Truncated, end};
    }
    PictureExtent endsAt(int64_t end) const
    {
        return end <= size ? PictureExtent{Kind::Complete, end} : PictureExtent{Kind::Truncated, end};
    }
};

// The pixel rows (or the compressed size the header gives) after bfOffBits.
PictureExtent bitmap(const Walk& w)
{
    if (auto more = w.need(30))
        return *more;
    const int64_t offBits = le32(w.f, 10), infoSize = le32(w.f, 14);
    if (infoSize < 12)
        return w.endsAt(14 + 12);
    // The core header's fields end at 26, the others' read here at 38.
    if (auto more = w.need(infoSize == 12 ? 26 : 38))
        return *more;
    int64_t width, height, bits, compression = 0, imageSize = 0;
    if (infoSize == 12) {
        width = le16(w.f, 18), height = static_cast<int16_t>(le16(w.f, 20)), bits = le16(w.f, 24);
    } else {
        width = static_cast<int32_t>(le32(w.f, 18)), height = static_cast<int32_t>(le32(w.f, 22));
        bits = le16(w.f, 28), compression = le32(w.f, 30), imageSize = le32(w.f, 34);
    }
    const int64_t rows = std::llabs(height);
    const int64_t start = std::max<int64_t>(offBits, 14 + infoSize);
    if (std::llabs(width) > kMaxSide || rows > kMaxSide)
        return w.endsAt(std::min(start, w.size)); // the loader refuses such sizes by itself
    if (compression == 0 || compression == 3) // plain rows, padded to 4 bytes
        return w.endsAt(start + (std::llabs(width) * bits + 31) / 32 * 4 * rows);
    // Run-length and embedded formats give their size; some writers leave it 0.
    return imageSize > 0 ? w.endsAt(start + imageSize) : w.endsAt(std::max(start, w.size));
}

// Walks the blocks up to the trailer; a file that ends right after a whole
// block (some writers drop the trailer) is complete, one cut inside is not.
PictureExtent gif(const Walk& w)
{
    int64_t at = 13;
    if (auto more = w.need(at))
        return *more;
    if (w.f[10] & 0x80)
        at += 3 << ((w.f[10] & 7) + 1);
    // The sub-blocks from `at` up to their terminator; none when they are whole.
    const auto subBlocks = [&]() -> std::optional<PictureExtent> {
        for (;;) {
            if (at >= w.size)
                return PictureExtent{Kind::Truncated, at + 1};
            if (auto more = w.need(at + 1))
                return more;
            const int64_t length = w.f[static_cast<size_t>(at++)];
            if (length == 0)
                return std::nullopt;
            at += length;
        }
    };
    bool image = false;
    while (at < w.size) {
        if (auto more = w.need(at + 1))
            return *more;
        const uint8_t kind = w.f[static_cast<size_t>(at++)];
        if (kind == 0x3B)
            return w.endsAt(at);
        if (kind == 0x21) {
            ++at; // label
            if (auto stop = subBlocks())
                return *stop;
        } else if (kind == 0x2C) {
            if (at + 9 > w.size)
                return PictureExtent{Kind::Truncated, at + 9};
            if (auto more = w.need(at + 9))
                return *more;
            const uint8_t packed = w.f[static_cast<size_t>(at + 8)];
            at += 9;
            if (packed & 0x80)
                at += 3 << ((packed & 7) + 1);
            ++at; // LZW minimum code size
            if (auto stop = subBlocks())
                return *stop;
            image = true;
        } else {
            return w.endsAt(at); // not a block the walk knows; the reader judges what came before
        }
    }
    if (at > w.size || !image)
        return PictureExtent{Kind::Truncated, at + 1};
    return w.endsAt(at);
}

// Every chunk whole, up to IEND.
PictureExtent png(const Walk& w)
{
    for (int64_t at = 8;;) {
        if (at + 8 > w.size)
            return PictureExtent{Kind::Truncated, at + 12};
        if (auto more = w.need(at + 8))
            return *more;
        const int64_t end = at + 12 + be32(w.f, static_cast<size_t>(at));
        if (end > w.size)
            return PictureExtent{Kind::Truncated, end};
        if (startsWith(w.f.subspan(static_cast<size_t>(at) + 4), "IEND"))
            return w.endsAt(end);
        at = end;
    }
}

// Each image the directory lists lies inside the file.
PictureExtent icon(const Walk& w)
{
    const int64_t count = le16(w.f, 4);
    if (auto more = w.need(6 + 16 * count))
        return *more;
    int64_t end = 6 + 16 * count;
    for (int64_t i = 0; i < count; ++i) {
        const auto entry = static_cast<size_t>(6 + 16 * i);
        end = std::max<int64_t>(end, int64_t{le32(w.f, entry + 12)} + le32(w.f, entry + 8));
    }
    return w.endsAt(end);
}

} // namespace

PictureExtent MeasurePicture(std::span<const uint8_t> prefix, int64_t fileSize)
{
    const Walk w{prefix.first(static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(prefix.size()), fileSize))),
                 fileSize};
    if (startsWith(w.f, "BM"))
        return bitmap(w);
    if (startsWith(w.f, "GIF87a") || startsWith(w.f, "GIF89a"))
        return gif(w);
    if (startsWith(w.f, "\x89PNG\r\n\x1a\n"))
        return png(w);
    if (w.f.size() >= 6 && le16(w.f, 0) == 0 && (le16(w.f, 2) == 1 || le16(w.f, 2) == 2) && le16(w.f, 4) > 0)
        return icon(w);
    return {};
}

} // namespace orv
