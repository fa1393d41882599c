#include "byte_patch.h"

#include <algorithm>

#include "rom_image.h"

namespace orv::rom {

std::expected<std::vector<uint8_t>, Error> ApplyPatches(const RomImage& rom, std::span<const BytePatch> patches)
{
    std::vector<uint8_t> bytes(rom.bytes().begin(), rom.bytes().end());
    for (const BytePatch& patch : patches) {
        if (!rom.holds(patch.offset, static_cast<int64_t>(patch.bytes.size())))
            return std::unexpected(OutOfRangeError(NumberField::Offset, patch.offset, 0,
                                                   rom.size() - static_cast<int64_t>(patch.bytes.size())));
        std::ranges::copy(patch.bytes, bytes.begin() + patch.offset);
    }
    return bytes;
}

} // namespace orv::rom
