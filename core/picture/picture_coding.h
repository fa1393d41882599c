#pragma once
// A decoded picture or an own picture file coded for a slot, by the colour
// rules insert and insert-all share on every face: chosen colours, the slot's
// pair, an indexed file's table, a given pair (a pack's normal.pal) with grays
// by lightness, else the first and second colour found.

#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <vector>

#include "compression.h"
#include "error.h"
#include "gbc_color.h"
#include "orv_format.h"
#include "working_picture.h"

namespace orv {

// A picture file as decoded: whole tiles, pixels bottom-up, with its colours
// besides white and black (CollectColours) and, for a file of colour
// indices, its own table in its order.
struct DecodedPicture {
    WorkingPicture picture;
    std::vector<Colour> colours;
    std::vector<Colour> colourTable;
};

// RGBA pixels, rows from the top (as a browser decodes them), cut to whole
// tiles from the top left over white: SourceTooSmall under 8 x 8,
// TooManyColours.
std::expected<DecodedPicture, Error> DecodeRgba(std::span<const uint8_t> rgba, int width, int height,
                                                std::vector<Colour> colourTable);

struct PictureCoding {
    // Chosen colours 1 and 2; each must be one of the picture's colours. With
    // either, neither the slot's pair nor the table gives the roles.
    std::optional<Colour> colour1, colour2;
    int others = 0;                 // SubstituteColour's index: black, white, colour 1, colour 2
    std::optional<TileOrder> order; // default: vertical, or the own file's order
    CompressionChoice compression = CompressionChoice::BuildNew;
    bool blackWhite = false, lightDark = false;
    // The slot's pair: its colours take their roles, and a role no colour
    // of the picture takes keeps the slot's colour.
    std::optional<PalettePair> slotPair;
    // The pair the picture gets whatever its colours (a pack's normal.pal):
    // a picture in its two colours takes their roles, grays (at most four)
    // their shades by lightness, any other picture its roles as without it.
    std::optional<PalettePair> givenPair;
};

struct CodedPicture {
    WorkingPicture picture;        // four shades as coded; palette white, colour 1, colour 2, black
    std::vector<uint8_t> tileData; // RawLength bytes
    std::vector<uint8_t> stream;   // what is written
    TileOrder order = TileOrder::Vertical;
};

// Colours 1 and 2 in this order of rules: the chosen ones; the slot's pair
// when the picture's colours are its two (as game colours); an indexed
// file's entries 1 and 2 when entry 0 is white and entry 3 black; else the
// first and second colour found. So a picture taken out of a ROM and edited
// by any program that keeps its four colours codes back to the same bytes.
std::expected<CodedPicture, Error> CodeDecodedPicture(DecodedPicture decoded, const PictureCoding& coding);

// An own file coded anew from its stream or tile data; the colour choices
// do not apply.
std::expected<CodedPicture, Error> CodeOwnPicture(const OrvPicture& orv, const PictureCoding& coding);

} // namespace orv
