#pragma once
// The four-shade picture as an uncompressed Windows bitmap.

#include <cstdint>
#include <vector>

#include "working_picture.h"

namespace orv {

// BITMAPFILEHEADER + BITMAPINFOHEADER, 24 bits per pixel, rows bottom-up and
// padded to 4 bytes. Empty for a picture without pixels or one too large
// for the header's 32-bit sizes.
std::vector<uint8_t> EncodeBitmap(const WorkingPicture& picture);

} // namespace orv
