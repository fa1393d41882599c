#pragma once
// A minimal GIF writer for test fixtures (the Qt build reads GIF but does not
// write it): one global colour table, LZW with a clear code every 250 pixels
// so that every code stays 9 bits wide.

#include <QFile>
#include <QImage>
#include <QString>
#include <map>
#include <vector>

namespace orv::test {

inline bool WriteGif(const QImage& source, const QString& fileName)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> index;
    std::vector<QRgb> table;
    std::vector<int> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb rgb = image.pixel(x, y) & 0xFFFFFF;
            auto [it, added] = index.emplace(rgb, static_cast<int>(table.size()));
            if (added)
                table.push_back(rgb);
            pixels.push_back(it->second);
        }
    if (table.size() > 256)
        return false;
    table.resize(256, 0);

    QByteArray out("GIF89a");
    auto put16 = [&](int v) {
        out.append(static_cast<char>(v & 0xFF));
        out.append(static_cast<char>(v >> 8));
    };
    put16(image.width());
    put16(image.height());
    out.append(static_cast<char>(0xF7)); // global table of 256 entries, 8 bits
    out.append('\0');
    out.append('\0');
    for (QRgb rgb : table) {
        out.append(static_cast<char>(qRed(rgb)));
        out.append(static_cast<char>(qGreen(rgb)));
        out.append(static_cast<char>(qBlue(rgb)));
    }
    out.append(',');
    put16(0);
    put16(0);
    put16(image.width());
    put16(image.height());
    out.append('\0');
    out.append(static_cast<char>(8)); // LZW minimum code size

    QByteArray codes;
    uint32_t bits = 0;
    int count = 0;
    auto putCode = [&](int code) {
        bits |= static_cast<uint32_t>(code) << count;
        count += 9;
        while (count >= 8) {
            codes.append(static_cast<char>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (i % 250 == 0)
            putCode(256);
        putCode(pixels[i]);
    }
    putCode(257);
    if (count > 0)
        codes.append(static_cast<char>(bits & 0xFF));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, codes.size() - at);
        out.append(static_cast<char>(n));
        out.append(codes.mid(at, n));
    }
    out.append('\0');
    out.append(';');

    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

} // namespace orv::test
