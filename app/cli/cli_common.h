#pragma once
// What the commands of orvista-cli share: streams, exit paths, game slots.

#include <cstdint>
#include <expected>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>

#include "cli_args.h"
#include "extraction.h"
#include "insertion.h"

namespace orv::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// "orvista-cli: <problem>" and a pointer to the command's help; kExitUsage.
int Usage(Streams s, const std::string& command, const std::string& problem);
// "orvista-cli: <message>"; kExitFailed.
int Failed(Streams s, const std::string& message);

// A file a command reads, as messages name it ("the ROM", "the source").
struct NamedInput {
    std::filesystem::path path;
    const char* role;
};
// The refusal when the output (named as `what`: "the output", "the patch")
// is one of the inputs, links followed, hard links included:
// "the output "<out>" names the ROM itself ("<rom>", through a link or another
// name); writing it would destroy the ROM. Nothing was written."
std::optional<std::string> OutputOverInput(const std::filesystem::path& output, const char* what,
                                           std::span<const NamedInput> inputs);

// Offsets in results: "0x" and upper-case hex digits, as scripts and the
// command line read them.
std::string Hex(int64_t value);

// A game slot from --pokemon, --unown or --trainer, with --back and --shiny.
// Ranges are the cores' business; here only the combination is checked.
struct Slot {
    bool trainer = false;
    bool unown = false;
    int64_t number = 1;     // Pokemon or trainer number; 201 for Unown
    int64_t unownIndex = 1; // --unown
    bool back = false;
    bool shiny = false;
};
inline const std::set<std::string> kSlotValues{"--pokemon", "--unown", "--trainer"};
inline const std::set<std::string> kSlotSwitches{"--back", "--shiny"};
// None without a slot option (then --back and --shiny are refused too).
std::expected<std::optional<Slot>, std::string> SlotFrom(const Args& args);

rom::ExtractRequest SlotRequest(const std::filesystem::path& romPath, const Slot& slot);
// The slot's numbers and sides into an insertion request.
void SetSlot(rom::InsertRequest& request, const Slot& slot);
// The slot's normal (or --shiny) palette pair as the ROM holds it; none when
// the ROM is too short for it.
std::optional<PalettePair> SlotPalette(const rom::RomFile& rom, const Slot& slot);

// What to give for a ROM whose code draws other shapes than the games do.
std::string AnyShapeHint();

// Every slot of the three picture tables, named as extract-all names its
// files: pokemon-NNN-front/back (201 through the Unown table),
// unown-NN-front/back, trainer-NN.
struct NamedSlot {
    Slot slot;
    std::string name;
};
std::vector<NamedSlot> AllSlots();

} // namespace orv::cli
