#pragma once
// The last step of every command that changes a ROM.

#include <expected>
#include <string>
#include <vector>

#include "byte_patch.h"
#include "cli_args.h"
#include "rom_change.h"

namespace orv::cli {

// Applies the patches to the ROM as read and commits the result in one step,
// unless --dry-run is given. The error is English and says that nothing was
// written.
std::expected<void, std::string> FinishChange(const Args& args, rom::RomChange& change,
                                              const std::vector<rom::BytePatch>& patches);

} // namespace orv::cli
