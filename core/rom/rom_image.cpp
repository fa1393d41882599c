#include "rom_image.h"

#include <algorithm>

namespace orv::rom {

std::expected<void, Error> RomImage::read(int64_t offset, std::span<uint8_t> data, RomPart part) const
{
    const auto length = static_cast<int64_t>(data.size());
    if (!holds(offset, length))
        return std::unexpected(TooShortError(part, offset + length, size()));
    std::copy_n(bytes_.begin() + offset, data.size(), data.begin());
    return {};
}

std::expected<std::vector<uint8_t>, Error> RomImage::read(int64_t offset, int64_t length, RomPart part) const
{
    if (!holds(offset, length))
        return std::unexpected(TooShortError(part, offset + length, size()));
    return std::vector<uint8_t>(bytes_.begin() + offset, bytes_.begin() + offset + length);
}

} // namespace orv::rom
