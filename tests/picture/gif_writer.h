#pragma once
// A minimal GIF writer for test fixtures (Qt reads GIF but does not write
// it): a 256-entry colour table and LZW with a clear code every 250 pixels,
// so every code stays 9 bits wide.

#include <QFile>
#include <QImage>
#include <map>

namespace orv::test {

inline bool WriteGif(const QImage& image, const QString& fileName)
{
    std::map<QRgb, int> index;
    QByteArray table, codes;
    uint32_t bits = 0;
    int count = 0;
    auto putCode = [&](int code) {
        bits |= static_cast<uint32_t>(code) << count;
        for (count += 9; count >= 8; count -= 8, bits >>= 8)
            codes.append(static_cast<char>(bits & 0xFF));
    };
    for (int i = 0; i < image.width() * image.height(); ++i) {
        const QRgb rgb = image.pixel(i % image.width(), i / image.width());
        auto [it, added] = index.emplace(rgb, static_cast<int>(index.size()));
        if (added)
            for (int c : {qRed(rgb), qGreen(rgb), qBlue(rgb)})
                table.append(static_cast<char>(c));
        if (i % 250 == 0)
            putCode(256);
        putCode(it->second);
    }
    putCode(257);
    if (count > 0)
        codes.append(static_cast<char>(bits & 0xFF));
    if (index.size() > 256)
        return false;
    table.resize(3 * 256, '\0');

    auto size16 = [](int w, int h) {
        QByteArray bytes;
        for (int v : {w, w >> 8, h, h >> 8})
            bytes.append(static_cast<char>(v));
        return bytes;
    };
    QByteArray out = "GIF89a" + size16(image.width(), image.height()) + QByteArray("\xF7\0\0", 3) + table;
    out += "," + size16(0, 0) + size16(image.width(), image.height()) + QByteArray("\0\x08", 2);
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const qsizetype n = std::min<qsizetype>(255, codes.size() - at);
        out += static_cast<char>(n) + codes.mid(at, n);
    }
    out += QByteArray("\0;", 2);
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(out) == out.size();
}

} // namespace orv::test
