#pragma once
// Replacing a file as one step: the new content goes to a temporary file in
// the target's folder and is renamed over the target, so a reader, a crash or
// a kill sees either the old file or the new one, never a mixture.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>

#include "binary_file.h"

namespace orv {

struct ReplaceOptions {
    // fsync the data (and the folder after the rename). Files that can be
    // made again skip it; a ROM never does.
    bool flush = true;
};

// The file a path finally names: symbolic links are followed, so the link
// stays a link and its target is replaced. The path itself when it names
// nothing yet.
std::filesystem::path ReplacementTarget(const std::filesystem::path& path);

// Writes data over the file at path (created when missing). An existing
// target keeps its permission bits and, where allowed, its owner. Errors name
// the step: "create temporary" (no temporary file can be made beside the
// target; nothing was touched), "write", "flush", "close", "rename". After
// any error the target is as it was and the temporary file is removed.
std::expected<void, IoError> ReplaceFile(const std::filesystem::path& path, std::span<const uint8_t> data,
                                         ReplaceOptions options = {});

// True for the names of this program's temporary files: they never count as
// the file they were meant to replace.
bool IsReplacementTemporary(const std::filesystem::path& path);

// Removes temporary files left beside path's target by a run that was killed
// between creating and renaming them. Only safe while no other writer of
// this target runs (the ROM lock).
void RemoveStaleTemporaries(const std::filesystem::path& path);

} // namespace orv
