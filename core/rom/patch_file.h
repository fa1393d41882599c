#pragma once
// A ROM change as a patch file against the ROM as it was: BPS (sizes and
// CRC32 of source, target and patch, so it refuses the wrong base) or IPS.

#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "rom_error.h"

namespace orv::rom {

enum class PatchFormat { Bps, Ips };

// By the extension, in any case: ".bps" or ".ips"; none for other names.
std::optional<PatchFormat> PatchFormatOfPath(const std::filesystem::path& path);
const char* PatchFormatName(PatchFormat format); // "BPS", "IPS"

// The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320).
uint32_t Crc32(std::span<const uint8_t> bytes);

// A BPS patch that makes target from source, without metadata: unchanged
// stretches as SourceRead, changed bytes as TargetRead, and long runs of one
// byte value as a TargetCopy of the byte just written.
std::vector<uint8_t> MakeBpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> target);

// An IPS patch with 3-byte offsets; runs of one byte value as RLE records.
// No record starts at 0x454F46, whose offset bytes read as the end marker
// "EOF": such a record starts one byte earlier. TooLarge for a target of
// 16 MiB or more, OutOfRange for one shorter than the source (IPS cannot
// shorten a file).
std::expected<std::vector<uint8_t>, RomError> MakeIpsPatch(std::span<const uint8_t> source,
                                                           std::span<const uint8_t> target);

std::expected<std::vector<uint8_t>, RomError> MakePatch(PatchFormat format, std::span<const uint8_t> source,
                                                        std::span<const uint8_t> target);

} // namespace orv::rom
