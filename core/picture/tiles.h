#pragma once
// The 2-bit-per-pixel 8 x 8 tile layout, its colour exchanges and the
// uncompressed stream wrapper.
//
// A tile is 16 bytes: bytes 2r and 2r+1 hold pixel row r (0 = top) as low
// and high bit plane, bit 7 the leftmost pixel. Tiles are taken from the
// picture's top-left; the top PicHeight % 8 lines and the right PicWidth % 8
// columns are not coded.

#include <cstdint>
#include <span>
#include <vector>

#include "colours.h"
#include "working_picture.h"

namespace orv {

// Tile k of a picture with `across` x `down` tiles, counted from the top-left.
struct TilePlace {
    int column = 0;
    int row = 0;
};
TilePlace TileAt(int k, int across, int down, TileOrder order);

// rawLength bytes, zero-filled, then every whole tile in tile order with the
// shade of each pixel under picture.palette. Tiles that do not fit in
// rawLength are dropped (partly, byte by byte).
std::vector<uint8_t> EncodeTiles(const WorkingPicture& picture, TileOrder order, int32_t rawLength);
// The same with another palette than the picture's own (the exchanged one).
std::vector<uint8_t> EncodeTiles(const WorkingPicture& picture, const Palette& palette, TileOrder order,
                                 int32_t rawLength);

// Pixels (bottom-up, width * height) drawn from tile data with the palette's
// colours 0..3. Tiles beyond the end of tileData read as index 0; pixels that
// no whole tile covers stay white.
std::vector<Colour> DecodeTiles(std::span<const uint8_t> tileData, const Palette& palette, int width,
                                int height, TileOrder order);

// Exchanges shades 0 <-> 3 (black/white) and 1 <-> 2 (light/dark) directly on
// stored tile bytes, pair by pair; a trailing odd byte stays as it is.
void ExchangeTileColours(std::span<uint8_t> tileData, bool blackWhite, bool lightDark);

// The same exchanges for a picture source, done on the palette before
// encoding: 1 <-> 2 for light/dark, then 0 <-> 3 for black/white. Encoding
// with the result gives the bytes ExchangeTileColours would give.
Palette ExchangedPalette(Palette palette, bool blackWhite, bool lightDark);

// A stream of literal commands only: long literals of 1024 bytes, the rest
// as one short (1..32) or long literal, then the end marker 0xFF.
std::vector<uint8_t> WrapUncompressed(std::span<const uint8_t> tileData);

} // namespace orv
