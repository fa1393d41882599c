#pragma once
// Every text the wizard shows for a fact of the core, in German, written once.
// The path a text names is the face's: the file the failed work was about.

#include <cstdint>
#include <string>
#include <string_view>

#include "batch_plan.h"
#include "byte_patch.h"
#include "error.h"
#include "pack_index.h"
#include "palette_file.h"

namespace orv::de {

std::string Text(const Error& error, std::string_view path = {});
std::string Text(const Note& note);

// "das Bild von Pokemon 25 (Frontpic)", "die Zeigertabelle der Pokemonbilder", ...
std::string RegionText(Region region, const rom::Slot& slot);

// What is wrong in a .pal file, naming the file and the line.
std::string Text(const rom::PalFileError& error, std::string_view path);

// Why a file of a sprite pack is not used for a ROM of this version:
// "nicht verwendet (...)" without the path.
std::string Text(const rom::PackSkipped& skipped, rom::GameVersion version);
// What a batch did with one of its items: "unverändert", "an seiner Stelle
// ersetzt bei &H...", "verschoben von ... nach ...", ...
std::string Text(const rom::BatchStep& step, const std::vector<rom::BatchItem>& items);
// A file or folder a sprite pack's layout does not know, without the path.
std::string Text(const rom::PackIgnored& ignored);
// A file of a flat folder whose name is none extract-all writes, without the path.
std::string FlatIgnoredText();
// The refusal after a batch's misshapen pictures were named, one line each.
std::string MisshapenBatchText(size_t pictures, bool unownFront);
// How a patch of a change's list is named in reports: "Bilddaten", ...
const char* PatchName(rom::PatchKind kind);

// The question before a shape the game does not draw whole in its slot
// (refusal: BadShape); an Unown front changes the size all 26 share.
std::string ShapeQuestion(const Error& refusal, bool unownFront);
// The question before non-zero bytes of unknown data are overwritten.
std::string OverwriteQuestion(int64_t dataOffset, int64_t bytes, int64_t first);
// The target to write is the source itself (through a link or another name).
std::string TargetIsSourceText(std::string_view target, std::string_view source);
// The free-space search found nothing; the offset field keeps its value.
std::string NoFreePlaceText(int64_t bytes, int64_t start);

} // namespace orv::de
