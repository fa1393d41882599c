#pragma once
// Taking a compressed picture out of a ROM: by game slot or at an offset.

#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

#include "error.h"
#include "rom_image.h"
#include "rom_layout.h"
#include "slot.h"

namespace orv::rom {

struct ExtractRequest {
    std::optional<Slot> slot; // through the pointer tables and the slot's palette
    // Without a slot: the offset, and the size when given (0: from the tile
    // count; one side given makes the other from it).
    int64_t offset = 0;
    int64_t width = 0;
    int64_t height = 0;
};

struct ExtractedPicture {
    int64_t offset = 0;            // where the stream was found
    std::vector<uint8_t> stream;   // SourceStream, end marker included
    std::vector<uint8_t> tileData; // SourceTileData; RawLength is its size
    PaletteWords palette;          // from the ROM, or "FF03007C" by offset
    int width = 0;                 // PicWidth
    int height = 0;                // PicHeight
};

// Square side in pixels for a decompressed length: 8 * round(sqrt(length / 16)),
// halves to even; 0 below one tile.
int SquareSideForLength(int64_t decompressedLength);

// Errors: OutOfRange (the slot's numbers; an offset outside the ROM), TooShort
// (pointer table, palette), NoPicture with its fault, ReadFailed (0) when the
// codec cannot read, TooNarrow, PictureTooLarge, CodecMissing. Measuring
// stops as soon as the output passes kMaxTileDataBytes (NoPicture,
// OutputFull), before anything that size is allocated.
std::expected<ExtractedPicture, Error> ExtractFromRom(const RomImage& rom, const ExtractRequest& request);

// A ROM as a source must be one of these games' ROMs: long enough for the
// picture pointer tables (TooShort naming the pointer table), with a known
// language (LanguageUnknown), and with a slot whose pointer leads to a
// readable picture (otherwise the failure of Pokemon 1's front picture, as
// extracting it gives it).
std::expected<void, Error> CheckRomSource(const RomImage& rom);

} // namespace orv::rom
