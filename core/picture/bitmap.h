#pragma once
// The bitmap target: the four-shade picture as an uncompressed Windows bitmap.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <vector>

#include "picture_error.h"
#include "working_picture.h"

namespace orv {

// BITMAPFILEHEADER + BITMAPINFOHEADER, 24 bits per pixel, rows bottom-up and
// padded to 4 bytes. Empty for a picture without pixels or one too large
// for the header's 32-bit sizes.
std::vector<uint8_t> EncodeBitmap(const WorkingPicture& picture);

// Replaces path atomically with EncodeBitmap(picture). Refusals:
//   "Es ist kein Bild zum Speichern vorhanden."
//   "Die Bilddatei "<path>" konnte nicht geschrieben werden (Systemfehler <n>: <text>)."
// English: "There is no picture to save." / "The picture file "<path>" could not be written
// (system error <n>: <text>)." flush: whether the file reaches the device first.
std::expected<void, PictureError> WriteBitmapFile(const std::filesystem::path& path,
                                                  const WorkingPicture& picture, bool flush = true);

} // namespace orv
