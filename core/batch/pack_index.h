#pragma once
// Which files of a sprite pack (the layout of pack_layout.h) go where in one
// ROM: the front picture of the ROM's edition, the back pictures, the
// palettes, and what is left out and why. The face lists the files; this
// needs no file system.

#include <span>
#include <string>
#include <vector>

#include "pack_layout.h"
#include "rom_identity.h"
#include "slot.h"

namespace orv::rom {

struct PackFileUse {
    std::string path; // as given
    PackEntry entry;
    // The picture's slot; for a .pal file the palette's (shiny for shiny.pal,
    // Pokemon 201 for the Unown letters' shared pair).
    Slot slot;
};

enum class PackSkip {
    OtherEdition,   // front_silver.png in a Gold ROM, front_gold.png in a Silver one
    EditionFront,   // front.png beside the front of the ROM's edition
    EditionUnknown, // front_gold.png or front_silver.png, but the header names neither edition
    Duplicate,      // the same file once more, in other letter case
};

struct PackSkipped {
    std::string path;
    PackSkip why;
    std::string instead; // the file used for the slot, if any
};

// A file or folder the layout does not know: "egg/" for a whole folder,
// "pokemon/*/anim.asm" for a name found in several Pokemon folders.
struct PackIgnored {
    std::string path;
    size_t files = 1;
};

struct PackIndex {
    std::vector<PackFileUse> pictures; // Pokemon, Unown letters, trainers, by number; front before back
    std::vector<PackFileUse> palettes; // by number; normal before shiny
    std::vector<PackSkipped> skipped;
    std::vector<PackIgnored> ignored;
};

// paths: below the layout's root, parts separated by '/'; a folder that was
// not looked into ends in '/'. The front of a Pokemon or letter is
// front_gold.png or front_silver.png by the ROM's edition, else front.png.
PackIndex IndexPack(std::span<const std::string> paths, GameVersion version);

} // namespace orv::rom
