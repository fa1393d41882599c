#include "picture_loader.h"

#include <QBuffer>
#include <QImageReader>
#include <array>
#include <cerrno>

#include "binary_file.h"
#include "colours.h"
#include "picture_image.h"
#include "picture_structure.h"

namespace orv {

namespace {

constexpr std::array<const char*, 5> kAcceptedFormats{"bmp", "gif", "ico", "cur", "png"};

std::unexpected<Error> refuse(ErrorKind kind)
{
    return std::unexpected(Error{.kind = kind});
}

bool accepted(const QByteArray& format)
{
    for (const char* name : kAcceptedFormats)
        if (format.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

std::expected<LoadedPicture, Error> LoadSourcePicture(const std::filesystem::path& path)
{
    // Read through the platform layer: a pipe or a device is refused instead
    // of blocking the reader, and the bytes are judged before decoding.
    auto bytes = ReadWholeFile(path, kMaxSourceFileBytes);
    if (!bytes && bytes.error().code == ENOENT)
        return refuse(ErrorKind::SourceMissing);
    if (!bytes)
        return std::unexpected(Error{.kind = ErrorKind::SourceUnreadable, .systemCode = bytes.error().code});
    if (auto cut = FindTruncation(*bytes))
        return std::unexpected(Error{.kind = ErrorKind::SourceTruncated, .value = cut->needed, .high = cut->size});
    const auto notAPicture = [] { return refuse(ErrorKind::NotAPicture); };
    const auto tooLarge = [] { return refuse(ErrorKind::SourceTooLarge); };

    QByteArray content = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes->data()),
                                                 static_cast<qsizetype>(bytes->size()));
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!reader.canRead() || !accepted(reader.format()))
        return notAPicture();
    const QSize announced = reader.size();
    if (announced.isValid() && (announced.width() > kMaxSourceSide || announced.height() > kMaxSourceSide ||
                                int64_t{announced.width()} * announced.height() > kMaxSourcePixels))
        return tooLarge();

    const QImage image = reader.read();
    if (image.isNull())
        return notAPicture();
    if (image.width() < 8 || image.height() < 8)
        return refuse(ErrorKind::SourceTooSmall);
    if (image.width() > kMaxSourceSide || image.height() > kMaxSourceSide)
        return tooLarge();

    LoadedPicture loaded;
    loaded.picture = WholeTilesFromImage(image);
    if (image.format() == QImage::Format_Indexed8 || image.format() == QImage::Format_Mono ||
        image.format() == QImage::Format_MonoLSB)
        for (QRgb entry : image.colorTable())
            loaded.colourTable.push_back(entry & 0xFFFFFFu);
    auto colours = CollectColours(loaded.picture);
    if (!colours)
        return std::unexpected(colours.error());
    loaded.colours = std::move(*colours);
    return loaded;
}

} // namespace orv
