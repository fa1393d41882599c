#pragma once
// Where things lie in the games' ROMs and how pointers, palettes and picture
// sizes are stored. The only place that knows ROM offsets.

#include <array>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>

#include "byte_patch.h"
#include "gbc_color.h"
#include "error.h"
#include "rom_image.h"
#include "slot.h"

namespace orv::rom {

constexpr int64_t kBankSize = 0x4000;
// Offsets from here on have no bank byte.
constexpr int64_t kPointerLimit = 0x400000;

// Ranges of the numbers the tables hold entries for.
constexpr int kMaxPokemon = 251;
constexpr int kMaxUnownIndex = 26;
constexpr int kMaxTrainer = 66;
constexpr int kMaxNameLength = 20;
constexpr int kMaxSizeTiles = 9; // the size byte holds up to 9 x 9 tiles

// Largest picture the extraction handles (a 16-bit pixel count), and the tile
// data of that many pixels: measuring a picture stops beyond it.
constexpr int64_t kMaxPicturePixels = 32767;
constexpr int32_t kMaxTileDataBytes = kMaxPicturePixels / 4;

// The cartridge header, which no picture data may overwrite.
constexpr int64_t kHeaderBegin = 0x100;
constexpr int64_t kHeaderEnd = 0x150;
// Inside it: the title (on colour cartridges 11 characters and a 4-character
// game code), the colour flag, the header checksum over kTitleBegin .. 0x14C
// and the global checksum, two bytes high first.
constexpr int64_t kTitleBegin = 0x134;
constexpr int64_t kGameCodeBegin = 0x13F;
constexpr int64_t kColourFlagLocation = 0x143;
constexpr int64_t kHeaderChecksumLocation = 0x14D;
constexpr int64_t kGlobalChecksumLocation = 0x14E;

enum class RomLanguage { German, English };

// Three bytes as stored: bank, low byte, high byte of the in-bank address.
using BankPointer = std::array<uint8_t, 3>;

// Plain decoding: bank * 0x4000 + low + (high & 0x3F) * 0x100.
int64_t DecodeBankPointer(const BankPointer& pointer);
// Plain encoding with high byte 0x40..0x7F; none for offsets outside 0 .. 0x3FFFFF.
std::optional<BankPointer> EncodeBankPointer(int64_t offset);

// Picture pointers store banks 0x1F, 0x20, 0x2E as 0x13, 0x14, 0x1F.
uint8_t BankMeantByStoredByte(uint8_t stored); // one substitution only
uint8_t StoredByteForBank(uint8_t bank);
int64_t DecodePicturePointer(const BankPointer& pointer);
std::optional<BankPointer> EncodePicturePointer(int64_t offset);
// True when a picture pointer to offset reads back as offset (false for
// banks 0x13 and 0x14, which decode as 0x1F and 0x20, and for offsets
// without encoding).
bool PicturePointerReachable(int64_t offset);
// The pointer bytes for dataOffset at location; none without an encoding.
std::optional<BytePatch> WritePicturePointer(int64_t location, int64_t dataOffset);

// Number 201 takes the Unown table with unownIndex; trainers take their own
// table, where back is ignored.
int64_t PicturePointerLocation(bool isTrainer, int number, int unownIndex, bool back);

// The tables as a whole, [begin, end) for the numbers the program handles.
struct TableSpan {
    int64_t begin, end;
};
TableSpan PokemonPointerTable();
TableSpan UnownPointerTable();
TableSpan TrainerPointerTable();
TableSpan PokemonPaletteTable();
TableSpan TrainerPaletteTable();
TableSpan BaseDataRecords(RomLanguage language);
int64_t PaletteLocation(bool isTrainer, int number, bool shiny);
// The front-picture size byte of Pokemon `number` (201 for every Unown form).
int64_t SizeByteLocation(RomLanguage language, int number);
// The Pokemon's 32-byte base-data record, whose first byte is its number.
int64_t BaseDataRecordLocation(RomLanguage language, int number);
constexpr int64_t kLanguageByteLocation = 0x142;
int64_t NameTablePointerLocation(RomLanguage language);

// (width / 8) * 16 + (height / 8); none unless both are 1 .. 9 tiles.
std::optional<uint8_t> FrontPicSizeByte(int width, int height);

// "D"/"d" German, "E"/"e" English, anything else none.
std::optional<RomLanguage> LanguageFromByte(uint8_t byte);
// LanguageUnknown; TooShort when the ROM has no header byte.
std::expected<RomLanguage, Error> DetectRomLanguage(const RomImage& rom);
// The name-table base from the language's pointer (no picture-bank remap).
std::expected<int64_t, Error> ReadNameTableBase(const RomImage& rom, RomLanguage language);
// TooShort names the pointer table.
std::expected<int64_t, Error> ReadPicturePointer(const RomImage& rom, int64_t location);

struct PaletteWords {
    PalettePair pair{};
    std::array<uint32_t, 2> colours{}; // colour 1 and 2 as 0x00RRGGBB
    std::string text;                  // PaletteText, e.g. "FF03007C"
};
PaletteWords MakePaletteWords(const PalettePair& pair);
// TooShort names the palette.
std::expected<PaletteWords, Error> ReadPaletteWords(const RomImage& rom, int64_t location);
// The pair of colour1 and colour2 (0x00RRGGBB) at location, low bytes first.
BytePatch WritePaletteWords(int64_t location, uint32_t colour1, uint32_t colour2);

} // namespace orv::rom
