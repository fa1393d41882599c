#include "insertion.h"

#include <algorithm>

#include "codec.h"
#include "free_space.h"
#include "game_text.h"
#include "picture_shape.h"
#include "rom_layout.h"
#include "rom_map.h"

namespace orv::rom {

namespace {

std::unexpected<Error> refusal(Error error)
{
    return std::unexpected(std::move(error));
}

int clampedNameLength(const InsertRequest& r)
{
    return static_cast<int>(std::clamp<int64_t>(r.nameLength, 1, kMaxNameLength));
}

// A front picture the size byte cannot describe.
std::unexpected<Error> tooManyTiles(const InsertRequest& r)
{
    return refusal({.kind = ErrorKind::TooManyTiles, .low = r.width / 8, .high = r.height / 8});
}

// The size byte of Pokemon 201, which all Unown fronts share.
std::expected<uint8_t, Error> unownSizeByte(const RomImage& rom)
{
    auto language = DetectRomLanguage(rom);
    if (!language)
        return std::unexpected(language.error());
    const int64_t record = BaseDataRecordLocation(*language, kUnownNumber);
    const int64_t location = SizeByteLocation(*language, kUnownNumber);
    uint8_t species = 0, size = 0;
    for (auto [at, byte] : {std::pair{record, &species}, std::pair{location, &size}})
        if (auto read = rom.read(at, {byte, 1}, RomPart::SizeByte); !read)
            return std::unexpected(read.error());
    if (species != kUnownNumber)
        return refusal({.kind = ErrorKind::UnownRecord, .offset = record, .value = species});
    return size;
}

// Only shapes the game draws whole go into a slot, unless the request says
// the ROM's code draws others.
std::expected<void, Error> checkShape(const RomImage& rom, const InsertRequest& r, const Slot& slot)
{
    const SlotKind kind = KindOf(slot);
    const bool front = kind == SlotKind::PokemonFront || kind == SlotKind::UnownFront;
    if (r.anyShape) {
        if (front && !FrontPicSizeByte(r.width, r.height))
            return tooManyTiles(r);
        return {};
    }
    uint8_t unownByte = 0;
    const bool shared = kind == SlotKind::UnownFront && !r.allUnownFronts;
    if (shared) {
        auto byte = unownSizeByte(rom);
        if (!byte)
            return std::unexpected(byte.error());
        unownByte = *byte;
    }
    if (GameShows(kind, {r.width, r.height}, unownByte, r.allUnownFronts))
        return {};
    return refusal({.kind = ErrorKind::BadShape,
                    .value = shared ? 1 : 0,
                    .low = r.width,
                    .high = r.height,
                    .slot = slot,
                    .shapes = ShownShapes(kind, unownByte, r.allUnownFronts)});
}

// What the picture data may not overwrite, and the unknown non-zero bytes it
// would. The replaced slot's own old picture is free to take.
std::expected<Overwrite, Error> checkPlacement(const RomImage& rom, const InsertRequest& r,
                                               const std::vector<SlotStream>& streams, const BytePatch& data,
                                               const std::optional<Slot>& replaced)
{
    const int64_t begin = data.offset, end = data.end();
    const auto inTheWay = [&](Region region, const Slot& slot, int64_t from, int64_t to) {
        return refusal({.kind = ErrorKind::InTheWay,
                        .offset = begin,
                        .value = static_cast<int64_t>(data.bytes.size()),
                        .low = from,
                        .high = to,
                        .region = region,
                        .slot = slot});
    };
    for (const KnownRegion& region : KnownRegions(rom, clampedNameLength(r)))
        if (region.begin < end && begin < region.end)
            return inTheWay(region.region, {}, region.begin, region.end);

    const auto bytes = rom.bytes();
    const auto changes = [&](int64_t i) { return bytes[i] != data.bytes[static_cast<size_t>(i - begin)]; };
    for (const SlotStream& other : streams) {
        if (!other.complete() || (replaced && other.slot == TableEntry(*replaced)))
            continue;
        for (int64_t i = std::max(begin, other.offset); i < std::min(end, other.end()); ++i)
            if (changes(i))
                return inTheWay(Region::Picture, other.slot, other.offset, other.end());
    }

    const SlotStream* own = replaced ? StreamOf(streams, *replaced) : nullptr;
    const auto ownPicture = [&](int64_t i) { return own && own->complete() && i >= own->offset && i < own->end(); };
    Overwrite overwrite;
    for (int64_t i = begin; i < end; ++i)
        if (bytes[i] != 0 && changes(i) && !ownPicture(i) && overwrite.bytes++ == 0)
            overwrite.first = i;
    return overwrite;
}

// Zeros over the slot's old picture, or a note why it stays: its bytes must
// be a complete stream, and no other slot's picture nor a table may share them.
std::expected<std::optional<BytePatch>, Error> zeroOldPicture(const RomImage& rom, const InsertRequest& r,
                                                              const std::vector<SlotStream>& streams,
                                                              const Slot& slot, std::vector<Note>& notes)
{
    const SlotStream* old = StreamOf(streams, slot);
    if (!old || !old->complete() || !rom.holds(old->offset, old->lengths->compressed))
        return refusal({.kind = ErrorKind::OldPictureBroken, .offset = old ? old->offset : 0});
    const auto keep = [&](Region region, const Slot& other) {
        notes.push_back({.kind = NoteKind::OldPictureKept, .offset = old->offset, .region = region, .slot = other});
        return std::optional<BytePatch>();
    };
    for (const SlotStream& other : streams)
        if (other.complete() && other.slot != TableEntry(slot) && other.offset < old->end() &&
            old->offset < other.end())
            return keep(Region::Picture, other.slot);
    for (const KnownRegion& region : KnownRegions(rom, clampedNameLength(r)))
        if (region.begin < old->end() && old->offset < region.end)
            return keep(region.region, {});
    return BytePatch{PatchKind::ZeroOldPicture, old->offset,
                     std::vector<uint8_t>(static_cast<size_t>(old->lengths->compressed), 0)};
}

// The size byte, or a note why it stays as it is.
std::expected<std::optional<BytePatch>, Error> sizeBytePatch(const RomImage& rom, const InsertRequest& r,
                                                             int number, int32_t tileBytes, std::vector<Note>& notes)
{
    const auto value = FrontPicSizeByte(r.width, r.height);
    if (!value)
        return tooManyTiles(r);
    // The game unpacks as many tiles as the size byte says.
    if (int64_t{r.width / 8} * (r.height / 8) * 16 != tileBytes)
        return refusal({.kind = ErrorKind::SizeMismatch, .value = tileBytes / 16, .low = r.width, .high = r.height});
    auto language = DetectRomLanguage(rom);
    if (!language) {
        if (language.error().kind != ErrorKind::LanguageUnknown)
            return std::unexpected(language.error());
        notes.push_back({.kind = NoteKind::SizeByteLanguageUnknown});
        return std::nullopt;
    }
    const int64_t location = SizeByteLocation(*language, number);
    const int64_t record = BaseDataRecordLocation(*language, number);
    uint8_t species = 0;
    if (!rom.holds(location, 1))
        return std::unexpected(TooShortError(RomPart::SizeByte, location + 1, rom.size()));
    if (auto read = rom.read(record, {&species, 1}, RomPart::SizeByte); !read)
        return std::unexpected(read.error());
    if (species != number) {
        notes.push_back({.kind = NoteKind::SizeByteRecord, .offset = record, .value = number, .low = species});
        return std::nullopt;
    }
    return BytePatch{PatchKind::SizeByte, location, {*value}};
}

// A slot's picture must lie where its pointer can lead and the game can read
// it whole: outside bank 0 (a pointer to bank 0 maps bank 1), outside banks
// 0x13 and 0x14, below 0x400000, and within one bank.
std::expected<void, Error> checkReachable(int64_t offset, int64_t n)
{
    if (offset < kBankSize || !PicturePointerReachable(offset))
        return refusal({.kind = ErrorKind::Unreachable, .offset = offset});
    const int64_t bank = offset / kBankSize;
    if ((offset + n - 1) / kBankSize != bank)
        return refusal({.kind = ErrorKind::PastBank, .offset = offset, .value = n, .high = bank});
    return {};
}

// Every patch of a slot replacement, the data included, in writing order.
std::expected<std::vector<BytePatch>, Error> planSlot(const RomImage& rom, const InsertRequest& r, const Slot& slot,
                                                      const std::vector<SlotStream>& streams, BytePatch data,
                                                      std::vector<Note>& notes)
{
    const int64_t dataOffset = data.offset;
    const auto n = static_cast<int64_t>(data.bytes.size());
    if (auto reachable = checkReachable(dataOffset, n); !reachable)
        return std::unexpected(reachable.error());
    auto lengths = codec::Measure(data.bytes, kMaxTileDataBytes);
    if (!lengths && lengths.error() == codec::Error::LibraryMissing)
        return std::unexpected(CodecMissingError(codec::LoadProblem()));
    if (!lengths || lengths->compressed != n || lengths->decompressed < 16)
        return refusal({.kind = ErrorKind::NotAStream});

    const int number = PaletteNumber(slot);
    const bool trainer = IsTrainer(slot);
    const int64_t pointerLocation = PointerLocation(slot);
    if (!rom.holds(pointerLocation, 3))
        return std::unexpected(TooShortError(RomPart::PointerTable, pointerLocation + 3, rom.size()));
    const int64_t paletteLocation = PaletteLocation(slot);
    if (!rom.holds(paletteLocation, 4))
        return std::unexpected(TooShortError(RomPart::Palette, paletteLocation + 4, rom.size()));

    std::vector<BytePatch> patches;
    if (r.deleteOriginal) {
        auto zeros = zeroOldPicture(rom, r, streams, slot, notes);
        if (!zeros)
            return std::unexpected(zeros.error());
        if (*zeros)
            patches.push_back(std::move(**zeros));
    }
    patches.push_back(std::move(data));
    patches.push_back(WritePaletteWords(paletteLocation, r.colour1, r.colour2));
    if (r.newName && !trainer) {
        if (r.newName->empty())
            return refusal({.kind = ErrorKind::EmptyName});
        if (r.nameLength < 1 || r.nameLength > kMaxNameLength)
            return std::unexpected(OutOfRangeError(NumberField::NameLength, r.nameLength, 1, kMaxNameLength));
        const int length = static_cast<int>(r.nameLength);
        auto bytes = NameFieldBytes(*r.newName, length);
        if (!bytes)
            return std::unexpected(bytes.error());
        auto location = PokemonNameLocation(rom, number, length);
        if (!location)
            return std::unexpected(location.error());
        patches.push_back({PatchKind::Name, *location, std::move(*bytes)});
    }
    patches.push_back(*WritePicturePointer(pointerLocation, dataOffset));
    if (!trainer && !slot.back) {
        auto size = sizeBytePatch(rom, r, number, lengths->decompressed, notes);
        if (!size)
            return std::unexpected(size.error());
        if (*size)
            patches.push_back(std::move(**size));
    }
    return patches;
}

} // namespace

std::expected<InsertionPlan, Error> PlanInsertion(const RomImage& rom, const InsertRequest& r)
{
    const auto n = static_cast<int64_t>(r.encoded.size());
    if (n == 0)
        return refusal({.kind = ErrorKind::NoData});
    if (rom.size() < n + 1)
        return std::unexpected(TooShortError(RomPart::PictureData, n + 1, rom.size()));

    InsertionPlan plan;
    plan.fileSize = rom.size();
    plan.dataOffset = r.offset;
    const int64_t maxOffset = rom.size() - n - 1;
    if (plan.dataOffset < 0 || plan.dataOffset > maxOffset)
        return std::unexpected(OutOfRangeError(NumberField::Offset, plan.dataOffset, 0, maxOffset));
    std::optional<Slot> slot;
    if (r.slot) {
        auto checked = CheckedSlot(*r.slot);
        if (!checked)
            return std::unexpected(checked.error());
        if (auto shape = checkShape(rom, r, *checked); !shape)
            return std::unexpected(shape.error());
        slot = *checked;
    }
    auto streams = ReadSlotStreams(rom);
    if (!streams)
        return std::unexpected(streams.error());
    BytePatch data{PatchKind::PictureData, plan.dataOffset, r.encoded};
    auto overwrite = checkPlacement(rom, r, *streams, data, slot);
    if (!overwrite)
        return std::unexpected(overwrite.error());
    plan.overwrite = *overwrite;
    if (!slot) {
        plan.patches.push_back(std::move(data));
        return plan;
    }
    auto patches = planSlot(rom, r, *slot, *streams, std::move(data), plan.notes);
    if (!patches)
        return std::unexpected(patches.error());
    plan.patches = std::move(*patches);
    return plan;
}

std::expected<void, Error> CheckSlotShape(const RomImage& rom, const InsertRequest& r)
{
    if (!r.slot)
        return {};
    auto slot = CheckedSlot(*r.slot);
    if (!slot)
        return std::unexpected(slot.error());
    return checkShape(rom, r, *slot);
}

std::expected<std::optional<BytePatch>, Error> OldPictureZeros(const RomImage& rom, const InsertRequest& r,
                                                               std::vector<Note>& notes)
{
    auto slot = CheckedSlot(r.slot.value_or(Slot{}));
    if (!slot)
        return std::unexpected(slot.error());
    auto streams = ReadSlotStreams(rom);
    if (!streams)
        return std::unexpected(streams.error());
    return zeroOldPicture(rom, r, *streams, *slot, notes);
}

std::expected<InsertionPlan, Error> PlanInsertionAtFreePlace(const RomImage& rom, InsertRequest request, int64_t from)
{
    const auto n = static_cast<int32_t>(std::min<size_t>(request.encoded.size(), INT32_MAX));
    for (int64_t start = from;;) {
        const auto found = SearchNextOffset(rom.bytes(), start, n, rom.size() - n - 1);
        if (!found)
            return refusal({.kind = ErrorKind::NoRoom, .offset = from, .value = n});
        request.offset = *found;
        auto plan = PlanInsertion(rom, request);
        const ErrorKind kind = plan ? ErrorKind::NoData : plan.error().kind;
        const bool unreachable = kind == ErrorKind::Unreachable || kind == ErrorKind::PastBank;
        if (plan || (!unreachable && kind != ErrorKind::InTheWay))
            return plan;
        // Zeros the search takes for free may lie where no pointer leads
        // (banks 0x13 and 0x14: go on in the next bank) or belong to a table
        // or a picture.
        start = unreachable ? (*found / kBankSize + 1) * kBankSize : *found;
    }
}

} // namespace orv::rom
