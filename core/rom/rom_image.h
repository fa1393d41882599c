#pragma once
// A ROM read whole into memory, with reads that report a too-short file by
// name. Planning works on this copy; the file is read once.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "binary_file.h"
#include "rom_error.h"

namespace orv::rom {

// Far beyond any ROM of these games (2 MiB; pointers reach 4 MiB), and small
// enough to hold in memory.
constexpr int64_t kMaxRomBytes = int64_t{64} << 20;

class RomFile {
public:
    // OpenFailed: "Die Datei \"<path>\" konnte nicht geöffnet werden (Systemfehler <n>: <text>)."
    // (a folder, a device or a pipe is refused without blocking); ReadFailed;
    // TooLarge beyond kMaxRomBytes.
    static std::expected<RomFile, RomError> open(const std::filesystem::path& path);
    // The same from a file already open (e.g. locked).
    static std::expected<RomFile, RomError> read(const std::filesystem::path& path, const BinaryFile& file);
    static RomFile fromBytes(std::filesystem::path path, std::vector<uint8_t> bytes)
    {
        return RomFile(std::move(path), std::move(bytes));
    }

    const std::filesystem::path& path() const { return path_; }
    int64_t size() const { return static_cast<int64_t>(bytes_.size()); }
    std::span<const uint8_t> bytes() const { return bytes_; }

    // True when offset .. offset + length - 1 lies inside the file.
    bool holds(int64_t offset, int64_t length) const
    {
        return offset >= 0 && length >= 0 && offset <= size() && length <= size() - offset;
    }
    // Reads exactly data.size() bytes; TooShort names `part` when they lie past the end.
    std::expected<void, RomError> read(int64_t offset, std::span<uint8_t> data, RomPart part) const;
    std::expected<std::vector<uint8_t>, RomError> read(int64_t offset, int64_t length, RomPart part) const;

private:
    RomFile(std::filesystem::path path, std::vector<uint8_t> bytes) : path_(std::move(path)), bytes_(std::move(bytes))
    {
    }
    std::filesystem::path path_;
    std::vector<uint8_t> bytes_;
};

} // namespace orv::rom
