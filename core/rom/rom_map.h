#pragma once
// What a ROM holds where: the picture slots and the streams their pointers
// lead to, and the tables no picture may overwrite.

#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

#include "codec.h"
#include "error.h"
#include "rom_image.h"
#include "slot.h"

namespace orv::rom {

struct SlotStream {
    Slot slot;          // a table entry (AllPictureSlots)
    int64_t offset = 0; // where the pointer leads
    // Set when a complete stream of at most kMaxTileDataBytes output starts there.
    std::optional<codec::Lengths> lengths;

    bool complete() const { return lengths.has_value(); }
    int64_t end() const { return offset + (lengths ? lengths->compressed : 0); }
};

// Every slot whose pointer lies inside the ROM, each distinct offset
// measured once. CodecMissing when the codec cannot be loaded.
std::expected<std::vector<SlotStream>, Error> ReadSlotStreams(const RomImage& rom);
// The stream of the slot's table entry; none when its pointer lies outside.
const SlotStream* StreamOf(const std::vector<SlotStream>& streams, const Slot& slot);

// Measures the stream at offset, stopping beyond kMaxTileDataBytes of output.
std::expected<codec::Lengths, codec::Error> MeasurePicture(const RomImage& rom, int64_t offset);

// A table that stays as it is, [begin, end).
struct KnownRegion {
    int64_t begin = 0, end = 0;
    Region region{};
};
// The header, the three pointer tables, the two palette tables, the base-data
// records (of both layouts when the language is unknown) and, when the
// language's pointer leads inside the ROM, the name table of L-byte names.
// Clipped to the ROM.
std::vector<KnownRegion> KnownRegions(const RomImage& rom, int nameLength);

} // namespace orv::rom
