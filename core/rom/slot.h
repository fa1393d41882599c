#pragma once
// A picture slot of the games: one entry of the three picture pointer tables
// and the palette that goes with it. Every request and result names a slot
// this way.

#include <cstdint>
#include <expected>
#include <vector>

namespace orv {
struct Error;
}

namespace orv::rom {

struct Slot {
    enum class Kind { Pokemon, Unown, Trainer };
    Kind kind = Kind::Pokemon;
    // Pokemon 1 .. 251 (201 is the Unown table's first form), Unown form
    // 1 .. 26, trainer 1 .. 66; other numbers are refused where used.
    int64_t number = 1;
    bool back = false;  // the back picture (Pokemon and Unown)
    bool shiny = false; // the shiny palette (Pokemon and Unown)

    bool operator==(const Slot&) const = default;
};

constexpr int kUnownNumber = 201;

// The table entry a slot reads: shiny dropped, back dropped for trainers,
// Pokemon 201 as Unown 1. Two slots are one entry when these are equal.
Slot TableEntry(const Slot& slot);
// The slot checked against its table and as TableEntry, but with its shiny
// choice. OutOfRange names the Pokemon number, the Unown index or the
// trainer number.
std::expected<Slot, Error> CheckedSlot(const Slot& slot);

// The Pokemon whose palette, size byte and name go with the slot (201 for
// every Unown form); the trainer number for a trainer.
int PaletteNumber(const Slot& slot);
bool IsTrainer(const Slot& slot);

// Where the slot's picture pointer and palette lie (numbers as checked).
int64_t PointerLocation(const Slot& slot);
int64_t PaletteLocation(const Slot& slot);

// The table entries in table order: Pokemon 1 front and back .. 251, Unown
// 1 .. 26 front and back, trainers 1 .. 66; with Pokemon201::Listed also
// Pokemon 201, which reads the Unown table's first entry.
enum class Pokemon201 { Skipped, Listed };
const std::vector<Slot>& AllPictureSlots(Pokemon201 pokemon201 = Pokemon201::Skipped);

} // namespace orv::rom
