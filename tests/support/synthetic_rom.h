#pragma once
// A synthetic game ROM built in memory for tests: non-zero filler, header
// language byte, picture pointer tables, palettes, base-data records, a name
// table and compressed pictures at known offsets. The layout constants here
// are written down independently of app/rom, so tests check it against them.

#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace orv::test {

constexpr int64_t kRomSize = 0x200000;
constexpr int64_t kNameTable = 0x1B0000; // names of L = 10 bytes
constexpr int64_t kFreeArea = 0x1F0000;  // zeros up to kFreeArea + kFreeAreaLength
constexpr int64_t kFreeAreaLength = 0x8000;

// Deterministic 2bpp tile data of tileCount tiles, with some repetition.
std::vector<uint8_t> MakeTiles(int tileCount, uint32_t seed);
// Game text bytes of upper-case letters and digits, 0x50 up to length.
std::vector<uint8_t> NameBytes(const std::string& asciiUpperOrDigits, int length = 10);

struct PlacedPicture {
    int64_t offset = 0;
    std::vector<uint8_t> tiles, stream;
};

class SyntheticRom {
public:
    // Filler and header only; the language byte at 0x142.
    explicit SyntheticRom(char languageByte, int64_t size = kRomSize, uint32_t seed = 7);

    // Everything: tables pointing at "placeholder" (16 tiles at 0x110000),
    // palettes (normal {n, 11, FF-n, 22}, shiny {n, 33, 44, n & 7F}; Pokemon 1
    // normal FF 03 00 7C; trainer t {t, 55, 80+t, 66}), records with species
    // numbers and size byte 0x55 (English layout for an unknown language),
    // names "P1".."P251", zeros in the free area, and these pictures:
    // "poke1front" 49 tiles at 0x100000, "poke1back" 36 at 0x101000,
    // "poke25front" 49 at 0x7D000 (bank 0x1F), "poke25back" 36 at 0x81000 (bank 0x20),
    // "unown3front" 25 at 0xB8100 (bank 0x2E), "unown3back" 16 at 0x102000,
    // "unown26back" 16 at 0x102800, "trainer2" 49 at 0x103000, "trainer66" 36 at 0x104000.
    static SyntheticRom Standard(char languageByte);

    std::vector<uint8_t> bytes;

    void put(int64_t offset, std::span<const uint8_t> data);
    PlacedPicture placePicture(int64_t offset, std::vector<uint8_t> tiles);
    // A picture pointer with the games' bank substitution (0x1F->0x13, 0x20->0x14, 0x2E->0x1F).
    void setPicturePointer(int64_t location, int64_t dataOffset);
    // Base-data record start of Pokemon n for the language byte ('D' German, else English).
    int64_t recordLocation(int number) const
    {
        return (language_ == 'D' || language_ == 'd' ? 0x51B00 : 0x51B0B) + 32 * int64_t{number - 1};
    }
    int64_t sizeByteLocation(int number) const { return recordLocation(number) + 0x11; }
    int64_t nameLocation(int number, int length = 10) const { return kNameTable + length * (number - 1); }
    const PlacedPicture& picture(const std::string& name) const { return pictures_.at(name); }

    void write(const std::filesystem::path& path) const;

private:
    char language_;
    std::map<std::string, PlacedPicture> pictures_;
};

// A fresh folder under the system's temporary folder, removed with its content.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);
// Offsets where a and b differ, plus every offset only one of them has.
std::vector<int64_t> ChangedOffsets(std::span<const uint8_t> a, std::span<const uint8_t> b);

} // namespace orv::test
