#pragma once
// Picture files written by the tests, and the wizard's German text of a refusal.

#include <QFile>
#include <QImage>
#include <expected>
#include <filesystem>
#include <string>

#include "error.h"
#include "messages_de.h"
#include "picture_fixtures.h"

namespace orv::test {

// The German text of a refusal; path the file it is about.
template <class T>
std::string Refusal(const std::expected<T, Error>& result, const std::filesystem::path& path = {})
{
    return result ? "(no refusal)" : de::Text(result.error(), path.string());
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
