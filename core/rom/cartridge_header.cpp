#include "cartridge_header.h"

#include <algorithm>
#include <vector>

#include "rom_layout.h"

namespace orv::rom {

namespace {

constexpr int64_t kTitleEnd = kColourFlagLocation + 1; // older headers use the flag's byte for the title
constexpr int64_t kGameCodeEnd = kGameCodeBegin + 4;

std::string printable(std::span<const uint8_t> bytes)
{
    std::string text;
    for (uint8_t b : bytes) {
        if (b == 0)
            break;
        text += b >= 0x20 && b < 0x7F ? static_cast<char>(b) : '?';
    }
    return text;
}

bool isGameCode(std::span<const uint8_t> bytes)
{
    return std::ranges::all_of(bytes, [](uint8_t b) { return (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9'); });
}

} // namespace

std::optional<CartridgeHeader> ReadCartridgeHeader(std::span<const uint8_t> rom)
{
    if (static_cast<int64_t>(rom.size()) < kHeaderEnd)
        return std::nullopt;
    CartridgeHeader h;
    const auto field = [&](int64_t begin, int64_t end) { return rom.subspan(begin, end - begin); };
    // A colour cartridge's flag has bit 7 set; newer ones then end the title
    // where a game code in capitals and digits begins.
    const bool colour = rom[kColourFlagLocation] & 0x80;
    if (colour && isGameCode(field(kGameCodeBegin, kGameCodeEnd))) {
        h.title = printable(field(kTitleBegin, kGameCodeBegin));
        h.gameCode = printable(field(kGameCodeBegin, kGameCodeEnd));
    } else {
        h.title = printable(field(kTitleBegin, colour ? kColourFlagLocation : kTitleEnd));
    }
    h.headerChecksum = rom[kHeaderChecksumLocation];
    h.headerChecksumComputed = ComputeHeaderChecksum(rom);
    h.globalChecksum = static_cast<uint16_t>(rom[kGlobalChecksumLocation] << 8 | rom[kGlobalChecksumLocation + 1]);
    h.globalChecksumComputed = ComputeGlobalChecksum(rom);
    return h;
}

uint8_t ComputeHeaderChecksum(std::span<const uint8_t> rom)
{
    uint8_t x = 0;
    for (int64_t i = kTitleBegin; i < kHeaderChecksumLocation; ++i)
        x = static_cast<uint8_t>(x - rom[i] - 1);
    return x;
}

uint16_t ComputeGlobalChecksum(std::span<const uint8_t> rom)
{
    uint32_t sum = 0;
    for (uint8_t b : rom)
        sum += b;
    sum -= rom[kGlobalChecksumLocation] + rom[kGlobalChecksumLocation + 1];
    return static_cast<uint16_t>(sum);
}

std::optional<BytePatch> GlobalChecksumPatch(const RomImage& rom, std::span<const BytePatch> patches)
{
    if (rom.size() < kHeaderEnd)
        return std::nullopt;
    std::vector<uint8_t> bytes(rom.bytes().begin(), rom.bytes().end());
    for (const BytePatch& patch : patches)
        if (rom.holds(patch.offset, static_cast<int64_t>(patch.bytes.size())))
            std::ranges::copy(patch.bytes, bytes.begin() + patch.offset);
    BytePatch checksum{PatchKind::Checksum, kGlobalChecksumLocation, {}};
    if (std::ranges::equal(bytes, rom.bytes())) {
        checksum.bytes.assign(bytes.begin() + kGlobalChecksumLocation, bytes.begin() + kGlobalChecksumLocation + 2);
        return checksum;
    }
    const uint16_t sum = ComputeGlobalChecksum(bytes);
    checksum.bytes = {static_cast<uint8_t>(sum >> 8), static_cast<uint8_t>(sum)};
    return checksum;
}

} // namespace orv::rom
