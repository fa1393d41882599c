#pragma once

#include <cstdint>
#include <string_view>

namespace orv {

// Source kinds (picture, ROM, own file) and target kinds (bitmap, ROM, own file).
enum class FileKind : uint8_t { Picture = 0, Rom = 1, Orv = 2 };

// The rightmost ".gb" (any case) of the file's name (after the last "/" or
// "\") makes a ROM, the rightmost ".orv" an own picture file; whichever lies
// further right wins. Folders above the file do not count. Anything else is
// kind 0.
FileKind ClassifyPath(std::string_view path);

} // namespace orv
