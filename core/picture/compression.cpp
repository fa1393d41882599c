#include "compression.h"

#include <algorithm>

#include "codec.h"
#include "tiles.h"

namespace orv {

namespace {

std::vector<uint8_t> sourceTiles(std::span<const uint8_t> source, int32_t rawLength)
{
    std::vector<uint8_t> tiles(static_cast<size_t>(std::max(rawLength, 0)), 0);
    std::copy_n(source.begin(), std::min(source.size(), tiles.size()), tiles.begin());
    return tiles;
}

Error compressionFailed(codec::Error error)
{
    return {.kind = error == codec::Error::LibraryMissing ? ErrorKind::CompressCodecMissing : ErrorKind::CompressFailed};
}

} // namespace

std::expected<CompressionResult, Error> CodePicture(const CompressionRequest& request)
{
    static const WorkingPicture kNoPicture;
    const WorkingPicture& picture = request.picture ? *request.picture : kNoPicture;
    const bool fromPicture = request.fromPicture;
    CompressionResult result;

    if (fromPicture) {
        const Palette exchanged = ExchangedPalette(picture.palette, request.blackWhite, request.lightDark);
        result.tileData = EncodeTiles(picture, exchanged, request.order, request.rawLength);
    } else {
        result.tileData = sourceTiles(request.sourceTileData, request.rawLength);
        if (request.choice == CompressionChoice::Retain)
            result.encodedData.assign(request.sourceStream.begin(), request.sourceStream.end());
        else
            ExchangeTileColours(result.tileData, request.blackWhite, request.lightDark);
    }

    if (request.choice == CompressionChoice::Uncompressed) {
        result.encodedData = WrapUncompressed(result.tileData);
    } else if (request.choice == CompressionChoice::BuildNew || fromPicture) {
        auto encoded = codec::Encode(result.tileData);
        if (!encoded)
            return std::unexpected(compressionFailed(encoded.error()));
        result.encodedData = std::move(*encoded);
    }

    result.pixels = DecodeTiles(result.tileData, picture.palette, picture.width, picture.height, request.order);
    return result;
}

} // namespace orv
