#pragma once
// Every text the command line prints for a fact of the core, in English,
// written once. The path a text names is the face's: the file the failed
// work was about.

#include <string>
#include <string_view>

#include "batch_plan.h"
#include "byte_patch.h"
#include "codec.h"
#include "error.h"
#include "pack_index.h"
#include "palette_file.h"

namespace orv::en {

std::string Text(const Error& error, std::string_view path = {});
std::string Text(const Note& note);

// "the picture of Pokemon 25 (front)", "the Pokemon picture pointer table", ...
std::string RegionText(Region region, const rom::Slot& slot);

// What is wrong in a .pal file, naming the file and the line.
std::string Text(const rom::PalFileError& error, std::string_view path);
// Why a file of a sprite pack is not used for a ROM of this version:
// "not used: ..." without the path.
std::string Text(const rom::PackSkipped& skipped, rom::GameVersion version);

// What a batch did with one of its items, as insert-all lists it:
// "unchanged", "replaced in place at 0x...", "moved from ... to ...", ...
std::string Text(const rom::BatchStep& step, const std::vector<rom::BatchItem>& items);
// A file or folder a sprite pack's layout does not know, without the path:
// "ignored (not part of the layout; 3 files)".
std::string Text(const rom::PackIgnored& ignored);

// A file of a flat folder whose name is none extract-all writes, without the path.
std::string FlatIgnoredText();
// The refusal after a batch's misshapen pictures were named, one line each.
std::string MisshapenBatchText(size_t pictures, bool unownFront);

// A short description of a codec failure.
std::string CodecText(codec::Error error);

// How a patch of a change's list is named in reports: "picture data", ...
const char* PatchName(rom::PatchKind kind);

} // namespace orv::en
