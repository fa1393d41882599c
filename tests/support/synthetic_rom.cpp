#include "synthetic_rom.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "codec_library.h"

namespace orv::test {

namespace {

void fail(const std::string& what)
{
    std::fprintf(stderr, "synthetic ROM: %s\n", what.c_str());
    std::abort();
}

uint32_t nextRandom(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

} // namespace

std::vector<uint8_t> LiteralStream(std::span<const uint8_t> raw)
{
    std::vector<uint8_t> stream;
    for (size_t at = 0; at < raw.size(); at += 32) {
        const size_t run = std::min<size_t>(32, raw.size() - at);
        stream.push_back(static_cast<uint8_t>(run - 1));
        stream.insert(stream.end(), raw.begin() + at, raw.begin() + at + run);
    }
    stream.push_back(0xFF);
    return stream;
}

std::vector<uint8_t> MakeTiles(int tileCount, uint32_t seed)
{
    std::vector<uint8_t> tiles(static_cast<size_t>(tileCount) * 16);
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < tiles.size(); ++i) {
        // Runs of a repeated byte and zero rows, as pictures have.
        const uint32_t r = nextRandom(state);
        tiles[i] = (r % 5 == 0) ? 0 : (r % 3 == 0 && i > 0) ? tiles[i - 1] : static_cast<uint8_t>(r);
    }
    return tiles;
}

std::vector<uint8_t> NameBytes(const std::string& text, int length)
{
    std::vector<uint8_t> bytes;
    for (char c : text) {
        if (c >= 'A' && c <= 'Z')
            bytes.push_back(static_cast<uint8_t>(0x80 + (c - 'A')));
        else if (c >= '0' && c <= '9')
            bytes.push_back(static_cast<uint8_t>(0xF6 + (c - '0')));
        else
            fail("NameBytes takes A-Z and 0-9 only");
    }
    bytes.resize(static_cast<size_t>(length), 0x50);
    return bytes;
}

SyntheticRom::SyntheticRom(char languageByte, int64_t size, uint32_t seed)
    : bytes(static_cast<size_t>(size)), language_(languageByte)
{
    uint32_t state = seed;
    for (auto& b : bytes)
        b = static_cast<uint8_t>(1 + nextRandom(state) % 255);
    if (size > 0x142)
        bytes[0x142] = static_cast<uint8_t>(languageByte);
}

void SyntheticRom::fill(int64_t offset, int64_t length, uint8_t value)
{
    std::fill_n(bytes.begin() + offset, length, value);
}

void SyntheticRom::put(int64_t offset, std::span<const uint8_t> data)
{
    if (offset < 0 || offset + static_cast<int64_t>(data.size()) > static_cast<int64_t>(bytes.size()))
        fail("put outside the ROM");
    std::copy(data.begin(), data.end(), bytes.begin() + offset);
}

PlacedPicture SyntheticRom::placePicture(int64_t offset, std::vector<uint8_t> tiles,
                                         Compression compression)
{
    PlacedPicture picture{offset, std::move(tiles), {}};
    if (compression == Compression::Literal) {
        picture.stream = LiteralStream(picture.tiles);
    } else {
        auto stream = codec::encode(picture.tiles);
        if (!stream)
            fail("codec::encode: " + codec::describe(stream.error()));
        picture.stream = std::move(*stream);
    }
    put(offset, picture.stream);
    return picture;
}

void SyntheticRom::setPicturePointer(int64_t location, int64_t dataOffset)
{
    auto bank = static_cast<uint8_t>(dataOffset / 0x4000);
    bank = bank == 0x1F ? 0x13 : bank == 0x20 ? 0x14 : bank == 0x2E ? 0x1F : bank;
    const uint8_t pointer[3] = {bank, static_cast<uint8_t>(dataOffset & 0xFF),
                                static_cast<uint8_t>(0x40 | ((dataOffset >> 8) & 0x3F))};
    put(location, pointer);
}

void SyntheticRom::setPokemonPicture(int number, bool back, int64_t dataOffset)
{
    setPicturePointer(0x48000 + 6 * (number - 1) + (back ? 3 : 0), dataOffset);
}

void SyntheticRom::setUnownPicture(int index, bool back, int64_t dataOffset)
{
    setPicturePointer(0x7C000 + 6 * (index - 1) + (back ? 3 : 0), dataOffset);
}

void SyntheticRom::setTrainerPicture(int number, int64_t dataOffset)
{
    setPicturePointer(0x80000 + 3 * (number - 1), dataOffset);
}

void SyntheticRom::setPokemonPalette(int number, bool shiny, std::array<uint8_t, 4> pair)
{
    put(0xAD45 + 8 * (number - 1) + (shiny ? 4 : 0), pair);
}

void SyntheticRom::setTrainerPalette(int number, std::array<uint8_t, 4> pair)
{
    put(0xB541 + 4 * (number - 1), pair);
}

int64_t SyntheticRom::recordLocation(int number) const
{
    const bool german = language_ == 'D' || language_ == 'd';
    return (german ? 0x51B00 : 0x51B0B) + 32 * int64_t{number - 1};
}

SyntheticRom SyntheticRom::Standard(char languageByte, Compression compression)
{
    SyntheticRom rom(languageByte);
    // Name-table pointer of the language (no picture-bank substitution).
    const bool german = languageByte == 'D' || languageByte == 'd';
    const bool english = languageByte == 'E' || languageByte == 'e';
    const uint8_t namePointer[3] = {static_cast<uint8_t>(kNameTable / 0x4000),
                                    static_cast<uint8_t>(kNameTable & 0xFF),
                                    static_cast<uint8_t>(0x40 | ((kNameTable >> 8) & 0x3F))};
    if (german)
        rom.put(0x35E5, namePointer);
    if (english)
        rom.put(0x35EE, namePointer);

    for (int n = 1; n <= 251; ++n) {
        rom.put(rom.nameLocation(n), NameBytes("P" + std::to_string(n)));
        rom.bytes[rom.recordLocation(n)] = static_cast<uint8_t>(n);
        rom.bytes[rom.sizeByteLocation(n)] = 0x55;
        const auto b = static_cast<uint8_t>(n);
        rom.setPokemonPalette(n, false, {b, 0x11, static_cast<uint8_t>(0xFF - n), 0x22});
        rom.setPokemonPalette(n, true, {b, 0x33, 0x44, static_cast<uint8_t>(n & 0x7F)});
        rom.setPokemonPicture(n, false, kPlaceholderPicture);
        rom.setPokemonPicture(n, true, kPlaceholderPicture);
    }
    rom.setPokemonPalette(1, false, {0xFF, 0x03, 0x00, 0x7C});
    for (int u = 1; u <= 26; ++u) {
        rom.setUnownPicture(u, false, kPlaceholderPicture);
        rom.setUnownPicture(u, true, kPlaceholderPicture);
    }
    for (int t = 1; t <= 66; ++t) {
        rom.setTrainerPicture(t, kPlaceholderPicture);
        rom.setTrainerPalette(t, {static_cast<uint8_t>(t), 0x55, static_cast<uint8_t>(0x80 + t), 0x66});
    }
    rom.fill(kFreeArea, kFreeAreaLength, 0);

    struct Entry {
        const char* name;
        int64_t offset;
        int tiles;
    };
    const Entry entries[] = {
        {"placeholder", kPlaceholderPicture, 16},
        {"poke1front", 0x100000, 49},
        {"poke1back", 0x101000, 36},
        {"poke25front", 0x7D000, 49},
        {"poke25back", 0x81000, 36},
        {"unown3front", 0xB8100, 25},
        {"unown3back", 0x102000, 16},
        {"unown26back", 0x102800, 16},
        {"trainer2", 0x103000, 49},
        {"trainer66", 0x104000, 36},
    };
    uint32_t seed = 1;
    for (const auto& e : entries)
        rom.pictures_[e.name] = rom.placePicture(e.offset, MakeTiles(e.tiles, seed++), compression);
    rom.setPokemonPicture(1, false, 0x100000);
    rom.setPokemonPicture(1, true, 0x101000);
    rom.setPokemonPicture(25, false, 0x7D000);
    rom.setPokemonPicture(25, true, 0x81000);
    rom.setUnownPicture(3, false, 0xB8100);
    rom.setUnownPicture(3, true, 0x102000);
    rom.setUnownPicture(26, true, 0x102800);
    rom.setTrainerPicture(2, 0x103000);
    rom.setTrainerPicture(66, 0x104000);
    return rom;
}

void SyntheticRom::write(const std::filesystem::path& path) const
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        fail("cannot write " + path.string());
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("orv-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        fail("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<int64_t> ChangedOffsets(std::span<const uint8_t> a, std::span<const uint8_t> b)
{
    std::vector<int64_t> changed;
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i)
        if (a[i] != b[i])
            changed.push_back(static_cast<int64_t>(i));
    for (size_t i = common; i < std::max(a.size(), b.size()); ++i)
        changed.push_back(static_cast<int64_t>(i));
    return changed;
}

std::vector<int64_t> ChangedOffsets(const std::filesystem::path& a, const std::filesystem::path& b)
{
    return ChangedOffsets(ReadFileBytes(a), ReadFileBytes(b));
}

} // namespace orv::test
