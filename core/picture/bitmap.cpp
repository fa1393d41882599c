#include "bitmap.h"

namespace orv {

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kPixelsPerMetre = 3780; // 96 dots per inch

void put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

} // namespace

std::vector<uint8_t> EncodeBitmap(const WorkingPicture& picture)
{
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height)
        return {};
    const uint32_t width = static_cast<uint32_t>(picture.width), height = static_cast<uint32_t>(picture.height);
    const uint32_t rowBytes = (width * 3 + 3) & ~3u;
    const uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes;
    // The header's sizes are 32-bit.
    if (uint64_t{rowBytes} * height > UINT32_MAX - offset)
        return {};
    const uint32_t imageBytes = rowBytes * height;

    std::vector<uint8_t> out;
    out.reserve(offset + imageBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + imageBytes);
    put32(out, 0); // reserved
    put32(out, offset);
    put32(out, kInfoHeaderBytes);
    put32(out, width);
    put32(out, height); // positive: bottom-up rows, like the grid
    put16(out, 1);      // planes
    put16(out, 24);     // bits per pixel
    put32(out, 0);      // BI_RGB
    put32(out, imageBytes);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0); // colours used
    put32(out, 0); // important colours

    for (uint32_t y = 0; y < height; ++y) {
        const Colour* row = &picture.pixels[static_cast<size_t>(y) * width];
        for (uint32_t x = 0; x < width; ++x) {
            out.push_back(static_cast<uint8_t>(row[x]));       // blue
            out.push_back(static_cast<uint8_t>(row[x] >> 8));  // green
            out.push_back(static_cast<uint8_t>(row[x] >> 16)); // red
        }
        out.resize(out.size() + (rowBytes - width * 3), 0);
    }
    return out;
}

} // namespace orv
