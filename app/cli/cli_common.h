#pragma once
// What the commands of orvista-cli share: streams, exit paths, game slots.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli_args.h"
#include "error.h"
#include "slot.h"
#include "text_format.h"

namespace orv::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// "orvista-cli: <problem>" and a pointer to the command's help; kExitUsage.
int Usage(Streams s, const std::string& command, const std::string& problem);
// "orvista-cli: <message>"; kExitFailed.
int Failed(Streams s, const std::string& message);
// The same with the core's fact in English; path is the file it is about.
int Failed(Streams s, const Error& error, std::string_view path = {});

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

// A game slot from --pokemon, --unown or --trainer, with --back and --shiny.
// Ranges are the core's business; here only the combination is checked.
inline const std::set<std::string> kSlotValues{"--pokemon", "--unown", "--trainer"};
inline const std::set<std::string> kSlotSwitches{"--back", "--shiny"};
// None without a slot option (then --back and --shiny are refused too).
std::expected<std::optional<rom::Slot>, std::string> SlotFrom(const Args& args);

// What to give for a ROM whose code draws other shapes than the games do.
std::string AnyShapeHint();

// Every slot of the three picture tables, named as extract-all names its
// files: pokemon-NNN-front/back (201 through the Unown table),
// unown-NN-front/back, trainer-NN.
struct NamedSlot {
    rom::Slot slot;
    std::string name;
};
const std::vector<NamedSlot>& NamedSlots();

} // namespace orv::cli
