#pragma once
// A palette pair or a Pokemon's name changed in a ROM held in memory, as
// `orvista-cli palette --set` and `insert --name` change them: one checked
// patch, then the global checksum. The sprite packs' .pal files read.
// Errors are the faces' texts in the call's language.

#include <cstddef>
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <vector>

#include "byte_patch.h"
#include "gbc_color.h"
#include "rom_image.h"
#include "slot.h"
#include "web_text.h"

namespace orv::web {

// The name table's bytes per name in these games.
constexpr int kNameLength = 10;

struct Edited {
    std::vector<uint8_t> bytes;          // the whole ROM as changed
    std::vector<rom::BytePatch> patches; // the change, the global checksum last
    size_t changedBytes = 0;             // bytes that differ from the ROM as given
};

// The slot's palette pair (the shiny one for a shiny slot; an Unown letter's
// is Pokemon 201's) set to pair.
std::expected<Edited, std::string> SetPalette(const rom::RomImage& rom, const rom::Slot& slot, const PalettePair& pair,
                                              std::string_view romName, Language language);

// Pokemon number's name field (kNameLength bytes) set to name, UTF-8.
std::expected<Edited, std::string> SetName(const rom::RomImage& rom, int number, std::string_view name,
                                           std::string_view romName, Language language);

// A .pal file's pair; the error names the file as fileName.
std::expected<PalettePair, std::string> ParsePal(std::string_view text, std::string_view fileName, Language language);

} // namespace orv::web
