#pragma once
// What a ROM holds per bank: the slots' pictures and the free runs where
// picture data may go, as the insertion sees them.

#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

#include "free_space.h"
#include "error.h"
#include "rom_image.h"

namespace orv::rom {

struct BankSpace {
    int64_t bank = 0;
    int pictures = 0;         // distinct complete streams the slots lead to, starting in this bank
    int64_t pictureBytes = 0; // their compressed bytes
    std::vector<FreeRun> runs;
    int64_t freeBytes = 0;

    std::optional<FreeRun> largest() const;
};

struct SpaceMap {
    std::vector<BankSpace> banks; // those with pictures or free runs, in order
    int pictures = 0;
    int64_t pictureBytes = 0;
    size_t runs = 0;
    int64_t freeBytes = 0;
    std::optional<FreeRun> largest; // the first of the longest
};

// FreeRuns(rom, minLength) without the zeros that belong to a table
// (KnownRegions, names of nameLength bytes) or to a slot's complete picture,
// which the insertion passes over; pieces shorter than minLength drop out.
// CodecMissing when the slots' pictures cannot be measured.
std::expected<SpaceMap, Error> MapSpace(const RomImage& rom, int64_t minLength, int nameLength = 10);

} // namespace orv::rom
