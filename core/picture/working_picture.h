#pragma once
// The picture the wizard converts: size, pixels and the four-shade palette.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv {

using Colour = uint32_t; // 0x00RRGGBB, the pixel order of a 32-bit bitmap

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;

enum class TileOrder : uint8_t { Horizontal, Vertical };

struct WorkingPicture {
    int width = 0;  // PicWidth, pixels
    int height = 0; // PicHeight, pixels
    // PixelGrid: element (x, y) at y * width + x; row y = 0 is the bottom line.
    std::vector<Colour> pixels;
    // [0] white, [1] colour 1, [2] colour 2, [3] black, [4] substitute colour.
    std::array<Colour, 5> palette{kWhite, 0, 0, kBlack, 0};

    Colour at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    Colour& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    // Picture line t (0 = top) is grid row height - 1 - t.
    Colour atTop(int x, int t) const { return at(x, height - 1 - t); }

    void resize(int w, int h)
    {
        width = w;
        height = h;
        pixels.assign(static_cast<size_t>(w) * h, kWhite);
    }
};

} // namespace orv
