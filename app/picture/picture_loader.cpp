#include "picture_loader.h"

#include <QFile>
#include <QImageReader>
#include <array>
#include <system_error>

#include "colours.h"
#include "picture_image.h"

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
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return refuse(LoadFailure::Missing, MissingSourceMessage(path),
                      "The file " + quoted(path) + " could not be found.");
    const auto notAPicture = [&] {
        return refuse(LoadFailure::NotAPicture,
                      "Die Datei " + quoted(path) + " ist keine lesbare Bilddatei (GIF, BMP, ICO, CUR oder PNG).",
                      "The file " + quoted(path) + " is not a readable picture file (GIF, BMP, ICO, CUR or PNG).");
    };
    const auto tooLarge = [&] {
        return refuse(LoadFailure::TooLarge, "Das Bild " + quoted(path) + " ist zu groß, um es zu verarbeiten.",
                      "The picture " + quoted(path) + " is too large to process.");
    };

    QImageReader reader(QFile::decodeName(path.c_str()));
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
    auto colours = CollectColours(loaded.picture);
    if (!colours)
        return refuse(LoadFailure::TooManyColours, colours.error().message, colours.error().english);
    loaded.colours = std::move(*colours);
    return loaded;
}

} // namespace orv
