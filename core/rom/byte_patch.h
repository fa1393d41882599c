#pragma once
// A change to a ROM as bytes at an offset; insertion is a list of these.

#include <cstdint>
#include <expected>
#include <span>
#include <vector>

#include "error.h"

namespace orv::rom {

class RomImage;

// Checksum: the cartridge's global checksum, always the last patch of a change.
enum class PatchKind { ZeroOldPicture, PictureData, Palette, Name, PicturePointer, SizeByte, Checksum };

struct BytePatch {
    PatchKind kind;
    int64_t offset = 0;
    std::vector<uint8_t> bytes;

    int64_t end() const { return offset + static_cast<int64_t>(bytes.size()); }
};

// The ROM with the patches put in, in their order (a later patch may cover an
// earlier one, as the data covers zeros over an old picture). OutOfRange
// (the offset) when a patch lies outside the ROM.
std::expected<std::vector<uint8_t>, Error> ApplyPatches(const RomImage& rom, std::span<const BytePatch> patches);

} // namespace orv::rom
