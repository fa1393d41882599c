#include "orv_format.h"

#include <algorithm>
#include <cmath>

#include "codec.h"

namespace orv {

namespace {

std::unexpected<Error> refuse(ErrorKind kind)
{
    return std::unexpected(Error{.kind = kind});
}

} // namespace

int OrvSquareSide(int32_t rawLength)
{
    if (rawLength < 16)
        return 0;
    return 8 * static_cast<int>(std::lround(std::sqrt(static_cast<double>(rawLength / 16))));
}

std::expected<std::vector<uint8_t>, Error> EncodeOrv(std::span<const uint8_t> encoded, Colour colour1,
                                                     Colour colour2, int width, int height, TileOrder order)
{
    if (width < 0 || height < 0 || width > kOrvMaxSide || height > kOrvMaxSide)
        return refuse(ErrorKind::OrvTooLarge);
    // A stream that does not measure to exactly its own length could not be read back.
    const auto lengths = codec::Measure(encoded);
    if (!lengths && lengths.error() == codec::Error::LibraryMissing)
        return refuse(ErrorKind::OrvCheckCodecMissing);
    if (!lengths || static_cast<size_t>(lengths->compressed) != encoded.size())
        return refuse(ErrorKind::OrvNotAStream);

    std::vector<uint8_t> bytes(encoded.begin(), encoded.end());
    const PalettePair pair = MakePalettePair(colour1, colour2);
    bytes.insert(bytes.end(), pair.begin(), pair.end());
    bytes.push_back(static_cast<uint8_t>(width));
    bytes.push_back(static_cast<uint8_t>(height));
    bytes.push_back(order == TileOrder::Vertical ? 0 : 1);
    return bytes;
}

std::expected<OrvPicture, Error> DecodeOrv(std::span<const uint8_t> bytes)
{
    bytes = bytes.first(std::min(bytes.size(), kOrvMaxReadBytes));
    const auto lengths = codec::Measure(bytes, kOrvMaxTileBytes);
    if (!lengths) {
        switch (lengths.error()) {
        case codec::Error::LibraryMissing: return refuse(ErrorKind::OrvCodecMissing);
        case codec::Error::OutputFull: return refuse(ErrorKind::OrvDataTooLarge);
        default: return refuse(ErrorKind::OrvInvalidStream);
        }
    }
    if (lengths->compressed <= 0)
        return refuse(ErrorKind::OrvInvalidStream);
    const auto streamEnd = static_cast<size_t>(lengths->compressed);
    if (bytes.size() < streamEnd + kOrvTrailerBytes)
        return refuse(ErrorKind::OrvTooShort);

    OrvPicture picture;
    picture.stream.assign(bytes.begin(), bytes.begin() + lengths->compressed);
    const auto trailer = bytes.subspan(streamEnd, kOrvTrailerBytes);
    auto tiles = codec::Decode(picture.stream, lengths->decompressed);
    if (!tiles)
        return refuse(tiles.error() == codec::Error::LibraryMissing ? ErrorKind::OrvCodecMissing
                                                                     : ErrorKind::OrvInvalidStream);
    picture.tileData = std::move(*tiles);

    picture.palettePair = {trailer[0], trailer[1], trailer[2], trailer[3]};
    picture.colours = PairColours(picture.palettePair);
    picture.paletteText = PaletteText(picture.palettePair);
    picture.width = trailer[4];
    picture.height = trailer[5];
    if (picture.width == 0 || picture.height == 0) {
        const int side = OrvSquareSide(static_cast<int32_t>(picture.tileData.size()));
        if (side < 1 || side > kOrvMaxSide)
            return refuse(ErrorKind::OrvNoSize);
        picture.width = picture.height = side;
    } else if (picture.width < 8 || picture.height < 8 ||
               int64_t{picture.width} * picture.height != 4 * static_cast<int64_t>(picture.tileData.size())) {
        // The size byte written into a ROM must describe the data it goes with.
        return std::unexpected(Error{.kind = ErrorKind::OrvSizeMismatch,
                                     .value = static_cast<int64_t>(picture.tileData.size()),
                                     .low = picture.width,
                                     .high = picture.height});
    }
    picture.order = trailer[6] == 0 ? TileOrder::Vertical : TileOrder::Horizontal;
    return picture;
}

} // namespace orv
