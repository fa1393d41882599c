#include "rom_file.h"

#include <algorithm>

namespace orv::rom {

std::expected<RomFile, RomError> RomFile::open(const std::filesystem::path& path)
{
    auto file = BinaryFile::open(path);
    if (!file)
        return std::unexpected(OpenFailed(path, file.error().code));
    return read(path, *file);
}

std::expected<RomFile, RomError> RomFile::read(const std::filesystem::path& path, const BinaryFile& file)
{
    auto size = file.size();
    if (!size)
        return std::unexpected(ReadFailed(path, size.error().code));
    if (*size > kMaxRomBytes)
        return std::unexpected(TooLarge(path, *size, kMaxRomBytes));
    std::vector<uint8_t> bytes(static_cast<size_t>(*size));
    auto n = file.readSomeAt(0, bytes);
    if (!n)
        return std::unexpected(ReadFailed(path, n.error().code));
    bytes.resize(*n);
    return RomFile(path, std::move(bytes));
}

std::expected<void, RomError> RomFile::read(int64_t offset, std::span<uint8_t> data, RomPart part) const
{
    const auto length = static_cast<int64_t>(data.size());
    if (!holds(offset, length))
        return std::unexpected(TooShort(path_, part, offset + length, size()));
    std::copy_n(bytes_.begin() + offset, data.size(), data.begin());
    return {};
}

std::expected<std::vector<uint8_t>, RomError> RomFile::read(int64_t offset, int64_t length, RomPart part) const
{
    if (!holds(offset, length))
        return std::unexpected(TooShort(path_, part, offset + length, size()));
    return std::vector<uint8_t>(bytes_.begin() + offset, bytes_.begin() + offset + length);
}

} // namespace orv::rom
