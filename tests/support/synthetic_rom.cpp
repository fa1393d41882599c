#include "synthetic_rom.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <fstream>
#include <stdexcept>
#include <tuple>
#include <unistd.h>

#include "codec.h"

namespace orv::test {

namespace {

uint32_t nextRandom(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

} // namespace

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
    std::vector<uint8_t> bytes(static_cast<size_t>(length), 0x50);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!std::isupper(c) && !std::isdigit(c))
            throw std::runtime_error("synthetic ROM: NameBytes takes A-Z and 0-9 only");
        bytes.at(i) = static_cast<uint8_t>(std::isupper(c) ? 0x80 + c - 'A' : 0xF6 + c - '0');
    }
    return bytes;
}

SyntheticRom::SyntheticRom(char languageByte, int64_t size, uint32_t seed)
    : bytes(static_cast<size_t>(size)), language_(languageByte)
{
    for (auto& b : bytes)
        b = static_cast<uint8_t>(1 + nextRandom(seed) % 255);
    if (size > 0x142)
        bytes[0x142] = static_cast<uint8_t>(languageByte);
}

void SyntheticRom::put(int64_t offset, std::span<const uint8_t> data)
{
    if (offset < 0 || offset + std::ssize(data) > std::ssize(bytes))
        throw std::runtime_error("synthetic ROM: put outside the ROM");
    std::ranges::copy(data, bytes.begin() + offset);
}

PlacedPicture SyntheticRom::placePicture(int64_t offset, std::vector<uint8_t> tiles)
{
    auto stream = codec::Encode(tiles);
    if (!stream)
        throw std::runtime_error("synthetic ROM: the codec refused the tiles (error " +
                                 std::to_string(static_cast<int>(stream.error())) + ")");
    put(offset, *stream);
    return {offset, std::move(tiles), std::move(*stream)};
}

void SyntheticRom::setPicturePointer(int64_t location, int64_t dataOffset)
{
    auto bank = static_cast<uint8_t>(dataOffset / 0x4000);
    bank = bank == 0x1F ? 0x13 : bank == 0x20 ? 0x14 : bank == 0x2E ? 0x1F : bank;
    const auto high = static_cast<uint8_t>(0x40 | (dataOffset >> 8 & 0x3F));
    put(location, std::array{bank, static_cast<uint8_t>(dataOffset), high});
}

SyntheticRom SyntheticRom::Standard(char languageByte)
{
    SyntheticRom rom(languageByte);
    constexpr int64_t placeholder = 0x110000;
    // Name-table pointer of the language (no picture-bank substitution).
    const uint8_t namePointer[3] = {kNameTable / 0x4000, kNameTable & 0xFF, 0x40 | (kNameTable >> 8 & 0x3F)};
    if (std::string("DdEe").contains(languageByte))
        rom.put(languageByte == 'D' || languageByte == 'd' ? 0x35E5 : 0x35EE, namePointer);
    auto b = [](int value) { return static_cast<uint8_t>(value); };
    for (int n = 1; n <= 251; ++n) {
        rom.put(rom.nameLocation(n), NameBytes("P" + std::to_string(n)));
        rom.bytes[rom.recordLocation(n)] = b(n);
        rom.bytes[rom.sizeByteLocation(n)] = 0x55;
        const uint8_t palettes[8] = {b(n), 0x11, b(0xFF - n), 0x22, b(n), 0x33, 0x44, b(n & 0x7F)};
        rom.put(0xAD45 + 8 * (n - 1), palettes); // normal, shiny
    }
    rom.put(0xAD45, std::array<uint8_t, 4>{0xFF, 0x03, 0x00, 0x7C});
    for (int t = 1; t <= 66; ++t)
        rom.put(0xB541 + 4 * (t - 1), std::array<uint8_t, 4>{b(t), 0x55, b(0x80 + t), 0x66});
    // Pokemon front and back, Unown forms front and back, trainers.
    const std::pair<int64_t, int> tables[] = {{0x48000, 2 * 251}, {0x7C000, 2 * 26}, {0x80000, 66}};
    for (const auto& [table, entries] : tables)
        for (int i = 0; i < entries; ++i)
            rom.setPicturePointer(table + 3 * i, placeholder);
    std::fill_n(rom.bytes.begin() + kFreeArea, kFreeAreaLength, 0);

    const std::tuple<const char*, int64_t, int, int64_t> pictures[] = {
        // name, offset, tiles, pointer location
        {"placeholder", placeholder, 16, -1},   {"poke1front", 0x100000, 49, 0x48000},
        {"poke1back", 0x101000, 36, 0x48003},   {"poke25front", 0x7D000, 49, 0x48090},
        {"poke25back", 0x81000, 36, 0x48093},   {"unown3front", 0xB8100, 25, 0x7C00C},
        {"unown3back", 0x102000, 16, 0x7C00F},  {"unown26back", 0x102800, 16, 0x7C099},
        {"trainer2", 0x103000, 49, 0x80003},    {"trainer66", 0x104000, 36, 0x800C3},
    };
    uint32_t seed = 1;
    for (const auto& [name, at, tiles, pointer] : pictures) {
        rom.pictures_[name] = rom.placePicture(at, MakeTiles(tiles, seed++));
        if (pointer >= 0)
            rom.setPicturePointer(pointer, at);
    }
    return rom;
}

void SyntheticRom::write(const std::filesystem::path& path) const
{
    WriteFileBytes(path, bytes);
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
        throw std::runtime_error("synthetic ROM: cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("synthetic ROM: cannot write " + path.string());
}

std::vector<int64_t> ChangedOffsets(std::span<const uint8_t> a, std::span<const uint8_t> b)
{
    std::vector<int64_t> changed;
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i])
            changed.push_back(static_cast<int64_t>(i));
    return changed;
}

} // namespace orv::test
