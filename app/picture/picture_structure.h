#pragma once
// Whether a picture file holds all the data its own headers announce. The
// image readers fill what is missing with blank pixels and report success,
// so a file cut short would be inserted as a partial picture.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orv {

struct Truncation {
    int64_t needed = 0; // bytes the headers announce (at least)
    int64_t size = 0;   // bytes the file has
};

// BMP/DIB, GIF, PNG, ICO and CUR are recognised by their first bytes; other
// content is not judged (none).
std::optional<Truncation> FindTruncation(std::span<const uint8_t> file);

} // namespace orv
