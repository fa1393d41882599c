#pragma once
// The commands of orvista-cli; each returns its exit code.

#include <cstdint>
#include <expected>
#include <iosfwd>
#include <string>

#include "cli_args.h"

namespace orv::cli {

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

int Usage(Streams s, const std::string& problem);
int Failed(Streams s, const std::string& message);

// A game slot from --pokemon, --unown or --trainer (at most one).
struct SlotChoice {
    bool given = false;
    bool trainer = false;
    bool unown = false;
    int64_t number = 1; // Pokemon or trainer number; 201 for Unown
    int64_t unownIndex = 1;
};
std::expected<SlotChoice, std::string> SlotFrom(const Args& args);

int Extract(const Args& args, Streams s);
int Insert(const Args& args, Streams s);
int Info(const Args& args, Streams s);
int Encode(const Args& args, Streams s);
int Decode(const Args& args, Streams s);

} // namespace orv::cli
