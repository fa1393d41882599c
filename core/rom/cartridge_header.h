#pragma once
// The cartridge header as emulators check it: the title, the header checksum
// and the global checksum over the whole file.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "byte_patch.h"
#include "rom_image.h"

namespace orv::rom {

struct CartridgeHeader {
    std::string title;    // printable ASCII up to the first zero byte; other bytes as '?'
    std::string gameCode; // the 4 characters after an 11-character title; empty on older headers
    uint8_t headerChecksum = 0, headerChecksumComputed = 0;
    uint16_t globalChecksum = 0, globalChecksumComputed = 0;

    bool headerChecksumRight() const { return headerChecksum == headerChecksumComputed; }
    bool globalChecksumRight() const { return globalChecksum == globalChecksumComputed; }
};

// None when the file ends inside the header (before 0x150).
std::optional<CartridgeHeader> ReadCartridgeHeader(std::span<const uint8_t> rom);

// x = x - byte - 1 over 0x134 .. 0x14C; rom holds the whole header.
uint8_t ComputeHeaderChecksum(std::span<const uint8_t> rom);
// The 16-bit sum of every byte of the file but the two checksum bytes; rom
// holds the whole header.
uint16_t ComputeGlobalChecksum(std::span<const uint8_t> rom);

// The global checksum of the ROM as the patches leave it, as the last patch
// of the change (PatchKind::Checksum). When the patches leave every byte as
// it was, the patch holds the stored bytes, so such a change still leaves the
// ROM byte-identical. None for a file shorter than the header. Patches that
// lie outside the file count for nothing here; ApplyPatches refuses them.
std::optional<BytePatch> GlobalChecksumPatch(const RomImage& rom, std::span<const BytePatch> patches);

} // namespace orv::rom
