#pragma once
// Several coded pictures and palette pairs into their slots as one change:
// each left alone when the slot holds it already, a picture whose tile data
// the slot holds only recoloured, else written over its old stream when it
// fits there, else moved to a free place found after zeroing the old stream.
// The result is one checked patch list; nothing is written.

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <vector>

#include "byte_patch.h"
#include "error.h"
#include "gbc_color.h"
#include "rom_image.h"
#include "slot.h"

namespace orv::rom {

struct BatchItem {
    std::string name; // how the face names it (a file name), for conflicts and notes
    Slot slot;
    std::vector<uint8_t> tileData; // the coded picture
    std::vector<uint8_t> stream;   // what is written
    uint32_t colour1 = 0, colour2 = 0;
    int width = 0, height = 0;
    // No picture: only the slot's palette pair (the shiny one for a shiny slot).
    bool paletteOnly = false;
};

// A palette item: the pair as colours that convert back to exactly its words.
BatchItem PaletteItem(std::string name, const Slot& slot, const PalettePair& pair);

enum class BatchOutcome {
    Unchanged,  // the slot holds this tile data and palette already
    SameAs,     // another item for the same slot carries the same picture
    InPlace,    // written over the slot's old stream
    Moved,      // the old stream zeroed (or left) and the data placed elsewhere
    Recoloured, // the slot holds this tile data: only the palette pair is written
    PaletteSet, // a palette item: its pair is written
};

// Where a moved picture's pointer led before.
enum class OldPlace {
    Zeroed,       // a complete stream of oldBytes, now zeros
    NoPicture,    // no complete picture there
    Shared,       // left there: another picture or a table shares its bytes
    OutsideRom,   // the pointer lies outside the ROM
};

struct BatchStep {
    size_t item = 0;
    BatchOutcome outcome = BatchOutcome::Unchanged;
    size_t sameAs = 0;     // SameAs: the item it repeats
    int64_t offset = 0;    // InPlace, Moved: where the data goes; Recoloured, PaletteSet: the palette's place
    int64_t bytes = 0;     // InPlace, Moved: data bytes
    int64_t oldBytes = 0;  // InPlace, Moved from Zeroed: bytes of the old stream
    OldPlace from = OldPlace::Zeroed;
    int64_t fromOffset = 0; // Moved: where the old pointer led
};

struct BatchNote {
    size_t item = 0;
    Note note;
};

// Free runs shorter than this count for nothing in the free-byte totals.
constexpr int64_t kCountedRunBytes = 64;

struct BatchPlan {
    std::vector<BatchStep> steps;   // unchanged and repeated items first, then the changed ones in order
    std::vector<BatchNote> notes;
    std::vector<BytePatch> patches; // in writing order, without the checksum
    size_t changed = 0;             // items written
    int64_t freeBefore = 0, freeAfter = 0; // zero bytes in runs of kCountedRunBytes and more
};

struct BatchError {
    std::optional<size_t> item; // the item refused, when one is
    Error error;
    // The items whose shape their slot does not take, each with its refusal
    // (BadShape, TooManyTiles, ...); every changed item is checked before
    // anything is planned. error then is the first of them.
    std::vector<std::pair<size_t, Error>> misshapen;
};

struct BatchRules {
    // Any shape a size byte holds, not only those a slot draws whole.
    bool anyShape = false;
    // Items that give one palette different pairs are refused (PaletteConflict)
    // instead of noted (PaletteShared), unchanged items included.
    bool paletteConflictsRefused = false;
};

// Items in the order given; each picture is planned on the ROM as the ones
// before leave it, so space freed by one serves the next. Every changed
// picture must have a shape its slot draws whole (or, with anyShape, any a
// size byte holds); the 26 Unown fronts take a new shape when all 26 come in
// it together. Refusals: SlotConflict (two items for one slot with different
// pictures), PaletteConflict (with the rule), the misshapen items,
// BatchNoRoom, and an item's own refusal (its slot, the insertion's checks).
std::expected<BatchPlan, BatchError> PlanBatch(const RomImage& rom, const std::vector<BatchItem>& items,
                                               BatchRules rules = {});

// The patch that gives the slot's palette (the shiny one for a shiny slot)
// this pair: OutOfRange for the slot's numbers, TooShort (palette).
std::expected<BytePatch, Error> PlanPaletteChange(const RomImage& rom, const Slot& slot, const PalettePair& pair);

// A pair's 4 bytes in file order as one number, as PaletteConflict holds them.
int64_t PairNumber(const PalettePair& pair);

// The slot's palette pair as the ROM holds it (the shiny one for a shiny
// slot); none when the ROM is too short for it or the slot's number lies
// outside its table.
std::optional<PalettePair> SlotPalettePair(const RomImage& rom, const Slot& slot);

// Equal as game colours: bit 15 of each colour word means nothing.
bool SamePalettePair(const PalettePair& a, const PalettePair& b);

} // namespace orv::rom
