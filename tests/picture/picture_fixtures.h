#pragma once
// Pictures built by code, and a GIF writer (Qt reads GIF but cannot write it).

#include <QFile>
#include <QImage>
#include <algorithm>
#include <expected>
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

template <class T, class E>
std::string Refusal(const std::expected<T, E>& result)
{
    return result ? "(no refusal)" : result.error().message;
}

// Up to 128 colours; LZW codes of 8 bits (minimum code size 7) with a clear
// code every 100 pixels, so the code width never grows and a code is a byte.
inline bool WriteGif(const QImage& image, const QString& fileName)
{
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8); // exact up to 256 colours
    const int w = image.width(), h = image.height();
    const auto le16 = [](int v) { return QByteArray(1, char(v)) + char(v >> 8); };
    QByteArray out = "GIF89a" + le16(w) + le16(h) + QByteArray("\xF6\0\0", 3), codes;
    for (QRgb rgb : indexed.colorTable())
        out += QByteArray(1, char(qRed(rgb))) + char(qGreen(rgb)) + char(qBlue(rgb));
    out.resize(13 + 3 * 128, '\0');
    out += ',' + le16(0) + le16(0) + le16(w) + le16(h) + QByteArray("\0\x07", 2);
    for (int i = 0; i < w * h; ++i)
        codes += (i % 100 ? QByteArray() : QByteArray(1, char(0x80))) + char(indexed.pixelIndex(i % w, i / w));
    for (codes += char(0x81); !codes.isEmpty(); codes.remove(0, 255))
        out += char(std::min<qsizetype>(255, codes.size())) + codes.left(255);
    QFile file(fileName);
    return indexed.colorCount() <= 128 && file.open(QIODevice::WriteOnly) && file.write(out + QByteArray("\0;", 2)) > 0;
}

} // namespace orv::test
