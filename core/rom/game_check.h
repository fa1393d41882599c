#pragma once
// Whether a ROM is one of the games' at all, before anything is planned in it.

#include <optional>

#include "error.h"
#include "rom_image.h"

namespace orv::rom {

// None when the language is known and some slot's pointer leads to a whole
// picture; else NotThisGameLanguage or NotThisGameNoPicture.
std::optional<Error> FindGameMismatch(const RomImage& rom);

} // namespace orv::rom
