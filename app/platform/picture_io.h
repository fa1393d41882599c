#pragma once
// Own picture files and bitmaps read and written whole; their bytes are the
// core's (orv_format.h, bitmap.h).

#include <expected>
#include <filesystem>
#include <span>

#include "error.h"
#include "orv_format.h"
#include "working_picture.h"

namespace orv {

// Replaces path atomically with EncodeOrv's bytes: its refusals, and
// OrvWriteFailed. flush: whether the file reaches the device first.
std::expected<void, Error> WriteOrvFile(const std::filesystem::path& path, std::span<const uint8_t> encoded,
                                        Colour colour1, Colour colour2, int width, int height, TileOrder order,
                                        bool flush = true);

// Reads up to kOrvMaxReadBytes and decodes them: OpenFailed, OrvUnreadable,
// and DecodeOrv's refusals.
std::expected<OrvPicture, Error> ReadOrvFile(const std::filesystem::path& path);

// Replaces path atomically with EncodeBitmap(picture). BitmapEmpty for a
// picture without pixels, BitmapWriteFailed.
std::expected<void, Error> WriteBitmapFile(const std::filesystem::path& path, const WorkingPicture& picture,
                                           bool flush = true);

} // namespace orv
