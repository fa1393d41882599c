#include "extraction.h"

#include <cmath>

#include "codec.h"
#include "rom_map.h"

namespace orv::rom {

namespace {

std::unexpected<Error> noPicture(int64_t offset, StreamFault fault)
{
    return std::unexpected(Error{.kind = ErrorKind::NoPicture, .offset = offset, .fault = fault});
}

std::unexpected<Error> codecFailure(int64_t offset, codec::Error error)
{
    switch (error) {
    case codec::Error::LibraryMissing: return std::unexpected(CodecMissingError(codec::LoadProblem()));
    case codec::Error::Io: return std::unexpected(Error{.kind = ErrorKind::ReadFailed});
    case codec::Error::BadCopySource: return noPicture(offset, StreamFault::BadCopySource);
    case codec::Error::NoEndMarker: return noPicture(offset, StreamFault::NoEndMarker);
    case codec::Error::OutputFull: return noPicture(offset, StreamFault::OutputFull);
    default: return noPicture(offset, StreamFault::TooLong);
    }
}

struct Size {
    int64_t width, height;
};

// Given sizes: one of them makes the other from the tile count.
std::expected<Size, Error> pictureSize(const ExtractRequest& r, int64_t decompressedLength)
{
    const int64_t side = SquareSideForLength(decompressedLength);
    const int64_t x = r.slot ? 0 : r.width, y = r.slot ? 0 : r.height;
    const int64_t tiles = decompressedLength / 16;
    if (x == 0 && y == 0)
        return Size{side, side};
    if (x != 0 && x < 8)
        return std::unexpected(Error{.kind = ErrorKind::TooNarrow, .value = x, .high = 1});
    if (y != 0 && y < 8)
        return std::unexpected(Error{.kind = ErrorKind::TooNarrow, .value = y, .high = 0});
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

std::expected<ExtractedPicture, Error> ExtractFromRom(const RomImage& rom, const ExtractRequest& r)
{
    ExtractedPicture picture;
    if (r.slot) {
        auto slot = CheckedSlot(*r.slot);
        if (!slot)
            return std::unexpected(slot.error());
        auto offset = ReadPicturePointer(rom, PointerLocation(*slot));
        if (!offset)
            return std::unexpected(offset.error());
        auto palette = ReadPaletteWords(rom, PaletteLocation(*slot));
        if (!palette)
            return std::unexpected(palette.error());
        picture.offset = *offset;
        picture.palette = *palette;
    } else {
        picture.offset = r.offset;
        if (picture.offset < 0 || picture.offset >= rom.size())
            return std::unexpected(OutOfRangeError(NumberField::Offset, picture.offset, 0, rom.size() - 1));
        picture.palette = MakePaletteWords(kDefaultPalettePair);
    }

    auto lengths = MeasurePicture(rom, picture.offset);
    if (!lengths)
        return codecFailure(picture.offset, lengths.error());
    if (lengths->decompressed < 16)
        return noPicture(picture.offset, StreamFault::ShorterThanTile);
    auto stream = rom.read(picture.offset, lengths->compressed, RomPart::PictureData);
    if (!stream)
        return std::unexpected(stream.error());
    auto tiles = codec::Decode(*stream, lengths->decompressed);
    if (!tiles)
        return codecFailure(picture.offset, tiles.error());
    if (tiles->size() != static_cast<size_t>(lengths->decompressed))
        return noPicture(picture.offset, StreamFault::Corrupt);

    auto size = pictureSize(r, lengths->decompressed);
    if (!size)
        return std::unexpected(size.error());
    if (size->width > kMaxPicturePixels || size->height > kMaxPicturePixels ||
        size->width * size->height > kMaxPicturePixels)
        return std::unexpected(Error{.kind = ErrorKind::PictureTooLarge, .low = size->width, .high = size->height});
    picture.stream = std::move(*stream);
    picture.tileData = std::move(*tiles);
    picture.width = static_cast<int>(size->width);
    picture.height = static_cast<int>(size->height);
    return picture;
}

std::expected<void, Error> CheckRomSource(const RomImage& rom)
{
    const int64_t tablesEnd = TrainerPointerTable().end;
    if (rom.size() < tablesEnd)
        return std::unexpected(TooShortError(RomPart::PointerTable, tablesEnd, rom.size()));
    if (auto language = DetectRomLanguage(rom); !language)
        return std::unexpected(language.error());
    auto picture = ExtractFromRom(rom, {.slot = Slot{}});
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
