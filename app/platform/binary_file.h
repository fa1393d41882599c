#pragma once
// A file opened for reading, with checked positional reads over a POSIX
// descriptor; files are written whole through ReplaceFile (file_commit.h).

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "system_error_text.h"

namespace orv {

struct IoError {
    int code = 0;          // errno of the failed call (0 for a short read, kNotRegularFile)
    std::string operation; // "open", "read", "write", "seek", "size", "flush", "close", "rename", ...
    std::string detail = {}; // what the step concerned, where it matters (an owner, an attribute's name)
};

class BinaryFile {
public:
    // Opens an existing file for reading without blocking; anything but a
    // regular file is refused with kNotRegularFile (EISDIR for a folder).
    static std::expected<BinaryFile, IoError> open(const std::filesystem::path& path);

    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    ~BinaryFile();

    int descriptor() const { return fd_; }
    std::expected<int64_t, IoError> size() const;

    // Reads exactly data.size() bytes at offset; a short read is an error (code 0).
    std::expected<void, IoError> readAt(int64_t offset, std::span<uint8_t> data) const;
    // Reads up to data.size() bytes at offset; returns how many were read.
    std::expected<size_t, IoError> readSomeAt(int64_t offset, std::span<uint8_t> data) const;

private:
    explicit BinaryFile(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// The whole file; a file longer than maxBytes is refused (EFBIG) before
// anything that size is allocated.
std::expected<std::vector<uint8_t>, IoError> ReadWholeFile(const std::filesystem::path& path,
                                                           int64_t maxBytes = int64_t{1} << 30);
// Creates or replaces path with data through ReplaceFile (file_commit.h):
// the old content is replaced only after the new one is completely written.
// flush: whether the data reaches the device before the rename.
std::expected<void, IoError> WriteWholeFile(const std::filesystem::path& path,
                                            std::span<const uint8_t> data, bool flush = true);
bool IsReadOnlyFile(const std::filesystem::path& path);
// 0 while a few files can still be opened; EMFILE or ENFILE when the
// descriptors are (nearly) used up, so a library or plugin loaded now fails.
int DescriptorShortage();
// "<operation>: <the system's text>".
std::string DescribeIoError(const IoError& error);

} // namespace orv
