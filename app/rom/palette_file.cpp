#include "palette_file.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <optional>

namespace orv::rom {

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

// "RGB r, g, b" into three components; none for anything else.
std::optional<std::array<int, 3>> colourLine(std::string_view line)
{
    if (line.size() < 3 || std::toupper(static_cast<unsigned char>(line[0])) != 'R' ||
        std::toupper(static_cast<unsigned char>(line[1])) != 'G' ||
        std::toupper(static_cast<unsigned char>(line[2])) != 'B')
        return std::nullopt;
    line.remove_prefix(3);
    if (line.empty() || !std::isspace(static_cast<unsigned char>(line.front())))
        return std::nullopt;
    std::array<int, 3> components{};
    for (int i = 0; i < 3; ++i) {
        line = trimmed(line);
        if (i > 0) {
            if (line.empty() || line.front() != ',')
                return std::nullopt;
            line = trimmed(line.substr(1));
        }
        int value = 0, digits = 0;
        while (!line.empty() && std::isdigit(static_cast<unsigned char>(line.front())) && digits < 4) {
            value = value * 10 + (line.front() - '0');
            line.remove_prefix(1);
            ++digits;
        }
        if (digits == 0)
            return std::nullopt;
        components[i] = value;
    }
    if (!trimmed(line).empty())
        return std::nullopt;
    return components;
}

} // namespace

std::expected<PalettePair, PalFileError> ParsePalFile(std::string_view text)
{
    std::array<GbcColor, 2> colours{};
    int count = 0, lineNumber = 0;
    while (!text.empty() || lineNumber == 0) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        line = trimmed(line.substr(0, line.find(';')));
        if (line.empty()) {
            if (text.empty())
                break;
            continue;
        }
        const auto rgb = colourLine(line);
        if (!rgb)
            return std::unexpected(PalFileError{PalFileError::Kind::NotAColourLine, lineNumber});
        for (int c : *rgb)
            if (c > 31)
                return std::unexpected(PalFileError{PalFileError::Kind::ComponentTooLarge, lineNumber, c});
        if (count < 2)
            colours[count] = static_cast<GbcColor>((*rgb)[0] | (*rgb)[1] << 5 | (*rgb)[2] << 10);
        ++count;
    }
    if (count != 2)
        return std::unexpected(PalFileError{PalFileError::Kind::WrongLineCount, count});
    return PalettePair{static_cast<uint8_t>(colours[0] & 0xFF), static_cast<uint8_t>(colours[0] >> 8),
                       static_cast<uint8_t>(colours[1] & 0xFF), static_cast<uint8_t>(colours[1] >> 8)};
}

std::string FormatPalFile(const PalettePair& pair)
{
    std::string text;
    for (int i = 0; i < 2; ++i) {
        const unsigned word = pair[2 * i] | pair[2 * i + 1] << 8;
        char line[32];
        std::snprintf(line, sizeof line, "\tRGB %02u, %02u, %02u\n", word & 0x1F, (word >> 5) & 0x1F,
                      (word >> 10) & 0x1F);
        text += line;
    }
    return text;
}

uint8_t PackComponent(unsigned fiveBits)
{
    fiveBits &= 0x1F;
    return static_cast<uint8_t>(fiveBits << 3 | fiveBits >> 2);
}

uint32_t PackColour(GbcColor word)
{
    return uint32_t{PackComponent(word)} << 16 | uint32_t{PackComponent(word >> 5)} << 8 | PackComponent(word >> 10);
}

} // namespace orv::rom
