#pragma once
// A picture written in the format its file name asks for.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "working_picture.h"

namespace orv::cli {

enum class OutputFormat {
    Png,      // the four shades
    Bitmap,   // ".bmp" / ".dib": the four shades, as the wizard writes them
    Orv,      // the own picture file
    TileData, // ".2bpp": the decompressed tile data as stored
    Stream,   // ".lz": the compressed stream as stored or encoded
};

// From the extension, case-insensitive; refused with the formats known.
std::expected<OutputFormat, std::string> FormatOfPath(const std::filesystem::path& path);
// From a --format word: png, bmp, orv, 2bpp or lz.
std::optional<OutputFormat> FormatNamed(const std::string& word);
const char* ExtensionOf(OutputFormat format); // ".png", ...

struct PictureOutput {
    std::span<const uint8_t> stream;
    std::span<const uint8_t> tileData;
    Colour colour1 = 0, colour2 = 0;
    int width = 0, height = 0;
    TileOrder order = TileOrder::Vertical;
};

// Every format is written whole or not at all. The error is English. flush:
// whether the file reaches the device before it takes its name (files that
// can be made again skip it).
std::expected<void, std::string> WritePicture(const std::filesystem::path& path, OutputFormat format,
                                              const PictureOutput& picture, bool flush = true);

} // namespace orv::cli
