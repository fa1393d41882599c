#include "rom_io.h"

namespace orv {

std::expected<rom::RomImage, Error> ReadRomFile(const std::filesystem::path& path)
{
    auto file = BinaryFile::open(path);
    if (!file)
        return std::unexpected(Error{.kind = ErrorKind::OpenFailed, .systemCode = file.error().code});
    return ReadRomFile(*file);
}

std::expected<rom::RomImage, Error> ReadRomFile(const BinaryFile& file)
{
    auto size = file.size();
    if (!size)
        return std::unexpected(Error{.kind = ErrorKind::ReadFailed, .systemCode = size.error().code});
    if (*size > rom::kMaxRomBytes)
        return std::unexpected(Error{.kind = ErrorKind::TooLarge, .value = *size, .high = rom::kMaxRomBytes});
    std::vector<uint8_t> bytes(static_cast<size_t>(*size));
    auto n = file.readSomeAt(0, bytes);
    if (!n)
        return std::unexpected(Error{.kind = ErrorKind::ReadFailed, .systemCode = n.error().code});
    bytes.resize(*n);
    return rom::RomImage(std::move(bytes));
}

} // namespace orv
