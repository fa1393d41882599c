#pragma once
// Every text the wizard shows for a fact of the core, in German, written once.
// The path a text names is the face's: the file the failed work was about.

#include <cstdint>
#include <string>
#include <string_view>

#include "error.h"

namespace orv::de {

std::string Text(const Error& error, std::string_view path = {});
std::string Text(const Note& note);

// "das Bild von Pokemon 25 (Frontpic)", "die Zeigertabelle der Pokemonbilder", ...
std::string RegionText(Region region, const rom::Slot& slot);

// The question before non-zero bytes of unknown data are overwritten.
std::string OverwriteQuestion(int64_t dataOffset, int64_t bytes, int64_t first);
// The free-space search found nothing; the offset field keeps its value.
std::string NoFreePlaceText(int64_t bytes, int64_t start);

} // namespace orv::de
