#pragma once
// The first and last steps of every command that changes a ROM.

#include <chrono>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "byte_patch.h"
#include "cli_args.h"
#include "patch_file.h"
#include "rom_change.h"

namespace orv::cli {

// The options FinishChange reads, for the option tables of the commands that
// change a ROM, and their help lines.
inline const std::set<std::string> kChangeValues{"--patch"};
inline const std::set<std::string> kChangeSwitches{"--keep-checksum", "--dry-run"};
extern const char kChangeHelp[];

// --wait SECONDS, 0 to 3600: how long to wait for another program's lock on
// the ROM; kDefaultLockWait without the option.
std::expected<std::chrono::milliseconds, std::string> LockWaitOption(const Args& args);

// The ROM locked and read for a change: refused unless the program may
// replace it (a change written as a patch only reads it, so a read-only ROM
// serves) and it holds one of the games, told as info tells it. The error is
// English and names the ROM.
std::expected<RomChange, std::string> BeginRomChange(const std::filesystem::path& rom,
                                                     std::chrono::milliseconds wait, bool intoPatch);

struct PatchTarget {
    std::filesystem::path path;
    rom::PatchFormat format;
};
// --patch FILE, its format from the extension; none without the option.
std::expected<std::optional<PatchTarget>, std::string> PatchOption(const Args& args);

struct FinishedChange {
    // As applied: the command's patches, then the global checksum unless
    // --keep-checksum is given (or the file is shorter than a header).
    std::vector<rom::BytePatch> patches;
    bool romReplaced = false; // false with --dry-run and with --patch
    std::optional<PatchTarget> patch;
    int64_t patchBytes = 0;
    bool patchWritten = false; // false with --dry-run
};

// Applies the patches to the ROM as read and, unless --dry-run is given,
// commits the result in one step, or with --patch writes the change as a
// patch file (whole or not at all) and leaves the ROM untouched. The error is
// English and says that nothing was written.
std::expected<FinishedChange, std::string> FinishChange(const Args& args, RomChange& change,
                                                        const std::vector<rom::BytePatch>& patches);

// "wrote PATCH: BPS patch of N bytes; ROM is unchanged" ("would write ..."
// with --dry-run); empty without --patch.
std::string PatchLine(const FinishedChange& done, const std::filesystem::path& rom);


} // namespace orv::cli
