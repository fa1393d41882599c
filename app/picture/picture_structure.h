#pragma once
// How much of a file a picture's format takes, judged from its headers and
// block structure: the image readers fill what is missing with blank pixels
// and report success, so a file cut short would be inserted as a partial
// picture; and what lies past the format's end is never read.

#include <cstdint>
#include <span>

namespace orv {

struct PictureExtent {
    enum class Kind {
        Unknown,   // not BMP/DIB, GIF, PNG, ICO or CUR by its first bytes
        Complete,  // bytes: where the format ends (at most the file's size)
        NeedMore,  // bytes: how many of the file's first bytes the walk needs to go on
        Truncated, // bytes: what the headers announce, more than the file has
    };
    Kind kind = Kind::Unknown;
    int64_t bytes = 0;
};

// prefix holds the file's first bytes, fileSize counts all of them. PNG ends
// at its IEND chunk, GIF at its trailer (or after its last whole block when
// the file ends there), BMP after the pixel rows or the compressed size its
// header gives (run-length data without a size: the whole file), ICO and CUR
// after the furthest image their directory lists.
PictureExtent MeasurePicture(std::span<const uint8_t> prefix, int64_t fileSize);

} // namespace orv
