#pragma once
// The one road by which a ROM changes: locked against the program's other
// instances from the read for planning to the commit, the new ROM computed in
// memory from a checked patch list and written as one file replacement. After
// any failure the ROM is as it was.

#include <chrono>
#include <expected>
#include <filesystem>
#include <span>

#include "error.h"
#include "file_lock.h"
#include "rom_image.h"

namespace orv {

constexpr std::chrono::milliseconds kDefaultLockWait{5000};

class RomChange {
public:
    // Locks the ROM, waiting up to `wait` for another instance, and reads it.
    // LockOpenFailed, Busy; ReadFailed, TooLarge.
    static std::expected<RomChange, Error> begin(const std::filesystem::path& path,
                                                 std::chrono::milliseconds wait = kDefaultLockWait);

    const rom::RomImage& rom() const { return rom_; }
    const std::filesystem::path& path() const { return path_; }

    // Whether a commit could keep the ROM's owner, group, ACLs and extended
    // attributes: OwnerNotKept, GroupNotKept, AttributesNotKept. A patch
    // leaves the ROM alone and needs no such check.
    std::expected<void, Error> checkReplaceable() const;

    // Replaces the ROM with `bytes` (a ROM the same length as the one read),
    // unless they are the bytes read. Before writing, and again after the new
    // ROM is written and flushed right before it takes the old one's place,
    // the file at the path is checked to be the one read, with the same
    // length and content (writers that take no lock): FileChanged. TemporaryFailed when no temporary file
    // can be made beside it, WriteFailed with the step. A successful commit
    // removes temporary files that killed runs left beside the ROM. A change
    // commits once: the lock then holds the replaced file.
    std::expected<void, Error> commit(std::span<const uint8_t> bytes);

private:
    bool unchangedSinceRead() const;
    RomChange(std::filesystem::path path, LockedFile lock, rom::RomImage rom)
        : path_(std::move(path)), lock_(std::move(lock)), rom_(std::move(rom))
    {
    }
    std::filesystem::path path_;
    LockedFile lock_;
    rom::RomImage rom_;
};

} // namespace orv
