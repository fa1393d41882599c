#pragma once
// A picture folder as insert-all reads it, over the paths and contents a face
// hands over: the layout (a sprite pack's root in the folder or its gfx/,
// else extract-all's flat names), which files are used or ignored, and a
// pack's pictures coded per palette. The face lists and reads the files and
// decodes the pictures; this needs no file system.

#include <cstddef>
#include <expected>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "batch_plan.h"
#include "error.h"
#include "pack_index.h"
#include "palette_file.h"
#include "picture_coding.h"
#include "rom_image.h"
#include "slot.h"

namespace orv::rom {

// paths: below the chosen folder, parts separated by '/', a folder ending in
// '/'. The pack's root: "" when the folder holds a folder pokemon/ or
// trainers/ (any case), else "gfx/" when its gfx/ does; none for a flat folder.
std::optional<std::string> PackRootIn(std::span<const std::string> paths);

// Whether the layout looks into a folder below the root: pokemon/,
// trainers/ and pokemon/<any>/ (any case).
bool PackFolderKnown(std::string_view relativeFolder);

// A path IndexPack takes, and the given path it came from (none for a folder
// not looked into, listed once as "<path>/").
struct ListedPath {
    std::string path; // below the root
    std::optional<size_t> from;
};
// The paths below root that IndexPack takes, sorted: files in known folders
// and every unknown folder once.
std::vector<ListedPath> PackListing(std::span<const std::string> paths, std::string_view root);

// A file of a flat folder: its name, and whether it is a file at all.
struct FlatEntry {
    std::string name;
    bool file = true;
};
struct FlatFileUse {
    std::string name;
    Slot slot;
    bool ownFile = false; // .orv
};
struct FlatIndex {
    std::vector<FlatFileUse> used;    // sorted by name
    std::vector<std::string> ignored; // not named as extract-all names pictures, sorted
};
// Files named "<FlatName>.<ext>" with an extension the program reads (png,
// bmp, dib, gif, ico, cur, bak, old, orv; any case) are used.
FlatIndex IndexFlatFolder(std::span<const FlatEntry> entries);

// A coded picture as a batch item.
BatchItem PictureItem(std::string name, const Slot& slot, CodedPicture coded);

// What the face reads for a pack: a .pal file's text, a picture decoded.
// None stops the batch: the face has said why.
struct PackReader {
    std::function<std::optional<std::string>(const PackFileUse&)> palText;
    std::function<std::optional<DecodedPicture>(const PackFileUse&)> picture;
};

// The file refused, and why: its .pal text, its coding; neither when the
// reader stopped.
struct PackRefusal {
    std::string path;
    std::optional<PalFileError> palError;
    std::optional<Error> error;
};

// The index's pictures coded for their slots, then its palette items. The
// pictures of one palette go together: beside a normal.pal each takes its
// pair (grays their shades by lightness); else the one with the most colours
// gives the pair and one with fewer keeps the colour it does not use. Files
// are read palettes first, then per palette in the index's order.
std::expected<std::vector<BatchItem>, PackRefusal> CodePack(const PackIndex& index, const RomImage& rom,
                                                            const PackReader& reader);

} // namespace orv::rom
