#pragma once
// Readers of what a ROM change writes, written from the formats' public
// descriptions and independently of app/rom: BPS and IPS appliers and the
// cartridge's global checksum.

#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

namespace orv::test {

// CRC-32 bit by bit (reflected polynomial 0xEDB88320).
uint32_t BitwiseCrc32(std::span<const uint8_t> bytes);

// The target a BPS patch makes from source. Refuses (with the reason) a patch
// whose own CRC is wrong, a source of another size or CRC than the patch
// names, actions that read or write out of bounds, and a result of the wrong
// size or CRC.
std::expected<std::vector<uint8_t>, std::string> ApplyBps(std::span<const uint8_t> patch,
                                                          std::span<const uint8_t> source);

// The file an IPS patch makes from source. Reading stops at the first
// record offset "EOF"; anything after it is refused, so a record that starts
// at 0x454F46 shows as an error. recordOffsets, when given, receives where
// each record starts.
std::expected<std::vector<uint8_t>, std::string> ApplyIps(std::span<const uint8_t> patch,
                                                          std::span<const uint8_t> source,
                                                          std::vector<int64_t>* recordOffsets = nullptr);

// The sum of every byte but 0x14E and 0x14F, as stored there (high byte first).
uint16_t GlobalChecksumOf(std::span<const uint8_t> rom);
// Writes GlobalChecksumOf(rom) into 0x14E..0x14F.
void SetGlobalChecksum(std::vector<uint8_t>& rom);

} // namespace orv::test
