#pragma once
// A change to a ROM as bytes at an offset; insertion is a list of these.

#include <cstdint>
#include <vector>

namespace orv::rom {

// Checksum: the cartridge's global checksum, always the last patch of a change.
enum class PatchKind { ZeroOldPicture, PictureData, Palette, Name, PicturePointer, SizeByte, Checksum };

struct BytePatch {
    PatchKind kind;
    int64_t offset = 0;
    std::vector<uint8_t> bytes;

    int64_t end() const { return offset + static_cast<int64_t>(bytes.size()); }
};

} // namespace orv::rom
