#include "game_text.h"

#include <algorithm>
#include <map>

#include "rom_layout.h"

namespace orv::rom {

namespace {

constexpr uint8_t kNameFiller = 0x50;
constexpr size_t kLongestText = 4; // "POKé"

// UTF-8 to code points; a malformed sequence becomes U+FFFD (its first byte).
std::u32string toCodePoints(std::string_view text)
{
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        char32_t cp = 0;
        if (lead < 0x80)
            length = 1, cp = lead;
        else if ((lead & 0xE0) == 0xC0)
            length = 2, cp = lead & 0x1F;
        else if ((lead & 0xF0) == 0xE0)
            length = 3, cp = lead & 0x0F;
        else if ((lead & 0xF8) == 0xF0)
            length = 4, cp = lead & 0x07;
        bool ok = length != 0 && i + length <= text.size();
        for (size_t k = 1; ok && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            ok = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms ("\xC1\x8F" for "O"), surrogates and values past
        // U+10FFFF are malformed too: they must not pass as the letter they hide.
        constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
        ok = ok && cp >= kShortest[length] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        out += ok ? cp : U'\uFFFD';
        i += ok ? length : 1;
    }
    return out;
}

std::string toUtf8(char32_t cp)
{
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// Each text to the lowest byte that carries it.
std::map<std::u32string, uint8_t> lowestByteByText(const CharTable& table)
{
    std::map<std::u32string, uint8_t> map;
    for (int byte = 255; byte >= 0; --byte) {
        const auto& text = table.text(static_cast<uint8_t>(byte));
        if (!text.empty())
            map[toCodePoints(text)] = static_cast<uint8_t>(byte);
    }
    return map;
}

} // namespace

CharTable::CharTable()
{
    // Ranges first, then single entries, so 0x9A ends as "(" rather than "[".
    for (int b = 0x80; b <= 0x9A; ++b)
        entries_[b] = std::string(1, static_cast<char>(b - 63));
    for (int b = 0xA0; b <= 0xBA; ++b)
        entries_[b] = std::string(1, static_cast<char>(b - 63));
    for (int b = 0xF6; b <= 0xFF; ++b)
        entries_[b] = std::string(1, static_cast<char>(b - 198));
    const std::pair<uint8_t, const char*> singles[] = {
        {0x50, ""},   {0x54, "POKé"}, {0x7F, " "},   {0x9A, "("},  {0x9B, ")"},  {0x9C, ":"},
        {0x9D, ";"},  {0x9E, "["},    {0x9F, "]"},   {0xBA, "{"},  {0xBE, "ß"},  {0xC0, "Ä"},
        {0xC1, "Ö"},  {0xC2, "Ü"},    {0xC3, "ä"},   {0xC4, "ö"},  {0xC5, "ü"},  {0xD0, "'d"},
        {0xD1, "'l"}, {0xD2, "'m"},   {0xD3, "'r"},  {0xD4, "'s"}, {0xD5, "'t"}, {0xD6, "'v"},
        {0xE0, "'"},  {0xE1, "PK"},   {0xE2, "MN"},  {0xE3, "-"},  {0xE6, "?"},  {0xE7, "!"},
        {0xE8, "."},  {0xE9, "&"},    {0xEF, "(m)"}, {0xF0, "$"},  {0xF1, "*"},  {0xF2, "."},
        {0xF3, "/"},  {0xF4, ","},    {0xF5, "(f)"},
    };
    for (const auto& [byte, text] : singles)
        entries_[byte] = text;
}

const CharTable& GameCharTable()
{
    static const CharTable table;
    return table;
}

std::string DecodeGameText(std::span<const uint8_t> bytes, const CharTable& table)
{
    std::string text;
    for (uint8_t byte : bytes)
        text += table.text(byte);
    return text;
}

std::expected<std::vector<uint8_t>, UnencodableCharacter> EncodeGameText(std::string_view text,
                                                                         const CharTable& table)
{
    const auto byText = lowestByteByText(table);
    const std::u32string chars = toCodePoints(text);
    std::vector<uint8_t> bytes;
    for (size_t pos = 0; pos < chars.size();) {
        size_t len = std::min(kLongestText, chars.size() - pos);
        for (; len >= 1; --len) {
            if (auto it = byText.find(chars.substr(pos, len)); it != byText.end()) {
                bytes.push_back(it->second);
                break;
            }
        }
        if (len == 0)
            return std::unexpected(UnencodableCharacter{toUtf8(chars[pos]), pos});
        pos += len;
    }
    return bytes;
}

std::expected<std::vector<uint8_t>, RomError> NameFieldBytes(std::string_view name, int nameLength)
{
    if (nameLength < 1 || nameLength > kMaxNameLength)
        return std::unexpected(OutOfRange(NumberField::NameLength, nameLength, 1, kMaxNameLength));
    const std::string quotedName = "\"" + std::string(name) + "\"";
    auto bytes = EncodeGameText(name);
    if (!bytes) {
        const std::string character = "\"" + bytes.error().character + "\"";
        return std::unexpected(RomError{
            RomError::Kind::BadName,
            "Der Name " + quotedName + " enthält das Zeichen " + character +
                ", das im Spiel nicht darstellbar ist.",
            0,
            "The name " + quotedName + " contains the character " + character +
                ", which the game's character table cannot encode."});
    }
    if (bytes->size() > static_cast<size_t>(nameLength)) {
        const std::string needed = std::to_string(bytes->size()), room = std::to_string(nameLength);
        return std::unexpected(RomError{
            RomError::Kind::BadName,
            "Der Name " + quotedName + " braucht " + needed + " Bytes, im Rom ist aber nur Platz für " + room + ".", 0,
            "The name " + quotedName + " needs " + needed + " bytes, but the ROM only has room for " + room + "."});
    }
    bytes->resize(static_cast<size_t>(nameLength), kNameFiller);
    return *bytes;
}

std::expected<int64_t, RomError> PokemonNameLocation(const RomFile& rom, int number, int nameLength)
{
    if (number < 1 || number > kMaxPokemon)
        return std::unexpected(OutOfRange(NumberField::PokemonNumber, number, 1, kMaxPokemon));
    if (nameLength < 1 || nameLength > kMaxNameLength)
        return std::unexpected(OutOfRange(NumberField::NameLength, nameLength, 1, kMaxNameLength));
    auto language = DetectRomLanguage(rom);
    if (!language)
        return std::unexpected(language.error());
    auto base = ReadNameTableBase(rom, *language);
    if (!base)
        return std::unexpected(base.error());
    const int64_t offset = *base + int64_t{nameLength} * (number - 1);
    if (!rom.holds(offset, nameLength))
        return std::unexpected(TooShort(rom.path(), RomPart::Name, offset + nameLength, rom.size()));
    return offset;
}

std::expected<PokemonName, RomError> ReadPokemonName(const std::filesystem::path& path, int number,
                                                     int nameLength)
{
    auto rom = RomFile::open(path);
    if (!rom)
        return std::unexpected(rom.error());
    auto offset = PokemonNameLocation(*rom, number, nameLength);
    if (!offset)
        return std::unexpected(offset.error());
    auto bytes = rom->read(*offset, nameLength, RomPart::Name);
    if (!bytes)
        return std::unexpected(bytes.error());
    return PokemonName{DecodeGameText(*bytes), *offset};
}

std::expected<std::vector<std::string>, RomError> ReadPokemonNames(const RomFile& rom, int nameLength)
{
    auto first = PokemonNameLocation(rom, 1, nameLength);
    if (!first)
        return std::unexpected(first.error());
    if (auto last = PokemonNameLocation(rom, kMaxPokemon, nameLength); !last)
        return std::unexpected(last.error());
    std::vector<std::string> names;
    names.reserve(kMaxPokemon);
    for (int i = 0; i < kMaxPokemon; ++i) {
        const auto field = rom.bytes().subspan(static_cast<size_t>(*first + int64_t{i} * nameLength),
                                               static_cast<size_t>(nameLength));
        names.push_back(DecodeGameText(std::span(field.begin(), std::ranges::find(field, kNameFiller))));
    }
    return names;
}

std::string SourceNameFromPath(std::string_view path)
{
    const size_t slash = path.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return std::string(name.substr(0, name.find('.')));
}

} // namespace orv::rom
