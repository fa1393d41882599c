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

std::string quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

std::unexpected<LoadError> refuse(LoadFailure failure, std::string german, std::string english)
{
    return std::unexpected(LoadError{failure, std::move(german), std::move(english)});
}

bool accepted(const QByteArray& format)
{
    for (const char* name : kAcceptedFormats)
        if (format.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

std::string MissingSourceMessage(const std::filesystem::path& path)
{
    return "Die Datei " + quoted(path) + " konnte nicht gefunden werden.";
}

std::expected<LoadedPicture, LoadError> LoadSourcePicture(const std::filesystem::path& path)
{
    // Read through the platform layer: a pipe or a device is refused instead
    // of blocking the reader, and the bytes are judged before decoding.
    auto bytes = readWholeFile(path, kMaxSourceFileBytes);
    if (!bytes && bytes.error().code == ENOENT)
        return refuse(LoadFailure::Missing, MissingSourceMessage(path),
                      "The file " + quoted(path) + " could not be found.");
    if (!bytes) {
        const int code = bytes.error().code;
        return refuse(LoadFailure::Unreadable,
                      "Die Datei " + quoted(path) + " konnte nicht gelesen werden (" + systemErrorGerman(code) + ").",
                      "The file " + quoted(path) + " could not be read (" + systemErrorEnglish(code) + ").");
    }
    if (auto cut = FindTruncation(*bytes))
        return refuse(LoadFailure::Truncated,
                      "Die Bilddatei " + quoted(path) + " ist unvollständig: Ihre Kopfdaten kündigen " +
                          std::to_string(cut->needed) + " Bytes an, sie hat aber nur " + std::to_string(cut->size) +
                          ".",
                      "The picture file " + quoted(path) + " is incomplete: its headers announce " +
                          std::to_string(cut->needed) + " bytes, but it has only " + std::to_string(cut->size) +
                          ".");
    const auto notAPicture = [&] {
        return refuse(LoadFailure::NotAPicture,
                      "Die Datei " + quoted(path) + " ist keine lesbare Bilddatei (GIF, BMP, ICO, CUR oder PNG).",
                      "The file " + quoted(path) + " is not a readable picture file (GIF, BMP, ICO, CUR or PNG).");
    };
    const auto tooLarge = [&] {
        return refuse(LoadFailure::TooLarge, "Das Bild " + quoted(path) + " ist zu groß, um es zu verarbeiten.",
                      "The picture " + quoted(path) + " is too large to process.");
    };

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
        return refuse(LoadFailure::TooSmall,
                      "Das Bild " + quoted(path) +
                          " ist zu klein: Es muss mindestens 8 Pixel breit und 8 Pixel hoch sein.",
                      "The picture " + quoted(path) +
                          " is too small: it must be at least 8 pixels wide and 8 pixels high.");
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
        return refuse(LoadFailure::TooManyColours, colours.error().message, colours.error().english);
    loaded.colours = std::move(*colours);
    return loaded;
}

} // namespace orv
