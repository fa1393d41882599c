#include "tiles.h"

#include <algorithm>
#include <utility>

namespace orv {

namespace {

constexpr size_t kTileBytes = 16;

// Grid row (bottom-up) of pixel row r in tile row ty of a picture `down` tiles high.
int gridRow(int down, int ty, int r) { return 8 * (down - 1 - ty) + 7 - r; }

bool coherent(const WorkingPicture& picture)
{
    return picture.width > 0 && picture.height > 0 &&
           picture.pixels.size() == static_cast<size_t>(picture.width) * picture.height;
}

} // namespace

TilePlace TileAt(int k, int across, int down, TileOrder order)
{
    if (order == TileOrder::Horizontal)
        return {k % across, k / across};
    return {k / down, k % down};
}

std::vector<uint8_t> EncodeTiles(const WorkingPicture& picture, TileOrder order, int32_t rawLength)
{
    return EncodeTiles(picture, picture.palette, order, rawLength);
}

std::vector<uint8_t> EncodeTiles(const WorkingPicture& picture, const Palette& palette, TileOrder order,
                                 int32_t rawLength)
{
    std::vector<uint8_t> out(static_cast<size_t>(std::max(rawLength, 0)), 0);
    if (!coherent(picture))
        return out;
    const int across = picture.width / 8, down = picture.height / 8;
    const int tiles = across * down;
    size_t pos = 0;
    for (int k = 0; k < tiles && pos < out.size(); ++k) {
        const TilePlace place = TileAt(k, across, down, order);
        for (int r = 0; r < 8; ++r, pos += 2) {
            const Colour* line = &picture.pixels[static_cast<size_t>(gridRow(down, place.row, r)) * picture.width +
                                                 8 * place.column];
            unsigned lo = 0, hi = 0;
            for (int c = 0; c < 8; ++c) {
                const int shade = ShadeIndex(palette, line[c]);
                lo = lo << 1 | (shade & 1);
                hi = hi << 1 | (shade >> 1);
            }
            if (pos < out.size())
                out[pos] = static_cast<uint8_t>(lo);
            if (pos + 1 < out.size())
                out[pos + 1] = static_cast<uint8_t>(hi);
        }
    }
    return out;
}

std::vector<Colour> DecodeTiles(std::span<const uint8_t> tileData, const Palette& palette, int width,
                                int height, TileOrder order)
{
    if (width <= 0 || height <= 0)
        return {};
    std::vector<Colour> pixels(static_cast<size_t>(width) * height, kWhite);
    const int across = width / 8, down = height / 8;
    const int tiles = across * down;
    auto byteAt = [&](size_t i) -> unsigned { return i < tileData.size() ? tileData[i] : 0; };
    for (int k = 0; k < tiles; ++k) {
        const TilePlace place = TileAt(k, across, down, order);
        const size_t base = static_cast<size_t>(k) * kTileBytes;
        for (int r = 0; r < 8; ++r) {
            const unsigned lo = byteAt(base + 2 * r), hi = byteAt(base + 2 * r + 1);
            Colour* line = &pixels[static_cast<size_t>(gridRow(down, place.row, r)) * width + 8 * place.column];
            for (int c = 0; c < 8; ++c) {
                const int bit = 7 - c;
                line[c] = palette[((lo >> bit) & 1) | (((hi >> bit) & 1) << 1)];
            }
        }
    }
    return pixels;
}

void ExchangeTileColours(std::span<uint8_t> tileData, bool blackWhite, bool lightDark)
{
    if (!blackWhite && !lightDark)
        return;
    for (size_t i = 0; i + 1 < tileData.size(); i += 2) {
        const uint8_t lo = tileData[i], hi = tileData[i + 1];
        if (blackWhite && lightDark) {
            tileData[i] = static_cast<uint8_t>(~lo);
            tileData[i + 1] = static_cast<uint8_t>(~hi);
        } else if (blackWhite) {
            tileData[i] = static_cast<uint8_t>(~hi);
            tileData[i + 1] = static_cast<uint8_t>(~lo);
        } else {
            tileData[i] = hi;
            tileData[i + 1] = lo;
        }
    }
}

Palette ExchangedPalette(Palette palette, bool blackWhite, bool lightDark)
{
    if (lightDark)
        std::swap(palette[1], palette[2]);
    if (blackWhite)
        std::swap(palette[0], palette[3]);
    return palette;
}

std::vector<uint8_t> WrapUncompressed(std::span<const uint8_t> tileData)
{
    constexpr size_t kChunk = 1024;
    const size_t chunks = tileData.size() / kChunk, rest = tileData.size() % kChunk;
    std::vector<uint8_t> out;
    out.reserve(tileData.size() + 2 * chunks + 3);
    auto copy = [&](size_t from, size_t count) {
        out.insert(out.end(), tileData.begin() + static_cast<ptrdiff_t>(from),
                   tileData.begin() + static_cast<ptrdiff_t>(from + count));
    };
    for (size_t j = 0; j < chunks; ++j) {
        out.push_back(0xE3);
        out.push_back(0xFF);
        copy(j * kChunk, kChunk);
    }
    if (rest >= 1 && rest <= 32) {
        out.push_back(static_cast<uint8_t>(rest - 1));
    } else if (rest > 32) {
        out.push_back(static_cast<uint8_t>(0xE0 | ((rest - 1) >> 8)));
        out.push_back(static_cast<uint8_t>((rest - 1) & 0xFF));
    }
    copy(chunks * kChunk, rest);
    out.push_back(0xFF);
    return out;
}

} // namespace orv
