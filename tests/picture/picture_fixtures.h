#pragma once
// Pictures built by code for the tests.

#include <functional>

#include "colours.h"
#include "working_picture.h"

namespace orv::test {

constexpr Colour kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;

// Palette white, yellow, blue, black, substitute black.
inline Palette FourShades() { return {kWhite, kYellow, kBlue, kBlack, kBlack}; }

// colourAt(x, t) gives the pixel in column x of picture line t (0 = top).
inline WorkingPicture MakePicture(int width, int height, const std::function<Colour(int, int)>& colourAt,
                                  const Palette& palette = FourShades())
{
    WorkingPicture picture;
    picture.resize(width, height);
    picture.palette = palette;
    for (int t = 0; t < height; ++t)
        for (int x = 0; x < width; ++x)
            picture.at(x, height - 1 - t) = colourAt(x, t);
    return picture;
}

// A picture made of palette colours 0..3 in a pattern that differs in every
// tile, row and column.
inline WorkingPicture ShadePattern(int width, int height, const Palette& palette = FourShades())
{
    return MakePicture(
        width, height, [&](int x, int t) { return palette[static_cast<size_t>((x * 7 + t * 3 + x * t) % 4)]; },
        palette);
}

} // namespace orv::test
