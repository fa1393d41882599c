#pragma once
// The coding step: tile data from the picture or the source's tile data, the
// stream to write, and the decoded four-shade picture for showing.

#include <cstdint>
#include <expected>
#include <span>
#include <vector>

#include "error.h"
#include "working_picture.h"

namespace orv {

enum class CompressionChoice : uint8_t {
    BuildNew,     // compress the tile data anew
    Retain,       // keep the source's stream as it is
    Uncompressed, // literal commands only (WrapUncompressed)
};

struct CompressionRequest {
    // A picture (pixels to code) or compressed data taken from a ROM or an
    // own file (sourceStream, sourceTileData).
    bool fromPicture = true;
    // Size and palette always; pixels for a picture source only.
    const WorkingPicture* picture = nullptr;
    std::span<const uint8_t> sourceStream;   // ROM or own file: SourceStream
    std::span<const uint8_t> sourceTileData; // ROM or own file: SourceTileData
    int32_t rawLength = 0;                   // RawLength
    TileOrder order = TileOrder::Vertical;
    CompressionChoice choice = CompressionChoice::BuildNew;
    bool blackWhite = false; // exchange shades 0 and 3
    bool lightDark = false;  // exchange shades 1 and 2
};

struct CompressionResult {
    std::vector<uint8_t> tileData;    // TileData: exactly RawLength bytes
    std::vector<uint8_t> encodedData; // EncodedData; EncodedLength is its size
    std::vector<Colour> pixels;       // PixelGrid decoded from tileData, bottom-up
};

// Sound choices where the rules leave room:
// - TileData always holds RawLength bytes: source tile data shorter than
//   RawLength is zero-filled, and tiles the picture size does not cover are
//   kept (compressed and written) but not shown. Decoding treats tiles beyond
//   the data as shade 0.
// - "Retain" for a picture source (which has no old stream) builds a new
//   compression instead.
// Fails only when the codec cannot be used: CompressCodecMissing, CompressFailed.
std::expected<CompressionResult, Error> CodePicture(const CompressionRequest& request);

} // namespace orv
