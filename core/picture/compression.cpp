#include "compression_page.h"

#include <algorithm>

#include "codec_library.h"
#include "preview_flags.h"
#include "tiles.h"

namespace orv {

namespace {

std::vector<uint8_t> sourceTiles(std::span<const uint8_t> source, int32_t rawLength)
{
    std::vector<uint8_t> tiles(static_cast<size_t>(std::max(rawLength, 0)), 0);
    std::copy_n(source.begin(), std::min(source.size(), tiles.size()), tiles.begin());
    return tiles;
}

PictureError compressionFailed(codec::Error error)
{
    if (error == codec::Error::LibraryMissing)
        return {"Die Bilddaten konnten nicht komprimiert werden: Die Bibliothek libvexlib.so fehlt oder ist "
                "beschädigt.",
                "The picture data could not be compressed: the library libvexlib.so is missing or damaged."};
    return {"Die Bilddaten konnten nicht komprimiert werden.", "The picture data could not be compressed."};
}

} // namespace

std::expected<CompressionResult, PictureError> CompressionPageNext(const CompressionRequest& request)
{
    static const WorkingPicture kNoPicture;
    const WorkingPicture& picture = request.picture ? *request.picture : kNoPicture;
    const bool fromPicture = request.sourceKind == FileKind::Picture;
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
        auto encoded = codec::encode(result.tileData);
        if (!encoded)
            return std::unexpected(compressionFailed(encoded.error()));
        result.encodedData = std::move(*encoded);
    }

    result.previewFlags = WithSizeFlags(request.previewFlags, picture.width, picture.height);
    result.pixels = DecodeTiles(result.tileData, picture.palette, picture.width, picture.height, request.order);
    return result;
}

} // namespace orv
