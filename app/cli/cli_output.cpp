#include "cli_output.h"

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <array>
#include <cctype>

#include "binary_file.h"
#include "messages_en.h"
#include "picture_io.h"
#include "tiles.h"

namespace orv::cli {

namespace {

struct FormatName {
    OutputFormat format;
    const char* word;
    const char* extension;
};
constexpr std::array kFormats{
    FormatName{OutputFormat::Png, "png", ".png"},     FormatName{OutputFormat::Bitmap, "bmp", ".bmp"},
    FormatName{OutputFormat::Bitmap, "dib", ".dib"},  FormatName{OutputFormat::Orv, "orv", ".orv"},
    FormatName{OutputFormat::TileData, "2bpp", ".2bpp"}, FormatName{OutputFormat::Stream, "lz", ".lz"},
};

WorkingPicture fourShades(const PictureOutput& p)
{
    WorkingPicture shades;
    shades.width = p.width;
    shades.height = p.height;
    shades.palette = {kWhite, p.colour1, p.colour2, kBlack, kBlack};
    shades.pixels = DecodeTiles(p.tileData, shades.palette, p.width, p.height, p.order);
    return shades;
}

// An indexed picture of exactly four entries in shade order (white, colour 1,
// colour 2, black), so a paint program keeps each shade's role even where two
// shades share a colour.
QImage fourColourPng(const PictureOutput& p)
{
    WorkingPicture shades;
    shades.width = p.width;
    shades.height = p.height;
    shades.pixels = DecodeTiles(p.tileData, {0, 1, 2, 3, 3}, p.width, p.height, p.order);
    QImage image(p.width, p.height, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 255, 255), 0xFF000000u | p.colour1, 0xFF000000u | p.colour2, qRgb(0, 0, 0)});
    for (int t = 0; t < p.height; ++t)
        for (int x = 0; x < p.width; ++x) {
            const Colour shade = shades.atTop(x, t); // white where no whole tile reaches
            image.setPixel(x, t, shade <= 3 ? shade : 0);
        }
    return image;
}

std::expected<void, std::string> writeBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                                            bool flush)
{
    if (auto written = WriteWholeFile(path, bytes, flush); !written)
        return std::unexpected("could not write \"" + path.string() + "\": " + DescribeIoError(written.error()));
    return {};
}

} // namespace

std::expected<OutputFormat, std::string> FormatOfPath(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::ranges::transform(extension, extension.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const FormatName& f : kFormats)
        if (extension == f.extension)
            return f.format;
    return std::unexpected("\"" + path.string() + "\" must end in .png, .bmp, .dib, .orv, .2bpp or .lz");
}

std::optional<OutputFormat> FormatNamed(const std::string& word)
{
    for (const FormatName& f : kFormats)
        if (word == f.word)
            return f.format;
    return std::nullopt;
}

const char* ExtensionOf(OutputFormat format)
{
    return std::ranges::find(kFormats, format, &FormatName::format)->extension;
}

std::expected<void, std::string> WritePicture(const std::filesystem::path& path, OutputFormat format,
                                              const PictureOutput& picture, bool flush)
{
    switch (format) {
    case OutputFormat::TileData: return writeBytes(path, picture.tileData, flush);
    case OutputFormat::Stream: return writeBytes(path, picture.stream, flush);
    case OutputFormat::Orv:
        if (auto written = WriteOrvFile(path, picture.stream, picture.colour1, picture.colour2, picture.width,
                                        picture.height, picture.order, flush);
            !written)
            return std::unexpected(en::Text(written.error(), path.string()));
        return {};
    case OutputFormat::Bitmap:
        if (auto written = WriteBitmapFile(path, fourShades(picture), flush); !written)
            return std::unexpected(en::Text(written.error(), path.string()));
        return {};
    case OutputFormat::Png: {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!fourColourPng(picture).save(&buffer, "PNG"))
            return std::unexpected("could not encode \"" + path.string() + "\" as PNG");
        return writeBytes(path, std::span(reinterpret_cast<const uint8_t*>(png.constData()),
                                          static_cast<size_t>(png.size())),
                          flush);
    }
    }
    return std::unexpected(std::string("unknown output format"));
}

} // namespace orv::cli
