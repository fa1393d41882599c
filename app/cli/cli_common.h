#pragma once
// What the commands of orvista-cli share: streams, exit paths, game slots.

#include <cstdint>
#include <expected>
#include <iosfwd>
#include <optional>
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

// A game slot from --pokemon, --unown or --trainer, with --back and --shiny.
// Ranges are the core's business; here only the combination is checked.
inline const std::set<std::string> kSlotValues{"--pokemon", "--unown", "--trainer"};
inline const std::set<std::string> kSlotSwitches{"--back", "--shiny"};
// None without a slot option (then --back and --shiny are refused too).
std::expected<std::optional<rom::Slot>, std::string> SlotFrom(const Args& args);

// Every slot of the three picture tables, named as extract-all names its
// files: pokemon-NNN-front/back (201 through the Unown table),
// unown-NN-front/back, trainer-NN.
struct NamedSlot {
    rom::Slot slot;
    std::string name;
};
const std::vector<NamedSlot>& NamedSlots();

} // namespace orv::cli
