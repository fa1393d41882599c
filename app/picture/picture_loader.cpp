#include "picture_loader.h"

#include <QBuffer>
#include <QImageReader>
#include <array>
#include <algorithm>
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

namespace {

// The bytes of the file that its format takes: read by structure (the first
// 64 KiB, then on as the walk needs them), never past the format's end or the cap.
struct FormatBytes {
    std::vector<uint8_t> bytes;
    PictureExtent extent;
    int64_t fileSize = 0;
};

std::expected<FormatBytes, IoError> readByStructure(const std::filesystem::path& path)
{
    constexpr int64_t kFirstRead = 64 << 10;
    auto file = BinaryFile::open(path);
    if (!file)
        return std::unexpected(file.error());
    auto size = file->size();
    if (!size)
        return std::unexpected(size.error());
    FormatBytes read;
    int64_t wanted = std::min(*size, kFirstRead);
    for (;;) {
        const auto had = static_cast<int64_t>(read.bytes.size());
        if (wanted > had) {
            read.bytes.resize(static_cast<size_t>(wanted));
            auto got = file->readSomeAt(had, std::span(read.bytes).subspan(static_cast<size_t>(had)));
            if (!got)
                return std::unexpected(got.error());
            read.bytes.resize(static_cast<size_t>(had) + *got);
            if (static_cast<int64_t>(read.bytes.size()) < wanted)
                *size = static_cast<int64_t>(read.bytes.size()); // shrunk meanwhile
        }
        read.extent = MeasurePicture(read.bytes, *size);
        read.fileSize = *size;
        const int64_t at = read.extent.bytes;
        using Kind = PictureExtent::Kind;
        if (read.extent.kind == Kind::Unknown || read.extent.kind == Kind::Truncated || at > kMaxSourceFileBytes)
            return read;
        if (read.extent.kind == Kind::Complete && at <= static_cast<int64_t>(read.bytes.size())) {
            read.bytes.resize(static_cast<size_t>(at));
            return read;
        }
        // A walk that needs more reads at least half as much again, so a
        // file of many small chunks is not walked once per chunk.
        const auto now = static_cast<int64_t>(read.bytes.size());
        wanted = read.extent.kind == Kind::Complete ? at : std::min({std::max(at, now + now / 2), *size, kMaxSourceFileBytes});
    }
}

} // namespace

std::expected<LoadedPicture, LoadError> LoadSourcePicture(const std::filesystem::path& path)
{
    // Read through the platform layer: a pipe or a device is refused instead
    // of blocking the reader, and the bytes are judged before decoding.
    auto read = readByStructure(path);
    if (!read && read.error().code == ENOENT)
        return refuse(LoadFailure::Missing, MissingSourceMessage(path),
                      "The file " + quoted(path) + " could not be found.");
    const auto unreadable = [&](int code) {
        return refuse(LoadFailure::Unreadable,
                      "Die Datei " + quoted(path) + " konnte nicht gelesen werden (" + systemErrorGerman(code) + ").",
                      "The file " + quoted(path) + " could not be read (" + systemErrorEnglish(code) + ").");
    };
    if (!read)
        return unreadable(read.error().code);
    const PictureExtent extent = read->extent;
    if (extent.kind == PictureExtent::Kind::Truncated)
        return refuse(LoadFailure::Truncated,
                      "Die Bilddatei " + quoted(path) + " ist unvollständig: Ihre Kopfdaten kündigen " +
                          std::to_string(extent.bytes) + " Bytes an, sie hat aber nur " +
                          std::to_string(read->fileSize) + ".",
                      "The picture file " + quoted(path) + " is incomplete: its headers announce " +
                          std::to_string(extent.bytes) + " bytes, but it has only " +
                          std::to_string(read->fileSize) + ".");
    if (extent.bytes > kMaxSourceFileBytes)
        return refuse(LoadFailure::TooLarge,
                      "Die Bilddatei " + quoted(path) + " ist zu groß: Ihr Format belegt " +
                          std::to_string(extent.bytes) + " Bytes, gelesen werden höchstens " +
                          std::to_string(kMaxSourceFileBytes) + ".",
                      "The picture file " + quoted(path) + " is too large: its format takes " +
                          std::to_string(extent.bytes) + " bytes, at most " + std::to_string(kMaxSourceFileBytes) +
                          " are read.");
    const auto notAPicture = [&] {
        // A reader plugin that cannot be loaded for want of descriptors looks
        // like a file it cannot read: the system's trouble is named instead.
        if (const int shortage = descriptorShortage())
            return unreadable(shortage);
        return refuse(LoadFailure::NotAPicture,
                      "Die Datei " + quoted(path) + " ist keine lesbare Bilddatei (GIF, BMP, ICO, CUR oder PNG).",
                      "The file " + quoted(path) + " is not a readable picture file (GIF, BMP, ICO, CUR or PNG).");
    };
    const auto tooLarge = [&](QSize size) {
        const std::string pixels = std::to_string(size.width()) + " x " + std::to_string(size.height());
        return refuse(LoadFailure::TooLarge,
                      "Das Bild " + quoted(path) + " ist zu groß, um es zu verarbeiten: " + pixels +
                          " Pixel, höchstens " + std::to_string(kMaxSourceSide) + " Pixel je Seite und " +
                          std::to_string(kMaxSourcePixels) + " Pixel insgesamt.",
                      "The picture " + quoted(path) + " is too large to process: " + pixels + " pixels, at most " +
                          std::to_string(kMaxSourceSide) + " pixels a side and " + std::to_string(kMaxSourcePixels) +
                          " pixels in all.");
    };
    if (extent.kind == PictureExtent::Kind::Unknown)
        return notAPicture();
    const std::vector<uint8_t>* bytes = &read->bytes;

    QByteArray content = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes->data()),
                                                 static_cast<qsizetype>(bytes->size()));
    QBuffer buffer(&content);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // Any picture within the limits below decodes, even at 8 bytes a pixel.
    reader.setAllocationLimit(static_cast<int>((kMaxSourcePixels * 8 >> 20) + 1));
    if (!reader.canRead() || !accepted(reader.format()))
        return notAPicture();
    const QSize announced = reader.size();
    if (announced.isValid() && (announced.width() > kMaxSourceSide || announced.height() > kMaxSourceSide ||
                                int64_t{announced.width()} * announced.height() > kMaxSourcePixels))
        return tooLarge(announced);

    const QImage image = reader.read();
    if (image.isNull() && announced.isValid() && QImage(announced, QImage::Format_ARGB32).isNull())
        return unreadable(ENOMEM); // the pixels find no memory
    if (image.isNull())
        return notAPicture();
    if (image.width() < 8 || image.height() < 8)
        return refuse(LoadFailure::TooSmall,
                      "Das Bild " + quoted(path) +
                          " ist zu klein: Es muss mindestens 8 Pixel breit und 8 Pixel hoch sein.",
                      "The picture " + quoted(path) +
                          " is too small: it must be at least 8 pixels wide and 8 pixels high.");
    if (image.width() > kMaxSourceSide || image.height() > kMaxSourceSide)
        return tooLarge(image.size());

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
