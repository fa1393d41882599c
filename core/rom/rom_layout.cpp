#include "rom_layout.h"

namespace orv::rom {

namespace {
constexpr int64_t kPokemonPicPointers = 0x48000;
constexpr int64_t kUnownPicPointers = 0x7C000;
constexpr int64_t kTrainerPicPointers = 0x80000;
constexpr int64_t kPokemonPalettes = 0xAD3D;   // entry n at base + 8 n
constexpr int64_t kTrainerPalettes = 0xB53D;   // entry t at base + 4 t
constexpr int64_t kGermanSizeBytes = 0x51AF1;  // + 32 n
constexpr int64_t kEnglishSizeBytes = 0x51AFC; // + 32 n
constexpr int64_t kSizeByteInRecord = 0x11;
constexpr int64_t kGermanNameTablePointer = 0x35E5;
constexpr int64_t kEnglishNameTablePointer = 0x35EE;
} // namespace

int64_t DecodeBankPointer(const BankPointer& p)
{
    return p[0] * kBankSize + p[1] + (p[2] & 0x3F) * 0x100;
}

std::optional<BankPointer> EncodeBankPointer(int64_t offset)
{
    if (offset < 0 || offset >= kPointerLimit)
        return std::nullopt;
    return BankPointer{static_cast<uint8_t>(offset / kBankSize), static_cast<uint8_t>(offset & 0xFF),
                       static_cast<uint8_t>(((offset & 0x3F00) >> 8) + 0x40)};
}

uint8_t BankMeantByStoredByte(uint8_t stored)
{
    switch (stored) {
    case 0x13: return 0x1F;
    case 0x14: return 0x20;
    case 0x1F: return 0x2E;
    default: return stored;
    }
}

uint8_t StoredByteForBank(uint8_t bank)
{
    switch (bank) {
    case 0x1F: return 0x13;
    case 0x20: return 0x14;
    case 0x2E: return 0x1F;
    default: return bank;
    }
}

int64_t DecodePicturePointer(const BankPointer& pointer)
{
    return DecodeBankPointer({BankMeantByStoredByte(pointer[0]), pointer[1], pointer[2]});
}

std::optional<BankPointer> EncodePicturePointer(int64_t offset)
{
    auto pointer = EncodeBankPointer(offset);
    if (pointer)
        (*pointer)[0] = StoredByteForBank((*pointer)[0]);
    return pointer;
}

bool PicturePointerReachable(int64_t offset)
{
    auto pointer = EncodePicturePointer(offset);
    return pointer && DecodePicturePointer(*pointer) == offset;
}

std::optional<BytePatch> WritePicturePointer(int64_t location, int64_t dataOffset)
{
    auto pointer = EncodePicturePointer(dataOffset);
    if (!pointer)
        return std::nullopt;
    return BytePatch{PatchKind::PicturePointer, location, {pointer->begin(), pointer->end()}};
}

int64_t PicturePointerLocation(bool isTrainer, int number, int unownIndex, bool back)
{
    if (isTrainer)
        return kTrainerPicPointers + 3 * (int64_t{number} - 1);
    const int64_t side = back ? 3 : 0;
    if (number == kUnownNumber)
        return kUnownPicPointers + 6 * (int64_t{unownIndex} - 1) + side;
    return kPokemonPicPointers + 6 * (int64_t{number} - 1) + side;
}

TableSpan PokemonPointerTable() { return {kPokemonPicPointers, kPokemonPicPointers + 6 * kMaxPokemon}; }
TableSpan UnownPointerTable() { return {kUnownPicPointers, kUnownPicPointers + 6 * kMaxUnownIndex}; }
TableSpan TrainerPointerTable() { return {kTrainerPicPointers, kTrainerPicPointers + 3 * kMaxTrainer}; }

TableSpan PokemonPaletteTable()
{
    return {PaletteLocation(false, 1, false), PaletteLocation(false, kMaxPokemon, true) + 4};
}

TableSpan TrainerPaletteTable()
{
    return {PaletteLocation(true, 1, false), PaletteLocation(true, kMaxTrainer, false) + 4};
}

TableSpan BaseDataRecords(RomLanguage language)
{
    return {BaseDataRecordLocation(language, 1), BaseDataRecordLocation(language, kMaxPokemon) + 32};
}

int64_t PaletteLocation(bool isTrainer, int number, bool shiny)
{
    if (isTrainer)
        return kTrainerPalettes + 4 * int64_t{number};
    return kPokemonPalettes + 4 * (2 * int64_t{number} + (shiny ? 1 : 0));
}

int64_t SizeByteLocation(RomLanguage language, int number)
{
    const int64_t base = language == RomLanguage::English ? kEnglishSizeBytes : kGermanSizeBytes;
    return base + 32 * int64_t{number};
}

int64_t BaseDataRecordLocation(RomLanguage language, int number)
{
    return SizeByteLocation(language, number) - kSizeByteInRecord;
}

int64_t NameTablePointerLocation(RomLanguage language)
{
    return language == RomLanguage::English ? kEnglishNameTablePointer : kGermanNameTablePointer;
}

std::optional<uint8_t> FrontPicSizeByte(int width, int height)
{
    const int columns = width / 8, rows = height / 8;
    if (columns < 1 || columns > kMaxSizeTiles || rows < 1 || rows > kMaxSizeTiles)
        return std::nullopt;
    return static_cast<uint8_t>(columns * 16 + rows);
}

std::optional<RomLanguage> LanguageFromByte(uint8_t byte)
{
    switch (byte) {
    case 'D':
    case 'd': return RomLanguage::German;
    case 'E':
    case 'e': return RomLanguage::English;
    default: return std::nullopt;
    }
}

std::expected<RomLanguage, Error> DetectRomLanguage(const RomImage& rom)
{
    uint8_t byte = 0;
    if (auto r = rom.read(kLanguageByteLocation, {&byte, 1}, RomPart::Header); !r)
        return std::unexpected(r.error());
    if (auto language = LanguageFromByte(byte))
        return *language;
    return std::unexpected(Error{.kind = ErrorKind::LanguageUnknown});
}

std::expected<int64_t, Error> ReadNameTableBase(const RomImage& rom, RomLanguage language)
{
    BankPointer pointer{};
    if (auto r = rom.read(NameTablePointerLocation(language), pointer, RomPart::NameTablePointer); !r)
        return std::unexpected(r.error());
    return DecodeBankPointer(pointer);
}

std::expected<int64_t, Error> ReadPicturePointer(const RomImage& rom, int64_t location)
{
    BankPointer pointer{};
    if (auto r = rom.read(location, pointer, RomPart::PointerTable); !r)
        return std::unexpected(r.error());
    return DecodePicturePointer(pointer);
}

PaletteWords MakePaletteWords(const PalettePair& pair)
{
    return {pair, PairColours(pair), PaletteText(pair)};
}

std::expected<PaletteWords, Error> ReadPaletteWords(const RomImage& rom, int64_t location)
{
    PalettePair pair{};
    if (auto r = rom.read(location, pair, RomPart::Palette); !r)
        return std::unexpected(r.error());
    return MakePaletteWords(pair);
}

BytePatch WritePaletteWords(int64_t location, uint32_t colour1, uint32_t colour2)
{
    const PalettePair pair = MakePalettePair(colour1, colour2);
    return {PatchKind::Palette, location, {pair.begin(), pair.end()}};
}

} // namespace orv::rom
