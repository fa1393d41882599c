#include "orv_file.h"

#include <cmath>

#include "binary_file.h"
#include "codec_library.h"

namespace orv {

namespace {

std::string quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

// "Die Datei "<path>"" or "The file "<path>"", then the rest of the sentence.
std::unexpected<PictureError> fileError(const std::filesystem::path& path, const char* german, const char* english)
{
    return std::unexpected(PictureError{"Die Datei " + quoted(path) + german, "The file " + quoted(path) + english});
}

std::unexpected<PictureError> libraryMissing(const std::filesystem::path& path)
{
    return fileError(path, " konnte nicht gelesen werden: Die Bibliothek libvexlib.so fehlt oder ist beschädigt.",
                     " could not be read: the library libvexlib.so is missing or damaged.");
}

std::unexpected<PictureError> unreadable(const std::filesystem::path& path)
{
    return fileError(path, " konnte nicht gelesen werden.", " could not be read.");
}

std::unexpected<PictureError> invalidStream(const std::filesystem::path& path)
{
    return fileError(path, " enthält keinen gültigen Bilddatenstrom.", " contains no valid picture data stream.");
}

} // namespace

int OrvSquareSide(int32_t rawLength)
{
    if (rawLength < 16)
        return 0;
    return 8 * static_cast<int>(std::lround(std::sqrt(static_cast<double>(rawLength / 16))));
}

std::expected<void, PictureError> WriteOrvFile(const std::filesystem::path& path,
                                               std::span<const uint8_t> encoded, Colour colour1,
                                               Colour colour2, int width, int height, TileOrder order,
                                               bool flush)
{
    if (width < 0 || height < 0 || width > kOrvMaxSide || height > kOrvMaxSide)
        return std::unexpected(PictureError{"Das Bild ist zu groß für eine ORV-Datei: Breite und Höhe dürfen "
                                            "höchstens 255 Pixel betragen.",
                                            "The picture is too large for an ORV file: width and height may be "
                                            "at most 255 pixels."});
    // A stream that does not measure to exactly its own length could not be read back.
    const auto lengths = codec::measure(encoded);
    if (!lengths && lengths.error() == codec::Error::LibraryMissing)
        return std::unexpected(PictureError{"Die Bilddaten konnten nicht geprüft werden: Die Bibliothek "
                                            "libvexlib.so fehlt oder ist beschädigt.",
                                            "The picture data could not be checked: the library libvexlib.so "
                                            "is missing or damaged."});
    if (!lengths || static_cast<size_t>(lengths->compressed) != encoded.size())
        return std::unexpected(PictureError{"Die Bilddaten sind kein vollständiger komprimierter Datenstrom "
                                            "und werden nicht gespeichert.",
                                            "The picture data is not a complete compressed data stream and is "
                                            "not saved."});

    std::vector<uint8_t> bytes(encoded.begin(), encoded.end());
    const PalettePair pair = MakePalettePair(colour1, colour2);
    bytes.insert(bytes.end(), pair.begin(), pair.end());
    bytes.push_back(static_cast<uint8_t>(width));
    bytes.push_back(static_cast<uint8_t>(height));
    bytes.push_back(order == TileOrder::Vertical ? 0 : 1);
    if (auto written = writeWholeFile(path, bytes, flush); !written) {
        const int code = written.error().code;
        return std::unexpected(PictureError{
            "Die Datei " + quoted(path) + " konnte nicht geschrieben werden (" + systemErrorGerman(code) + ").",
            "The file " + quoted(path) + " could not be written (" + systemErrorEnglish(code) + ")."});
    }
    return {};
}

std::expected<OrvPicture, PictureError> ReadOrvFile(const std::filesystem::path& path)
{
    auto file = BinaryFile::open(path);
    if (!file)
        return std::unexpected(PictureError{
            "Die Datei " + quoted(path) + " konnte nicht geöffnet werden (" + systemErrorGerman(file.error().code) +
                ").",
            "The file " + quoted(path) + " could not be opened (" + systemErrorEnglish(file.error().code) + ")."});
    // The stream of the largest picture is far shorter than this; bytes
    // beyond the trailer are ignored anyway.
    std::vector<uint8_t> bytes(kOrvMaxReadBytes);
    auto got = file->readSomeAt(0, bytes);
    if (!got)
        return unreadable(path);
    bytes.resize(*got);
    return ParseOrvFile(bytes, path);
}

std::expected<OrvPicture, PictureError> ParseOrvFile(std::span<const uint8_t> bytes, const std::filesystem::path& path)
{
    const auto lengths = codec::measure(bytes, kOrvMaxTileBytes);
    if (!lengths) {
        switch (lengths.error()) {
        case codec::Error::LibraryMissing: return libraryMissing(path);
        case codec::Error::OutputFull:
            return std::unexpected(PictureError{"Die Bilddaten in der Datei " + quoted(path) + " sind zu groß.",
                                                "The picture data in the file " + quoted(path) + " is too large."});
        default: return invalidStream(path);
        }
    }
    if (lengths->compressed <= 0)
        return invalidStream(path);
    const auto streamEnd = static_cast<size_t>(lengths->compressed);
    if (bytes.size() < streamEnd + kOrvTrailerBytes)
        return fileError(path,
                         " ist zu kurz für eine ORV-Datei: Nach den Bilddaten fehlen Palette, Größe oder "
                         "Kachelreihenfolge.",
                         " is too short for an ORV file: the palette, size or tile order after the picture data "
                         "is missing.");

    OrvPicture picture;
    picture.stream.assign(bytes.begin(), bytes.begin() + lengths->compressed);
    const std::span<const uint8_t> trailer(bytes.data() + streamEnd, kOrvTrailerBytes);
    auto tiles = codec::decode(picture.stream, lengths->decompressed);
    if (!tiles) {
        if (tiles.error() == codec::Error::LibraryMissing)
            return libraryMissing(path);
        return invalidStream(path);
    }
    picture.tileData = std::move(*tiles);

    picture.palettePair = {trailer[0], trailer[1], trailer[2], trailer[3]};
    picture.colours = PairColours(picture.palettePair);
    picture.paletteText = PaletteText(picture.palettePair);
    picture.width = trailer[4];
    picture.height = trailer[5];
    if (picture.width == 0 || picture.height == 0) {
        const int side = OrvSquareSide(static_cast<int32_t>(picture.tileData.size()));
        if (side < 1 || side > kOrvMaxSide)
            return fileError(path,
                             " gibt keine Bildgröße an, und ihre Bilddaten ergeben kein Bild von 1 bis 255 "
                             "Pixeln Seitenlänge.",
                             " gives no picture size, and its picture data does not make a picture of 1 to 255 "
                             "pixels a side.");
        picture.width = picture.height = side;
    } else if (picture.width < 8 || picture.height < 8 ||
               int64_t{picture.width} * picture.height != 4 * static_cast<int64_t>(picture.tileData.size())) {
        // The size byte written into a ROM must describe the data it goes with.
        const std::string size = std::to_string(picture.width) + " x " + std::to_string(picture.height);
        const std::string data = std::to_string(picture.tileData.size());
        return std::unexpected(PictureError{
            "Die Datei " + quoted(path) + " gibt die Bildgröße " + size +
                " Pixel an, die nicht zu ihren Bilddaten passt (" + data +
                " Bytes; nötig sind Breite x Höhe / 4, und jede Seite muss mindestens 8 Pixel lang sein).",
            "The file " + quoted(path) + " gives the picture size " + size + " pixels, which does not match its " +
                "picture data (" + data + " bytes; width x height / 4 are needed, and each side must be at least " +
                "8 pixels)."});
    }
    picture.order = trailer[6] == 0 ? TileOrder::Vertical : TileOrder::Horizontal;
    return picture;
}

} // namespace orv
