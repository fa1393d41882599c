#pragma once
// ROM files read whole into the core's RomImage.

#include <expected>
#include <filesystem>

#include "binary_file.h"
#include "error.h"
#include "rom_image.h"

namespace orv {

// OpenFailed (a folder, a device or a pipe is refused without blocking),
// ReadFailed, TooLarge beyond rom::kMaxRomBytes.
std::expected<rom::RomImage, Error> ReadRomFile(const std::filesystem::path& path);
// The same from a file already open (e.g. locked).
std::expected<rom::RomImage, Error> ReadRomFile(const BinaryFile& file);

} // namespace orv
