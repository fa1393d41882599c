#include "picture_image.h"

#include <cstring>

namespace orv {

QImage ToQImage(const WorkingPicture& picture)
{
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height)
        return {};
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    for (int t = 0; t < picture.height; ++t) {
        const Colour* row = &picture.pixels[static_cast<size_t>(picture.height - 1 - t) * picture.width];
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(t));
        for (int x = 0; x < picture.width; ++x)
            line[x] = 0xFF000000u | row[x];
    }
    return image;
}

static Colour overWhite(QRgb pixel)
{
    const unsigned alpha = qAlpha(pixel);
    if (alpha == 255)
        return pixel & 0xFFFFFF;
    auto blend = [alpha](unsigned c) { return (c * alpha + 255 * (255 - alpha) + 127) / 255; };
    return blend(qRed(pixel)) << 16 | blend(qGreen(pixel)) << 8 | blend(qBlue(pixel));
}

WorkingPicture WholeTilesFromImage(const QImage& source)
{
    WorkingPicture picture;
    const int width = source.width() / 8 * 8, height = source.height() / 8 * 8;
    if (width <= 0 || height <= 0)
        return picture;
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    picture.resize(width, height);
    for (int t = 0; t < height; ++t) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(t));
        Colour* row = &picture.pixels[static_cast<size_t>(height - 1 - t) * width];
        for (int x = 0; x < width; ++x)
            row[x] = overWhite(line[x]);
    }
    return picture;
}

} // namespace orv
