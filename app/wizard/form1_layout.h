#pragma once
// Window geometry: the window is laid out in twips (15 per pixel), scaled
// so that every caption fits with the platform's default font.

#include <QRect>
#include <QString>

namespace orv {

inline constexpr int kTwipsPerPixel = 15;
// Layout scale over the 15-twips-per-pixel size (numerator / denominator).
inline constexpr int kScaleNum = 4;
inline constexpr int kScaleDen = 3;

// Client area of the main window in twips.
inline constexpr int kWindowWidthTwips = 4815;
inline constexpr int kWindowHeightTwips = 2370;

// Twips -> scaled pixels, rounded to nearest.
constexpr int ScaledPixels(int twips)
{
    const int den = kTwipsPerPixel * kScaleDen;
    const int num = twips * kScaleNum;
    return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
}

inline QRect ScaledRect(int left, int top, int width, int height)
{
    return {ScaledPixels(left), ScaledPixels(top), ScaledPixels(width), ScaledPixels(height)};
}

// Twips -> pixels without the layout scale (the preview works in true pixels).
constexpr int PlainPixels(int twips)
{
    return twips / kTwipsPerPixel;
}

// A caption as a label shows it: a single "&" marks an accelerator and is not
// shown, "&&" shows one "&".
QString LabelTextOf(const QString& caption);

} // namespace orv
