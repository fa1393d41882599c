#pragma once
// The sprite packs' folder layout (a folder playing the disassembly's gfx/):
// pokemon/<name>/front.png (or front_gold.png / front_silver.png), back.png,
// shiny.pal and normal.pal; pokemon/unown_<letter>/front.png and back.png;
// pokemon/unown/normal.pal and shiny.pal for the letters' shared pair;
// trainers/<name>.png.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <vector>

#include "slot.h"

namespace orv::rom {

enum class PackKind { Pokemon, Unown, Trainer };
enum class PackFile { Front, FrontGold, FrontSilver, Back, NormalPal, ShinyPal, TrainerPicture };

struct PackEntry {
    PackKind kind = PackKind::Pokemon;
    int number = 1; // Pokemon 1 .. 251 (201: the letters' palettes only), Unown 1 .. 26, trainer 1 .. 66
    PackFile file = PackFile::Front;
    bool operator==(const PackEntry&) const = default;
};

constexpr size_t kPackPokemonNames = 251, kPackUnownNames = 26, kPackTrainerNames = 66;
extern const std::array<std::string_view, kPackPokemonNames> kPackPokemonNameTable;
extern const std::array<std::string_view, kPackUnownNames> kPackUnownNameTable;
extern const std::array<std::string_view, kPackTrainerNames> kPackTrainerNameTable;

// A path's parts between '/', empty ones left out: "a//b/" gives "a", "b".
std::vector<std::string_view> PathParts(std::string_view path);
// ASCII letters in lower case, every other byte as it is.
std::string LowerAscii(std::string_view text);

// "bulbasaur", "unown_a", "falkner"; empty for a number outside the table.
std::string_view PackName(PackKind kind, int number);

// The path below the layout's root, with '/' between the parts; empty for an
// entry the layout has no place for (a trainer's front, Pokemon 201's pictures).
std::string PackPath(const PackEntry& entry);

// The entry a path below the root names (any case); none for anything else.
std::optional<PackEntry> ParsePackPath(std::string_view relative);

// One file extract-all --layout pret writes: a slot's picture, or a slot's
// palette pair as a .pal file.
struct PackOutput {
    std::string relative; // below the layout's root
    Slot slot;
    bool palette = false;
};
// Every Pokemon but 201: front.png, back.png, shiny.pal; Unown's shared
// normal.pal and shiny.pal; the letters' front.png and back.png; trainers.
const std::vector<PackOutput>& PackOutputs();

// extract-all's flat name of a slot's picture, without the extension:
// "pokemon-025-front", "unown-03-back", "trainer-12".
std::string FlatName(const Slot& slot);

} // namespace orv::rom
