#pragma once
// Which ROM a file is: its CRC32 and SHA-1, the edition its header names, and
// whether it is an unchanged retail image.

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace orv::rom {

using Sha1Digest = std::array<uint8_t, 20>;
Sha1Digest Sha1(std::span<const uint8_t> bytes);
// Lower-case hexadecimal, 40 digits.
std::string Sha1Text(const Sha1Digest& digest);

enum class GameVersion { Unknown, Gold, Silver };
enum class EditionLanguage { Unknown, English, German };

struct Edition {
    GameVersion version = GameVersion::Unknown;
    EditionLanguage language = EditionLanguage::Unknown;
    std::string gameCode; // the header's four characters, as read
};

// From the header's title ("...GLD", "...GOLD", "...SLV", "...SILVER") and
// game code (AAU? Gold, AAX? Silver; ???E English, ???D German); the game
// code wins where both speak. Unknown parts where the file ends early.
Edition EditionOfRom(std::span<const uint8_t> rom);

struct RomIdentity {
    uint32_t crc32 = 0;
    Sha1Digest sha1{};
    Edition edition;
    bool unchangedRetail = false; // the SHA-1 of an English retail Gold or Silver
};
RomIdentity IdentifyRom(std::span<const uint8_t> rom);

} // namespace orv::rom
