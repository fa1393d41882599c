#pragma once
// What a ROM holds where: the picture slots and the streams their pointers
// lead to, and the tables no picture may overwrite.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "codec_library.h"
#include "rom_file.h"

namespace orv::rom {

// One entry of the three picture pointer tables.
struct PictureSlot {
    enum class Kind { Pokemon, Unown, Trainer };
    Kind kind = Kind::Pokemon;
    int number = 1; // Pokemon n (never 201: its pictures are the Unown table's), Unown index u, trainer t
    bool back = false;

    int64_t pointerLocation() const;
    // "das Bild von Pokemon 25 (Frontpic)" / "the picture of Pokemon 25 (front)"
    std::string german() const;
    std::string english() const;
    bool operator==(const PictureSlot&) const = default;
};

// The slots in table order: Pokemon 1 front and back .. 251 (without 201),
// Unown 1 .. 26 front and back, trainers 1 .. 66.
const std::vector<PictureSlot>& AllPictureSlots();

struct SlotStream {
    PictureSlot slot;
    int64_t offset = 0; // where the pointer leads
    // Set when a complete stream of at most kMaxTileDataBytes output starts there.
    std::optional<codec::Lengths> lengths;

    bool complete() const { return lengths.has_value(); }
    int64_t end() const { return offset + (lengths ? lengths->compressed : 0); }
};

// Every slot whose pointer lies inside the file, each distinct offset
// measured once. CodecMissing when the codec cannot be loaded.
std::expected<std::vector<SlotStream>, RomError> ReadSlotStreams(const RomFile& rom);

// Measures the stream at offset, stopping beyond kMaxTileDataBytes of output.
std::expected<codec::Lengths, codec::Error> MeasurePicture(const RomFile& rom, int64_t offset);

// A table that stays as it is, [begin, end), named in the accusative:
// "die Zeigertabelle der Pokemonbilder" / "the Pokemon picture pointer table".
struct KnownRegion {
    int64_t begin = 0, end = 0;
    std::string german, english;
};
// The header, the three pointer tables, the two palette tables, the base-data
// records (of both layouts when the language is unknown) and, when the
// language's pointer leads inside the file, the name table of L-byte names.
// Clipped to the file.
std::vector<KnownRegion> KnownRegions(const RomFile& rom, int nameLength);

} // namespace orv::rom
