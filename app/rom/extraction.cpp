#include "extraction.h"

#include <cmath>

#include "codec_library.h"
#include "number_text.h"
#include "rom_map.h"

namespace orv::rom {

namespace {

struct Reason {
    const char* german;
    const char* english;
};

RomError noPicture(const RomFile& rom, int64_t offset, Reason reason)
{
    const std::string file = "\"" + rom.path().string() + "\"";
    return {RomError::Kind::NoPicture,
            "An Offset " + HexText(offset) + " der Datei " + file + " liegen keine vollständigen Bilddaten. " +
                reason.german,
            0,
            "There is no complete picture data at offset " + HexEnglish(offset) + " in the file " + file + ". " +
                reason.english};
}

RomError codecFailure(const RomFile& rom, int64_t offset, codec::Error error)
{
    switch (error) {
    case codec::Error::LibraryMissing: return CodecMissing(codec::loadProblem());
    case codec::Error::Io: return ReadFailed(rom.path(), 0);
    case codec::Error::BadCopySource:
        return noPicture(rom, offset,
                         {"Ein Kopierbefehl liest außerhalb der bisher entpackten Daten.",
                          "A copy command reads outside the data unpacked so far."});
    case codec::Error::NoEndMarker:
        return noPicture(rom, offset,
                         {"Vor dem Dateiende fehlt das Endezeichen.",
                          "The end marker is missing before the end of the file."});
    case codec::Error::OutputFull:
        return noPicture(rom, offset,
                         {"Die entpackten Daten wären größer als ein Bild von 32767 Pixeln.",
                          "The unpacked data would be larger than a picture of 32767 pixels."});
    default: return noPicture(rom, offset, {"Die Daten sind zu lang.", "The data is too long."});
    }
}

// The trainer or Pokemon number of the slot, checked against its table.
std::expected<int, RomError> checkedSlotNumber(const ExtractRequest& r)
{
    if (r.trainer) {
        if (r.trainerNumber < 1 || r.trainerNumber > kMaxTrainer)
            return std::unexpected(OutOfRange(NumberField::TrainerNumber, r.trainerNumber, 1, kMaxTrainer));
        return static_cast<int>(r.trainerNumber);
    }
    const int64_t n = r.unown ? kUnownNumber : r.pokemonNumber;
    if (n < 1 || n > kMaxPokemon)
        return std::unexpected(OutOfRange(NumberField::PokemonNumber, n, 1, kMaxPokemon));
    if (n == kUnownNumber && (r.unownIndex < 1 || r.unownIndex > kMaxUnownIndex))
        return std::unexpected(OutOfRange(NumberField::UnownIndex, r.unownIndex, 1, kMaxUnownIndex));
    return static_cast<int>(n);
}

RomError tooNarrow(bool width, int64_t value)
{
    const std::string number = " " + std::to_string(value);
    return {RomError::Kind::BadSize,
            (width ? "Die angegebene Breite" : "Die angegebene Höhe") + number + " ist kleiner als 8 Pixel.", 0,
            (width ? "The given width" : "The given height") + number + " is less than 8 pixels."};
}

struct Size {
    int64_t width, height;
};

// Typed sizes: one of them given makes the other from the tile count.
std::expected<Size, RomError> pictureSize(const ExtractRequest& r, int64_t decompressedLength)
{
    const int64_t side = SquareSideForLength(decompressedLength);
    if (r.bySlot || !r.specifySize)
        return Size{side, side};
    const int64_t x = parseNumber(r.widthText), y = parseNumber(r.heightText);
    const int64_t tiles = decompressedLength / 16;
    if (x == 0 && y == 0)
        return Size{side, side};
    if (x != 0 && x < 8)
        return std::unexpected(tooNarrow(true, x));
    if (y != 0 && y < 8)
        return std::unexpected(tooNarrow(false, y));
    if (x == 0)
        return Size{((tiles - 1) / (y / 8) + 1) * 8, y};
    if (y == 0)
        return Size{x, ((tiles - 1) / (x / 8) + 1) * 8};
    return Size{x, y};
}

} // namespace

int SquareSideForLength(int64_t decompressedLength)
{
    const auto tiles = static_cast<double>(decompressedLength / 16);
    return static_cast<int>(std::llrint(std::sqrt(tiles) - 1)) * 8 + 8;
}

std::expected<ExtractedPicture, RomError> ExtractFromRom(const ExtractRequest& r)
{
    auto number = r.bySlot ? checkedSlotNumber(r) : 0;
    if (!number)
        return std::unexpected(number.error());
    auto rom = RomFile::open(r.romPath);
    if (!rom)
        return std::unexpected(rom.error());
    return ExtractFromRom(*rom, r);
}

std::expected<ExtractedPicture, RomError> ExtractFromRom(const RomFile& rom, const ExtractRequest& r)
{
    auto number = r.bySlot ? checkedSlotNumber(r) : 0;
    if (!number)
        return std::unexpected(number.error());

    ExtractedPicture picture;
    if (r.bySlot) {
        auto offset = ReadPicturePointer(
            rom, PicturePointerLocation(r.trainer, *number, static_cast<int>(r.unownIndex), r.back));
        if (!offset)
            return std::unexpected(offset.error());
        auto palette = ReadPaletteWords(rom, PaletteLocation(r.trainer, *number, r.shiny));
        if (!palette)
            return std::unexpected(palette.error());
        picture.offset = *offset;
        picture.palette = *palette;
    } else {
        picture.offset = parseNumber(r.offsetText);
        if (picture.offset < 0 || picture.offset >= rom.size())
            return std::unexpected(OutOfRange(NumberField::Offset, picture.offset, 0, rom.size() - 1));
        picture.palette = MakePaletteWords(kDefaultPalettePair);
    }

    auto lengths = MeasurePicture(rom, picture.offset);
    if (!lengths)
        return std::unexpected(codecFailure(rom, picture.offset, lengths.error()));
    if (lengths->decompressed < 16)
        return std::unexpected(noPicture(rom, picture.offset,
                                         {"Die entpackten Daten sind kürzer als eine Kachel (16 Bytes).",
                                          "The unpacked data is shorter than one tile (16 bytes)."}));
    auto stream = rom.read(picture.offset, lengths->compressed, RomPart::PictureData);
    if (!stream)
        return std::unexpected(stream.error());
    auto tiles = codec::decode(*stream, lengths->decompressed);
    if (!tiles)
        return std::unexpected(codecFailure(rom, picture.offset, tiles.error()));
    if (tiles->size() != static_cast<size_t>(lengths->decompressed))
        return std::unexpected(noPicture(rom, picture.offset, {"Die Daten sind fehlerhaft.", "The data is corrupt."}));

    auto size = pictureSize(r, lengths->decompressed);
    if (!size)
        return std::unexpected(size.error());
    if (size->width > kMaxPicturePixels || size->height > kMaxPicturePixels ||
        size->width * size->height > kMaxPicturePixels) {
        const std::string pixels = std::to_string(size->width) + " x " + std::to_string(size->height);
        return std::unexpected(RomError{RomError::Kind::BadSize,
                                        "Das Bild wäre mit " + pixels + " Pixeln größer als 32767 Pixel.", 0,
                                        "At " + pixels + " pixels the picture would be larger than 32767 pixels."});
    }
    picture.stream = std::move(*stream);
    picture.tileData = std::move(*tiles);
    picture.width = static_cast<int>(size->width);
    picture.height = static_cast<int>(size->height);
    return picture;
}

std::expected<void, RomError> CheckRomSource(const RomFile& rom)
{
    const int64_t tablesEnd = TrainerPointerTable().end;
    if (rom.size() < tablesEnd)
        return std::unexpected(TooShort(rom.path(), RomPart::PointerTable, tablesEnd, rom.size()));
    if (auto language = DetectRomLanguage(rom); !language)
        return std::unexpected(language.error());
    ExtractRequest first;
    first.romPath = rom.path();
    auto picture = ExtractFromRom(rom, first);
    if (picture)
        return {};
    auto streams = ReadSlotStreams(rom);
    if (!streams)
        return std::unexpected(streams.error());
    for (const SlotStream& stream : *streams)
        if (stream.complete() && stream.lengths->decompressed >= 16)
            return {};
    return std::unexpected(picture.error());
}

} // namespace orv::rom
