#pragma once
// Generated inputs, hex bytes, thin wrappers over the library's exports and
// an in-memory file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>
#include <sys/mman.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

#include "vexlib.h"

namespace vextest {

using Bytes = std::vector<uint8_t>;

// Random: uniform bytes. FewSymbols: bytes from {00, 01, 80, FF, 18}, many
// equally long matches. Runs: of one byte, often zero. Alternations: two-byte
// patterns with noise between them. Tiles: 16-byte tiles from a small set, as
// they are, mirrored (every byte bit-reversed) or backwards. Mixed: stretches
// of all of these. TwoValues {00, 01} and ThreeValues {00, 01, FF}: every
// short string recurs all over. Palindromic: {00, FF, 18, 7E}, bytes that are
// their own bit-reverse, so flips and repeats tie at every source. Mirrored:
// two tiles in all four forms (as they are, mirrored, backwards, both), so
// all three copy kinds tie.
enum class Shape {
    Random, FewSymbols, Runs, Alternations, Tiles, Mixed,
    TwoValues, ThreeValues, Palindromic, Mirrored
};
inline constexpr const char* kShapeNames[] = {
    "Random", "FewSymbols", "Runs",        "Alternations", "Tiles",
    "Mixed",  "TwoValues",  "ThreeValues", "Palindromic",  "Mirrored"};

Bytes makeInput(Shape shape, size_t size, uint32_t seed);

// "02 61 FF" -> {0x02, 0x61, 0xFF}
inline Bytes hexBytes(const std::string& text)
{
    std::istringstream in(text);
    Bytes out;
    for (unsigned v; in >> std::hex >> v;)
        out.push_back(static_cast<uint8_t>(v));
    return out;
}

inline Bytes classicEncode(const Bytes& input)
{
    const auto n = static_cast<int32_t>(input.size());
    Bytes out(VEX_MAX_ENCODED_SIZE(input.size()));
    out.resize(static_cast<size_t>(EncPokeGoldAsm(input.data(), out.data(), &n)));
    return out;
}

// {status, compressed length, decompressed length}
using Measured = std::tuple<int32_t, int32_t, int32_t>;

inline Measured safeMeasure(std::span<const uint8_t> stream)
{
    int32_t compressed = -1, decompressed = -1;
    const int32_t status = VexMeasure(stream.data(), static_cast<int32_t>(stream.size()),
                                      &compressed, &decompressed);
    return {status, compressed, decompressed};
}

inline Measured measureFd(int fd, int64_t offset)
{
    int32_t compressed = -1, decompressed = -1;
    const int32_t status = VexMeasureFd(fd, offset, &compressed, &decompressed);
    return {status, compressed, decompressed};
}

inline std::pair<int32_t, int32_t> classicMeasureFd(int fd, int32_t offset)
{
    int32_t compressed = -1, decompressed = -1;
    LoadPokeGoldFH(&fd, &offset, &compressed, &decompressed);
    return {compressed, decompressed};
}

// {status, the bytes written}
using Coded = std::pair<int32_t, Bytes>;

// VexDecode or VexEncode into a buffer of exactly capacity bytes.
inline Coded safeCall(decltype(&VexDecode) call, std::span<const uint8_t> in, int32_t capacity)
{
    Bytes out(static_cast<size_t>(capacity));
    int32_t written = -1;
    const int32_t status =
        call(in.data(), static_cast<int32_t>(in.size()), out.data(), capacity, &written);
    EXPECT_TRUE(written >= 0 && written <= capacity) << written;
    out.resize(static_cast<size_t>(std::clamp(written, 0, capacity)));
    return {status, out};
}

// VexEncodeInArea into a buffer of exactly capacity bytes, with the area it
// asks for.
inline Coded encodeInArea(std::span<const uint8_t> in, int32_t capacity)
{
    const auto n = static_cast<int32_t>(in.size());
    std::vector<uint8_t> area(static_cast<size_t>(VexEncodeAreaSize(n)));
    Bytes out(static_cast<size_t>(capacity));
    int32_t written = -1;
    const int32_t status = VexEncodeInArea(in.data(), n, out.data(), capacity, area.data(),
                                           std::ssize(area), &written);
    out.resize(static_cast<size_t>(std::clamp(written, 0, capacity)));
    return {status, out};
}

// A file in memory holding content at offset (after a hole of zero bytes).
struct TempFile {
    explicit TempFile(const Bytes& content, int64_t offset = 0) : fd(memfd_create("vex", 0))
    {
        EXPECT_EQ(pwrite(fd, content.data(), content.size(), offset), std::ssize(content));
    }
    TempFile(const TempFile&) = delete;
    ~TempFile() { close(fd); }
    int64_t position() const { return lseek(fd, 0, SEEK_CUR); }
    const int fd;
};

} // namespace vextest
