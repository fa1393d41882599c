#pragma once
// The sprite packs' folder layout (pack_layout.h) on the command line: the
// files extract-all --layout pret writes, and insert-all's reading of such a
// folder into one batch.

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "batch_plan.h"
#include "rom_image.h"
#include "slot.h"

namespace orv::cli {

// The layout's root: dir when it holds a folder pokemon/ or trainers/, else
// dir/gfx when that does (a checkout's root); none for a flat folder.
std::optional<std::filesystem::path> PackRoot(const std::filesystem::path& dir);

struct PackBatch {
    std::vector<rom::BatchItem> items; // named by their paths below the root
    std::vector<std::string> unused;   // "<path>: <why>" for files of the layout left out, and ignored ones
};

// The layout's files for the ROM, each picture coded for its slot with the
// colour roles of insert, so that the normal pair of a Pokemon comes from
// its normal.pal or else from its pictures. The error is English and names
// the file.
std::expected<PackBatch, std::string> ReadPack(const std::filesystem::path& root, const rom::RomImage& rom);

} // namespace orv::cli
