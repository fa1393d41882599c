#pragma once
// A ROM as bytes in memory, with reads that report a too-short ROM by the
// part they were after. Planning works on this copy; the faces read the file
// once and hand the bytes in.

#include <cstdint>
#include <expected>
#include <span>
#include <vector>

#include "error.h"

namespace orv::rom {

// Far beyond any ROM of these games (2 MiB; pointers reach 4 MiB), and small
// enough to hold in memory.
constexpr int64_t kMaxRomBytes = int64_t{64} << 20;

class RomImage {
public:
    RomImage() = default;
    explicit RomImage(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    RomImage(std::span<const uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {}

    int64_t size() const { return static_cast<int64_t>(bytes_.size()); }
    std::span<const uint8_t> bytes() const { return bytes_; }

    // True when offset .. offset + length - 1 lies inside the ROM.
    bool holds(int64_t offset, int64_t length) const
    {
        return offset >= 0 && length >= 0 && offset <= size() && length <= size() - offset;
    }
    // Reads exactly data.size() bytes; TooShort names `part` when they lie past the end.
    std::expected<void, Error> read(int64_t offset, std::span<uint8_t> data, RomPart part) const;
    std::expected<std::vector<uint8_t>, Error> read(int64_t offset, int64_t length, RomPart part) const;

private:
    std::vector<uint8_t> bytes_;
};

} // namespace orv::rom
