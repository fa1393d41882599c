#pragma once
// Page 11's Next: tile data from the picture or the source's tile data, the
// stream to write, and the decoded four-shade picture for the preview.

#include <cstdint>
#include <expected>
#include <span>
#include <vector>

#include "classify_path.h"
#include "picture_error.h"
#include "working_picture.h"

namespace orv {

enum class CompressionChoice : uint8_t {
    BuildNew,     // "Build new Compression."
    Retain,       // "Retain old Compression Data   ."
    Uncompressed, // "Non-Compressed (TLP)   "
};

struct CompressionRequest {
    FileKind sourceKind = FileKind::Picture;
    // Size and palette always; pixels for a picture source only.
    const WorkingPicture* picture = nullptr;
    std::span<const uint8_t> sourceStream;   // ROM or own file: SourceStream
    std::span<const uint8_t> sourceTileData; // ROM or own file: SourceTileData
    int32_t rawLength = 0;                   // RawLength
    TileOrder order = TileOrder::Vertical;
    CompressionChoice choice = CompressionChoice::BuildNew;
    bool blackWhite = false; // "Black / White Exchange    ."
    bool lightDark = false;  // "Light / Dark Exchange    ."
    uint8_t previewFlags = 0;
};

struct CompressionResult {
    std::vector<uint8_t> tileData;    // TileData: exactly RawLength bytes
    std::vector<uint8_t> encodedData; // EncodedData; EncodedLength is its size
    std::vector<Colour> pixels;       // PixelGrid decoded from tileData, bottom-up
    uint8_t previewFlags = 0;         // wide and tall flags updated, others kept
};

// Sound choices where the page leaves room:
// - TileData always holds RawLength bytes: source tile data shorter than
//   RawLength is zero-filled, and tiles the picture size does not cover are
//   kept (compressed and written) but not shown. Decoding treats tiles beyond
//   the data as shade 0.
// - "Retain" for a picture source (which has no old stream) builds a new
//   compression instead.
// Fails only when the codec library cannot be used:
//   "Die Bilddaten konnten nicht komprimiert werden: Die Bibliothek
//    libvexlib.so fehlt oder ist beschädigt."
//   "Die Bilddaten konnten nicht komprimiert werden."
// English: "The picture data could not be compressed[: the library ... is missing or damaged]."
std::expected<CompressionResult, PictureError> CompressionPageNext(const CompressionRequest& request);

} // namespace orv
