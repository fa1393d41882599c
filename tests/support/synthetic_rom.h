#pragma once
// A synthetic game ROM built in memory for tests: non-zero filler, header
// language byte, picture pointer tables, palettes, base-data records, a name
// table and compressed pictures at known offsets. The layout constants here
// are written down independently of app/rom, so tests check it against them.

#include <array>
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
constexpr int64_t kPlaceholderPicture = 0x110000; // every slot without its own picture

enum class Compression { Codec, Literal };

// Commands of the literal form only: (length - 1, bytes) in runs of up to 32, then 0xFF.
std::vector<uint8_t> LiteralStream(std::span<const uint8_t> raw);
// Deterministic 2bpp tile data of tileCount tiles, with some repetition.
std::vector<uint8_t> MakeTiles(int tileCount, uint32_t seed);
// Game text bytes of upper-case letters and digits.
std::vector<uint8_t> NameBytes(const std::string& asciiUpperOrDigits, int length = 10);

struct PlacedPicture {
    int64_t offset = 0;
    std::vector<uint8_t> tiles;
    std::vector<uint8_t> stream;
};

class SyntheticRom {
public:
    // Filler and header only; the language byte at 0x142.
    explicit SyntheticRom(char languageByte, int64_t size = kRomSize, uint32_t seed = 7);

    // Everything: tables pointing at a placeholder picture, palettes, records
    // with species numbers (English layout for an unknown language), names
    // "P1".."P251", a zero area, and the pictures listed in pictures():
    // "poke1front" 49 tiles at 0x100000, "poke1back" 36 at 0x101000,
    // "poke25front" 49 at 0x7D000 (bank 0x1F), "poke25back" 36 at 0x81000 (bank 0x20),
    // "unown3front" 25 at 0xB8100 (bank 0x2E), "unown3back" 16 at 0x102000,
    // "unown26back" 16 at 0x102800, "trainer2" 49 at 0x103000, "trainer66" 36 at 0x104000,
    // "placeholder" 16 at 0x110000. Pokemon 1's normal palette is FF 03 00 7C.
    static SyntheticRom Standard(char languageByte, Compression compression = Compression::Codec);

    std::vector<uint8_t> bytes;

    void fill(int64_t offset, int64_t length, uint8_t value);
    void put(int64_t offset, std::span<const uint8_t> data);
    PlacedPicture placePicture(int64_t offset, std::vector<uint8_t> tiles,
                               Compression compression = Compression::Codec);
    // Picture pointers with the games' bank substitution (0x1F->0x13, 0x20->0x14, 0x2E->0x1F).
    void setPicturePointer(int64_t location, int64_t dataOffset);
    void setPokemonPicture(int number, bool back, int64_t dataOffset);
    void setUnownPicture(int index, bool back, int64_t dataOffset);
    void setTrainerPicture(int number, int64_t dataOffset);
    void setPokemonPalette(int number, bool shiny, std::array<uint8_t, 4> pair);
    void setTrainerPalette(int number, std::array<uint8_t, 4> pair);
    // Base-data record start of Pokemon n for the language byte ('D' German, else English).
    int64_t recordLocation(int number) const;
    int64_t sizeByteLocation(int number) const { return recordLocation(number) + 0x11; }
    int64_t nameLocation(int number, int length = 10) const
    {
        return kNameTable + length * (number - 1);
    }

    const std::map<std::string, PlacedPicture>& pictures() const { return pictures_; }
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
// Offsets where a and b differ, plus every offset only one of them has.
std::vector<int64_t> ChangedOffsets(std::span<const uint8_t> a, std::span<const uint8_t> b);
std::vector<int64_t> ChangedOffsets(const std::filesystem::path& a, const std::filesystem::path& b);

} // namespace orv::test
