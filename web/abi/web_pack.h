#pragma once
// A picture folder as one batch, as `orvista-cli insert-all DIR ROM` plans it
// (the flat names, or the sprite packs' layout in DIR or DIR/gfx); the space
// map as `orvista-cli space` counts it; every file `orvista-cli extract-all`
// writes, as data. The page reads the folder and decodes its pictures; this
// decides which files count and what they become.

#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

#include "rom_image.h"
#include "web_text.h"
#include "web_insert.h"

namespace orv::web {

// One file or folder of the chosen folder, as the page hands it over.
struct FolderEntry {
    enum class Type : uint32_t { File = 0, Folder = 1, Picture = 2, Text = 3, Bytes = 4 };
    Type type = Type::File;
    std::string path; // below the chosen folder, parts separated by '/'
    SourcePicture picture;            // Picture
    std::span<const uint8_t> data;    // Text, Bytes
};

// The entries of orv_web.h's folder buffer; none when it is malformed.
std::optional<std::vector<FolderEntry>> ParseFolder(std::span<const uint8_t> buffer);

// What the page must read of each entry: 0 nothing, 1 a picture to decode,
// 2 a .pal text, 3 an own file's bytes. layout: 0 flat, 1 the packs' layout
// in the folder, 2 in its gfx/.
struct FolderNeeds {
    std::vector<uint8_t> read;
    uint32_t layout = 0;
};
FolderNeeds NeedsOfFolder(const std::vector<FolderEntry>& entries, const rom::RomImage& rom);

struct FolderPlan {
    bool ok = false;
    std::vector<uint8_t> bytes; // the whole ROM as changed, when ok
    std::string report;         // JSON: see orv_folder_plan
};
// folderName: how messages name the chosen folder. std::unexpected only for
// entries that lack what NeedsOfFolder asked for.
std::expected<FolderPlan, std::string> PlanFolder(const std::vector<FolderEntry>& entries, const rom::RomImage& rom,
                                                  const std::string& romName, const std::string& folderName,
                                                  bool anyShape, Language language = Language::English);

// The space map as JSON (see orv_space_map); an error names the ROM.
std::expected<std::string, std::string> SpaceMapJson(const rom::RomImage& rom, const std::string& romName,
                                                     int64_t minRun, Language language = Language::English);

// extract-all's files as orv_web.h's record buffer (see orv_extract_files).
std::vector<uint8_t> ExtractFiles(const rom::RomImage& rom, const std::string& romName, bool pack);

} // namespace orv::web
