#include "rom_identity.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "cartridge_header.h"
#include "patch_file.h"

namespace orv::rom {

namespace {

// One 64-byte block, without helper calls: unoptimised (sanitizer) builds
// hash whole ROMs too.
void sha1Block(uint32_t* h, const uint8_t* block)
{
    uint32_t w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = uint32_t{block[4 * i]} << 24 | uint32_t{block[4 * i + 1]} << 16 | uint32_t{block[4 * i + 2]} << 8 |
               block[4 * i + 3];
    for (int i = 16; i < 80; ++i) {
        const uint32_t x = w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16];
        w[i] = x << 1 | x >> 31;
    }
    uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
    for (int i = 0; i < 80; ++i) {
        uint32_t f, k;
        if (i < 20)
            f = (b & c) | (~b & d), k = 0x5A827999;
        else if (i < 40)
            f = b ^ c ^ d, k = 0x6ED9EBA1;
        else if (i < 60)
            f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
        else
            f = b ^ c ^ d, k = 0xCA62C1D6;
        const uint32_t t = (a << 5 | a >> 27) + f + e + k + w[i];
        e = d, d = c, c = b << 30 | b >> 2, b = a, a = t;
    }
    h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
}

constexpr std::array<std::string_view, 2> kRetailSha1{
    "d8b8a3600a465308c9953dfa04f0081c05bdcb94", // English Gold
    "49b163f7e57702bc939d642a18f591de55d92dae", // English Silver
};

} // namespace

Sha1Digest Sha1(std::span<const uint8_t> bytes)
{
    uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
    const size_t whole = bytes.size() / 64 * 64;
    for (size_t i = 0; i < whole; i += 64)
        sha1Block(h, bytes.data() + i);
    // The tail, the 0x80 marker and the bit length, in one or two blocks.
    uint8_t tail[128] = {};
    const size_t rest = bytes.size() - whole;
    if (rest > 0)
        std::memcpy(tail, bytes.data() + whole, rest);
    tail[rest] = 0x80;
    const size_t tailLength = rest < 56 ? 64 : 128;
    const uint64_t bits = uint64_t{bytes.size()} * 8;
    for (int i = 0; i < 8; ++i)
        tail[tailLength - 1 - i] = static_cast<uint8_t>(bits >> (8 * i));
    for (size_t i = 0; i < tailLength; i += 64)
        sha1Block(h, tail + i);
    Sha1Digest digest;
    for (int i = 0; i < 20; ++i)
        digest[i] = static_cast<uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
    return digest;
}

std::string Sha1Text(const Sha1Digest& digest)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (uint8_t byte : digest) {
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}

Edition EditionOfRom(std::span<const uint8_t> rom)
{
    Edition edition;
    const auto header = ReadCartridgeHeader(rom);
    if (!header)
        return edition;
    const std::string& title = header->title;
    const auto endsWith = [&title](std::string_view end) { return title.ends_with(end); };
    if (endsWith("GLD") || endsWith("GOLD"))
        edition.version = GameVersion::Gold;
    else if (endsWith("SLV") || endsWith("SILVER"))
        edition.version = GameVersion::Silver;
    edition.gameCode = header->gameCode;
    if (edition.gameCode.size() == 4 && edition.gameCode.starts_with("AA")) {
        if (edition.gameCode[2] == 'U')
            edition.version = GameVersion::Gold;
        else if (edition.gameCode[2] == 'X')
            edition.version = GameVersion::Silver;
        if (edition.gameCode[3] == 'E')
            edition.language = EditionLanguage::English;
        else if (edition.gameCode[3] == 'D')
            edition.language = EditionLanguage::German;
    }
    return edition;
}

RomIdentity IdentifyRom(std::span<const uint8_t> rom)
{
    RomIdentity identity;
    identity.crc32 = Crc32(rom);
    identity.sha1 = Sha1(rom);
    identity.edition = EditionOfRom(rom);
    const std::string text = Sha1Text(identity.sha1);
    identity.unchangedRetail = std::ranges::find(kRetailSha1, text) != kRetailSha1.end();
    return identity;
}

} // namespace orv::rom
