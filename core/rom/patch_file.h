#pragma once
// A ROM change as a patch file against the ROM as it was: BPS (sizes and
// CRC32 of source, target and patch, so it refuses the wrong base) or IPS.

#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "error.h"

namespace orv::rom {

enum class PatchFormat { Bps, Ips };

// By the file name's extension, in any case: ".bps" or ".ips"; none for others.
std::optional<PatchFormat> PatchFormatOfName(std::string_view name);
const char* PatchFormatName(PatchFormat format); // "BPS", "IPS"

// The CRC-32 of zlib and PNG (reflected polynomial 0xEDB88320).
uint32_t Crc32(std::span<const uint8_t> bytes);

// A BPS patch that makes target from source, without metadata: unchanged
// stretches as SourceRead, changed bytes as TargetRead, and long runs of one
// byte value as a TargetCopy of the byte just written.
std::vector<uint8_t> MakeBpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> target);

// An IPS patch with 3-byte offsets; runs of one byte value as RLE records.
// No record starts at 0x454F46, whose offset bytes read as the end marker
// "EOF": such a record starts one byte earlier. IpsTooLarge for a target of
// 16 MiB or more, IpsShortens for one shorter than the source.
std::expected<std::vector<uint8_t>, Error> MakeIpsPatch(std::span<const uint8_t> source,
                                                           std::span<const uint8_t> target);

std::expected<std::vector<uint8_t>, Error> MakePatch(PatchFormat format, std::span<const uint8_t> source,
                                                        std::span<const uint8_t> target);

} // namespace orv::rom
