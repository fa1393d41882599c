#include "rom_file.h"

namespace orv::rom {

std::expected<RomFile, RomError> RomFile::open(const std::filesystem::path& path)
{
    auto file = BinaryFile::open(path, BinaryFile::Mode::Read);
    if (!file)
        return std::unexpected(OpenFailed(path, file.error().code));
    auto size = file->size();
    if (!size)
        return std::unexpected(ReadFailed(path, size.error().code));
    return RomFile(std::move(*file), path, *size);
}

std::expected<void, RomError> RomFile::read(int64_t offset, std::span<uint8_t> data, RomPart part) const
{
    const auto length = static_cast<int64_t>(data.size());
    if (!holds(offset, length))
        return std::unexpected(TooShort(path_, part, offset + length, size_));
    if (auto r = file_.readAt(offset, data); !r)
        return std::unexpected(ReadFailed(path_, r.error().code));
    return {};
}

std::expected<std::vector<uint8_t>, RomError> RomFile::read(int64_t offset, int64_t length, RomPart part) const
{
    if (!holds(offset, length))
        return std::unexpected(TooShort(path_, part, offset + length, size_));
    std::vector<uint8_t> data(static_cast<size_t>(length));
    if (auto r = read(offset, data, part); !r)
        return std::unexpected(r.error());
    return data;
}

} // namespace orv::rom
