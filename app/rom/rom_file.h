#pragma once
// A ROM opened for reading, with reads that report a too-short file by name.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "binary_file.h"
#include "rom_error.h"

namespace orv::rom {

class RomFile {
public:
    // OpenFailed: "Die Datei \"<path>\" konnte nicht geöffnet werden (Systemfehler <n>)."
    static std::expected<RomFile, RomError> open(const std::filesystem::path& path);

    const std::filesystem::path& path() const { return path_; }
    int64_t size() const { return size_; }
    int descriptor() const { return file_.descriptor(); }

    // True when offset .. offset + length - 1 lies inside the file.
    bool holds(int64_t offset, int64_t length) const
    {
        return offset >= 0 && length >= 0 && offset <= size_ && length <= size_ - offset;
    }
    // Reads exactly data.size() bytes; TooShort names `part` when they lie past the end.
    std::expected<void, RomError> read(int64_t offset, std::span<uint8_t> data, RomPart part) const;
    std::expected<std::vector<uint8_t>, RomError> read(int64_t offset, int64_t length, RomPart part) const;

private:
    RomFile(BinaryFile file, std::filesystem::path path, int64_t size)
        : file_(std::move(file)), path_(std::move(path)), size_(size)
    {
    }
    BinaryFile file_;
    std::filesystem::path path_;
    int64_t size_ = 0;
};

} // namespace orv::rom
