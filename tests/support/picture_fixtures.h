#pragma once
// Pictures built by code, and a GIF writer (Qt reads GIF but cannot write it).

#include <algorithm>
#include <functional>
#include <string>

#include "colours.h"
#include "working_picture.h"

namespace orv::test {

constexpr Colour kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;
constexpr Palette kFourShades{kWhite, kYellow, kBlue, kBlack, kBlack};

// colourAt(x, t) gives the pixel in column x of picture line t (0 = top).
inline WorkingPicture MakePicture(int width, int height, const std::function<Colour(int, int)>& colourAt,
                                  const Palette& palette = kFourShades)
{
    WorkingPicture picture{width, height, {}, palette};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.pixels.push_back(colourAt(x, height - 1 - y));
    return picture;
}

// Palette colours 0..3 in a pattern that differs in every tile, row and column.
inline WorkingPicture ShadePattern(int width, int height, const Palette& palette = kFourShades)
{
    return MakePicture(width, height, [&](int x, int t) { return palette[(x * 7 + t * 3 + x * t) % 4]; }, palette);
}

} // namespace orv::test
