#pragma once
// The own picture file (".orv"): the compressed stream, then colour 1 and
// colour 2 as game colour words (low byte first), width, height (one byte
// each, 0 = not given) and the tile order (0 vertical, else horizontal).

#include <array>
#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

#include "gbc_color.h"
#include "error.h"
#include "working_picture.h"

namespace orv {

// Bytes after the stream: palette pair, width, height, tile order.
constexpr int64_t kOrvTrailerBytes = 7;
// Largest side a size byte can hold.
constexpr int kOrvMaxSide = 255;
// The tile data of the largest picture a file can describe; measuring stops
// beyond it, before anything is allocated.
constexpr int32_t kOrvMaxTileBytes = kOrvMaxSide * kOrvMaxSide / 4;
// Bytes read from a file: the stream of kOrvMaxTileBytes is far shorter.
constexpr size_t kOrvMaxReadBytes = 1 << 20;

// A decoded file, handed on for coding like a picture taken from a ROM.
struct OrvPicture {
    std::vector<uint8_t> stream;   // SourceStream, end marker included
    std::vector<uint8_t> tileData; // SourceTileData; RawLength is its size
    PalettePair palettePair{};
    std::array<Colour, 2> colours{}; // Palette[1], Palette[2]
    std::string paletteText;         // e.g. "FF03007C"
    int width = 0;
    int height = 0;
    TileOrder order = TileOrder::Vertical;
};

// Side of the square picture assumed when a size byte is 0: 8 times the
// square root of the tile count (RawLength / 16), to the nearest whole number.
int OrvSquareSide(int32_t rawLength);

// The file's bytes. OrvTooLarge for a side beyond 255, OrvNotAStream when
// the data does not measure to exactly its own length, OrvCheckCodecMissing.
std::expected<std::vector<uint8_t>, Error> EncodeOrv(std::span<const uint8_t> encoded, Colour colour1,
                                                     Colour colour2, int width, int height, TileOrder order);

// Decompresses a file's bytes (the first kOrvMaxReadBytes suffice). Sound
// rules where the format leaves room:
// - a stored size must describe exactly the tile data (width x height / 4
//   bytes) with sides of at least 8 pixels (OrvSizeMismatch);
// - a zero size whose square side would be 0 or exceed 255 is refused (OrvNoSize);
// - bytes after the 7 trailing ones are ignored.
// Other refusals: OrvCodecMissing, OrvDataTooLarge, OrvInvalidStream, OrvTooShort.
std::expected<OrvPicture, Error> DecodeOrv(std::span<const uint8_t> bytes);

} // namespace orv
