#pragma once
// An exclusive advisory lock that keeps the program's instances from changing
// one file at the same time.

#include <chrono>
#include <expected>
#include <filesystem>

#include "binary_file.h"

namespace orv {

struct LockError {
    bool busy = false; // another holder kept the lock for the whole wait
    IoError io;        // otherwise: why the file could not be opened or locked
};

class LockedFile {
public:
    // Opens the file the path names and locks it, waiting up to `wait` for
    // another holder. A file replaced by rename while we waited is let go and
    // the one the path names now is locked instead, so the holder always has
    // the current file. The lock lasts as long as the object.
    static std::expected<LockedFile, LockError> lock(const std::filesystem::path& path,
                                                     std::chrono::milliseconds wait);

    const BinaryFile& file() const { return file_; }
    // Whether the path still names the locked file (same device and inode).
    bool stillAtPath(const std::filesystem::path& path) const;

private:
    explicit LockedFile(BinaryFile file) : file_(std::move(file)) {}
    BinaryFile file_; // closing it releases the lock
};

} // namespace orv
