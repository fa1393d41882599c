#pragma once
// A file with checked positional reads and writes over a POSIX descriptor.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace orv {

struct IoError {
    int code = 0;          // errno of the failed call (0 for a short read)
    std::string operation; // "open", "read", "write", "seek", "size", "close"
};

class BinaryFile {
public:
    enum class Mode {
        Read,        // existing file, read only
        ReadWrite,   // existing file, read and write, never created or truncated
        CreateWrite, // created or replaced, write only
    };

    static std::expected<BinaryFile, IoError> open(const std::filesystem::path& path, Mode mode);

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
    std::expected<uint8_t, IoError> readByteAt(int64_t offset) const;
    // Writes all of data at offset.
    std::expected<void, IoError> writeAt(int64_t offset, std::span<const uint8_t> data);
    // Flushes to the device and closes; reports what a deferred write error left.
    std::expected<void, IoError> close();

private:
    explicit BinaryFile(int fd) : fd_(fd) {}
    int fd_ = -1;
};

std::expected<std::vector<uint8_t>, IoError> readWholeFile(const std::filesystem::path& path);
// Creates or replaces path with data; the old content is replaced only after
// the new one is completely written.
std::expected<void, IoError> writeWholeFile(const std::filesystem::path& path,
                                            std::span<const uint8_t> data);
bool isReadOnlyFile(const std::filesystem::path& path);
std::string describeIoError(const IoError& error);

} // namespace orv
