#pragma once
// An ordinary picture file read by content and decoded (Qt), cut to whole
// tiles, with its colours other than black and white: what the core takes
// as width, height, pixels and the file's own palette.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <vector>

#include "error.h"
#include "picture_coding.h"
#include "working_picture.h"

namespace orv {

// Width and height multiples of 8, pixels bottom-up, the default palette;
// colours at most 255; the table only for a file of colour indices (GIF,
// palette PNG and BMP).
using LoadedPicture = DecodedPicture;

// Largest picture taken: sides are 16-bit counts, and the grid stays below 256 MiB.
constexpr int kMaxSourceSide = 32767;
constexpr int64_t kMaxSourcePixels = int64_t{1} << 26;
// Files are read by structure up to where their format ends (PNG at IEND, GIF
// at its trailer, BMP, ICO and CUR at their declared sizes); a format that
// takes more than this is refused before it is read.
constexpr int64_t kMaxSourceFileBytes = int64_t{512} << 20;

// GIF, BMP, ICO, CUR and PNG are recognised by content, whatever the file's
// name (so ".bak" and ".old" backups load too). Refusals: SourceMissing,
// SourceUnreadable (a folder, a pipe or a device among them; no descriptor
// or no memory left for reading a picture), SourceTruncated (see
// MeasurePicture), SourceFormatTooLarge, NotAPicture, SourceTooSmall (under
// 8 x 8 pixels), SourceTooLarge (with kMaxSourceSide and kMaxSourcePixels),
// TooManyColours.
std::expected<LoadedPicture, Error> LoadSourcePicture(const std::filesystem::path& path);

} // namespace orv
