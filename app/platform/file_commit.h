#pragma once
// Replacing a file as one step: the new content goes to a temporary file in
// the target's folder and is renamed over the target, so a reader, a crash or
// a kill sees either the old file or the new one, never a mixture.
//
// Each temporary is locked (flock) by its writer while it lives, so a cleanup
// removes only those of writers that are gone. A stopping signal removes it
// too (stop_signals.h).

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <string>

#include "binary_file.h"

namespace orv {

struct ReplaceOptions {
    // fsync the data (and the folder after the rename). Files that can be
    // made again skip it; a ROM never does.
    bool flush = true;
    // The replacement must get the old file's owner, group and extended
    // attributes (ACLs among them); where it cannot, nothing is written
    // ("keep owner", "keep group", "keep attributes"). Otherwise they are
    // kept where allowed. The permission bits are always kept.
    bool keepOwnerStrictly = false;
    // The rename is the work's final step: a stopping signal after it ends
    // the process with status 0 (stop_signals.h).
    bool finalStep = false;
};

// The file a path finally names: symbolic links are followed, so the link
// stays a link and its target is replaced. The path itself when it names
// nothing yet.
std::filesystem::path replacementTarget(const std::filesystem::path& path);

// A new content written and flushed beside its target, not yet in its place.
// Dropped without commit(), the temporary file is removed.
class PendingReplacement {
public:
    // Errors name the step: "create temporary" (nothing was touched), "keep
    // owner", "keep group", "keep attributes" (IoError::detail names the
    // owner, group or attribute), "write", "flush", "close".
    static std::expected<PendingReplacement, IoError> write(const std::filesystem::path& path,
                                                            std::span<const uint8_t> data,
                                                            ReplaceOptions options = {});
    PendingReplacement(PendingReplacement&& other) noexcept;
    PendingReplacement& operator=(PendingReplacement&&) = delete;
    PendingReplacement(const PendingReplacement&) = delete;
    ~PendingReplacement();

    // Renames the temporary over the target ("rename" on failure; the
    // temporary is then removed).
    std::expected<void, IoError> commit();

private:
    PendingReplacement() = default;
    void abandon();
    std::filesystem::path target_;
    std::string temporary_;
    int lockFd_ = -1; // holds the temporary's lock until it is renamed or removed
    int slot_ = -1;   // in the stop handling's list
    ReplaceOptions options_;
};

// Writes data over the file at path (created when missing) through a
// PendingReplacement. After any error the target is as it was and the
// temporary file is removed.
std::expected<void, IoError> replaceFile(const std::filesystem::path& path, std::span<const uint8_t> data,
                                         ReplaceOptions options = {});

// Whether a replacement of path can keep its owner, group and extended
// attributes (the errors of PendingReplacement::write with keepOwnerStrictly),
// judged before anything is written. A missing file passes.
std::expected<void, IoError> checkOwnerCanBeKept(const std::filesystem::path& path);

// True for the names of this program's temporary files: they never count as
// the file they were meant to replace.
bool isReplacementTemporary(const std::filesystem::path& path);

// Removes the temporary files beside path's target that no live writer holds
// (left by a run that was killed between creating and renaming them).
void removeStaleTemporaries(const std::filesystem::path& path);

} // namespace orv
