#include "insertion.h"

#include <algorithm>

#include "codec_library.h"
#include "free_space.h"
#include "game_text.h"
#include "number_text.h"
#include "picture_shape.h"
#include "rom_layout.h"
#include "rom_map.h"

namespace orv::rom {

namespace {

// Why the size byte stays as it is.
PlanNote sizeByteSkipped(const std::string& german, const std::string& english)
{
    return {"Die Größenangabe des Bildes wurde nicht geschrieben: " + german,
            "The size byte of the picture was not written: " + english};
}

std::unexpected<RomError> refusal(RomError::Kind kind, std::string german, std::string english)
{
    return std::unexpected(RomError{kind, std::move(german), 0, std::move(english)});
}

std::unexpected<RomError> badPicture(const std::string& german, const std::string& english)
{
    return refusal(RomError::Kind::BadPicture, german + " Es wurde nichts geschrieben.",
                   english + " Nothing was written.");
}

std::expected<PictureSlot, RomError> checkedSlot(const InsertRequest& r)
{
    using K = PictureSlot::Kind;
    if (r.trainer) {
        if (r.trainerNumber < 1 || r.trainerNumber > kMaxTrainer)
            return std::unexpected(OutOfRange(NumberField::TrainerNumber, r.trainerNumber, 1, kMaxTrainer));
        return PictureSlot{K::Trainer, static_cast<int>(r.trainerNumber), false};
    }
    const int64_t n = r.unown ? kUnownNumber : r.pokemonNumber;
    if (n < 1 || n > kMaxPokemon)
        return std::unexpected(OutOfRange(NumberField::PokemonNumber, n, 1, kMaxPokemon));
    if (n != kUnownNumber)
        return PictureSlot{K::Pokemon, static_cast<int>(n), r.back};
    // The page's spin allows more, but the Unown table has 26 entries.
    if (r.unownIndex < 1 || r.unownIndex > kMaxUnownIndex)
        return std::unexpected(OutOfRange(NumberField::UnownIndex, r.unownIndex, 1, kMaxUnownIndex));
    return PictureSlot{K::Unown, static_cast<int>(r.unownIndex), r.back};
}

// The Pokemon number whose palette, size byte and name go with the slot.
int paletteNumber(const PictureSlot& slot)
{
    return slot.kind == PictureSlot::Kind::Unown ? kUnownNumber : slot.number;
}

SlotKind kindOf(const PictureSlot& slot)
{
    switch (slot.kind) {
    case PictureSlot::Kind::Trainer: return SlotKind::Trainer;
    case PictureSlot::Kind::Unown: return slot.back ? SlotKind::UnownBack : SlotKind::UnownFront;
    case PictureSlot::Kind::Pokemon: break;
    }
    return slot.back ? SlotKind::PokemonBack : SlotKind::PokemonFront;
}

// "als Frontpic eines Pokemon" / "as a Pokemon front picture"
std::pair<std::string, std::string> slotWords(SlotKind kind)
{
    switch (kind) {
    case SlotKind::PokemonFront: return {"als Frontpic eines Pokemon", "as a Pokemon front picture"};
    case SlotKind::PokemonBack: return {"als Backpic eines Pokemon", "as a Pokemon back picture"};
    case SlotKind::UnownFront: return {"als Frontpic eines Unown", "as an Unown front picture"};
    case SlotKind::UnownBack: return {"als Backpic eines Unown", "as an Unown back picture"};
    case SlotKind::Trainer: break;
    }
    return {"als Trainerbild", "as a trainer picture"};
}

std::string tilesText(const InsertRequest& r)
{
    return std::to_string(r.width / 8) + " x " + std::to_string(r.height / 8);
}

// A front picture the size byte cannot describe.
std::unexpected<RomError> tooManyTiles(const InsertRequest& r)
{
    return badPicture("Das Bild passt mit " + tilesText(r) +
                          " Kacheln nicht in die Größenangabe (1 bis 9 Kacheln je Richtung).",
                      "The picture with " + tilesText(r) +
                          " tiles does not fit the size byte (1 to 9 tiles each way).");
}

// The size byte of Pokemon 201, which all Unown fronts share.
std::expected<uint8_t, RomError> unownSizeByte(const RomFile& rom)
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
        return refusal(RomError::Kind::BadShape,
                       "Der Datensatz an Offset " + HexText(record) + " gehört nicht zu Pokemon " +
                           std::to_string(kUnownNumber) + " (gefunden: " + std::to_string(species) +
                           "), daher ist unbekannt, in welcher Größe das Spiel die Frontpics der Unown zeichnet.",
                       "The record at offset " + HexEnglish(record) + " does not belong to Pokemon " +
                           std::to_string(kUnownNumber) + " (found: " + std::to_string(species) +
                           "), so the size in which the game draws the Unown front pictures is unknown.");
    return size;
}

// Only shapes the game draws whole go into a slot, unless the request says
// the ROM's code draws others.
std::expected<void, RomError> checkShape(const RomFile& rom, const InsertRequest& r, const PictureSlot& slot)
{
    const SlotKind kind = kindOf(slot);
    const bool front = kind == SlotKind::PokemonFront || kind == SlotKind::UnownFront;
    if (r.anyShape) {
        if (front && !FrontPicSizeByte(r.width, r.height))
            return tooManyTiles(r);
        return {};
    }
    uint8_t unownByte = 0;
    if (kind == SlotKind::UnownFront && !r.allUnownFronts) {
        auto byte = unownSizeByte(rom);
        if (!byte)
            return std::unexpected(byte.error());
        unownByte = *byte;
    }
    if (GameShows(kind, {r.width, r.height}, unownByte, r.allUnownFronts))
        return {};
    const auto shown = ShownShapes(kind, unownByte, r.allUnownFronts);
    const auto [german, english] = slotWords(kind);
    const std::string size = std::to_string(r.width) + " x " + std::to_string(r.height);
    const bool shared = kind == SlotKind::UnownFront && !r.allUnownFronts;
    return refusal(RomError::Kind::BadShape,
                   "Das Bild ist " + size + " Pixel groß; " + german + " zeichnet das Spiel nur Bilder von " +
                       ShapeList(shown, false) + " Pixeln richtig" +
                       (shared ? ", der Größe, die die gemeinsame Größenangabe aller 26 Unown jetzt hält." : "."),
                   "The picture is " + size + " pixels; " + english + " the game draws only pictures of " +
                       ShapeList(shown, true) + " pixels correctly" +
                       (shared ? ", the size that the size byte all 26 Unown share holds now." : "."));
}

const SlotStream* streamOf(const std::vector<SlotStream>& streams, const PictureSlot& slot)
{
    const auto found = std::ranges::find(streams, slot, &SlotStream::slot);
    return found == streams.end() ? nullptr : &*found;
}

std::string range(int64_t begin, int64_t end, bool english)
{
    const auto hex = english ? HexEnglish : HexText;
    return hex(begin) + (english ? " to " : " bis ") + hex(end - 1);
}

// What the picture data may not overwrite, and the unknown non-zero bytes it
// would. The replaced slot's own old picture is free to take.
std::expected<Overwrite, RomError> checkPlacement(const RomFile& rom, const InsertRequest& r,
                                                  const std::vector<SlotStream>& streams, const BytePatch& data,
                                                  const std::optional<PictureSlot>& replaced)
{
    const int64_t begin = data.offset, end = data.end();
    const std::string what = std::to_string(data.bytes.size()) + " Bytes ab " + HexText(begin);
    const std::string whatEnglish = std::to_string(data.bytes.size()) + " bytes from " + HexEnglish(begin);
    const auto inTheWay = [&](const std::string& german, const std::string& english, int64_t from, int64_t to) {
        return refusal(RomError::Kind::InTheWay,
                       "Die Bilddaten (" + what + ") würden " + german + " (" + range(from, to, false) +
                           ") überschreiben. Es wurde nichts geschrieben.",
                       "The picture data (" + whatEnglish + ") would overwrite " + english + " (" +
                           range(from, to, true) + "). Nothing was written.");
    };
    const int nameLength = static_cast<int>(std::clamp<int64_t>(r.nameLength, 1, kMaxNameLength));
    for (const KnownRegion& region : KnownRegions(rom, nameLength))
        if (region.begin < end && begin < region.end)
            return inTheWay(region.german, region.english, region.begin, region.end);

    const auto bytes = rom.bytes();
    const auto changes = [&](int64_t i) { return bytes[i] != data.bytes[static_cast<size_t>(i - begin)]; };
    for (const SlotStream& other : streams) {
        if (!other.complete() || (replaced && other.slot == *replaced))
            continue;
        for (int64_t i = std::max(begin, other.offset); i < std::min(end, other.end()); ++i)
            if (changes(i))
                return inTheWay(other.slot.german(), other.slot.english(), other.offset, other.end());
    }

    const SlotStream* own = replaced ? streamOf(streams, *replaced) : nullptr;
    const auto ownPicture = [&](int64_t i) { return own && own->complete() && i >= own->offset && i < own->end(); };
    Overwrite overwrite;
    for (int64_t i = begin; i < end; ++i)
        if (bytes[i] != 0 && changes(i) && !ownPicture(i) && overwrite.bytes++ == 0)
            overwrite.first = i;
    return overwrite;
}

// Zeros over the slot's old picture, or a note why it stays: its bytes must
// be a complete stream, and no other slot's picture nor a table may share them.
std::expected<std::optional<BytePatch>, RomError> zeroOldPicture(const RomFile& rom, const InsertRequest& r,
                                                                 const std::vector<SlotStream>& streams,
                                                                 const PictureSlot& slot,
                                                                 std::vector<PlanNote>& notes)
{
    const SlotStream* old = streamOf(streams, slot);
    if (!old || !old->complete() || !rom.holds(old->offset, old->lengths->compressed)) {
        const int64_t at = old ? old->offset : 0;
        return refusal(RomError::Kind::NoPicture,
                       "Das alte Bild an Offset " + HexText(at) +
                           " kann nicht gelöscht werden, weil dort keine vollständigen Bilddaten liegen. "
                           "Es wurde nichts geschrieben; ohne \"Delete Original Picture\" ist das Einfügen möglich.",
                       "The old picture at offset " + HexEnglish(at) +
                           " cannot be deleted because there is no complete picture data there. Nothing was "
                           "written; without \"Delete Original Picture\" the picture can be inserted.");
    }
    const auto keep = [&](const std::string& german, const std::string& english) {
        notes.push_back({"Das alte Bild an Offset " + HexText(old->offset) +
                             " wurde nicht gelöscht, weil das Löschen auch " + german + " treffen würde.",
                         "The old picture at offset " + HexEnglish(old->offset) +
                             " was left in place, because deleting it would also hit " + english + "."});
        return std::optional<BytePatch>();
    };
    for (const SlotStream& other : streams)
        if (other.complete() && other.slot != slot && other.offset < old->end() && old->offset < other.end())
            return keep(other.slot.german(), other.slot.english());
    const int nameLength = static_cast<int>(std::clamp<int64_t>(r.nameLength, 1, kMaxNameLength));
    for (const KnownRegion& region : KnownRegions(rom, nameLength))
        if (region.begin < old->end() && old->offset < region.end)
            return keep(region.german, region.english);
    return BytePatch{PatchKind::ZeroOldPicture, old->offset,
                     std::vector<uint8_t>(static_cast<size_t>(old->lengths->compressed), 0)};
}

// The size byte, or a note why it stays as it is.
std::expected<std::optional<BytePatch>, RomError> sizeBytePatch(const RomFile& rom, const InsertRequest& r,
                                                                int number, int32_t tileBytes,
                                                                std::vector<PlanNote>& notes)
{
    const auto value = FrontPicSizeByte(r.width, r.height);
    if (!value)
        return tooManyTiles(r);
    // The game unpacks as many tiles as the size byte says.
    if (int64_t{r.width / 8} * (r.height / 8) * 16 != tileBytes) {
        const std::string size = std::to_string(r.width) + " x " + std::to_string(r.height);
        const std::string count = std::to_string(tileBytes / 16);
        return badPicture("Die Bildgröße " + size + " passt nicht zu den Bilddaten (" + count + " Kacheln).",
                          "The picture size " + size + " does not match the picture data (" + count + " tiles).");
    }
    auto language = DetectRomLanguage(rom);
    if (!language) {
        if (language.error().kind != RomError::Kind::LanguageUnknown)
            return std::unexpected(language.error());
        notes.push_back(sizeByteSkipped("Die Sprache des Roms konnte nicht erkannt werden.",
                                        "the language of the ROM could not be recognised."));
        return std::nullopt;
    }
    const int64_t location = SizeByteLocation(*language, number);
    const int64_t record = BaseDataRecordLocation(*language, number);
    uint8_t species = 0;
    if (!rom.holds(location, 1))
        return std::unexpected(TooShort(rom.path(), RomPart::SizeByte, location + 1, rom.size()));
    if (auto read = rom.read(record, {&species, 1}, RomPart::SizeByte); !read)
        return std::unexpected(read.error());
    if (species != number) {
        notes.push_back(sizeByteSkipped("Der Datensatz an Offset " + HexText(record) + " gehört nicht zu Pokemon " +
                                            std::to_string(number) + " (gefunden: " + std::to_string(species) + ").",
                                        "the record at offset " + HexEnglish(record) +
                                            " does not belong to Pokemon " + std::to_string(number) +
                                            " (found: " + std::to_string(species) + ")."));
        return std::nullopt;
    }
    return BytePatch{PatchKind::SizeByte, location, {*value}};
}

// A slot's picture must lie where its pointer can lead and the game can read
// it whole: outside bank 0 (a pointer to bank 0 maps bank 1), outside banks
// 0x13 and 0x14, below 0x400000, and within one bank.
std::expected<void, RomError> checkReachable(int64_t offset, int64_t n)
{
    if (offset < kBankSize || !PicturePointerReachable(offset))
        return refusal(RomError::Kind::Unreachable,
                       "Der Offset " + HexText(offset) +
                           " kann von keinem Bildzeiger erreicht werden (in Bank 0, in den Bänken &H13 und &H14 "
                           "und ab &H400000 nicht möglich). Bitte einen anderen Offset wählen.",
                       "Offset " + HexEnglish(offset) +
                           " cannot be reached by any picture pointer (not possible in bank 0, in the banks 0x13 "
                           "and 0x14 and from 0x400000 on). Please choose another offset.");
    const int64_t bank = offset / kBankSize;
    if ((offset + n - 1) / kBankSize != bank)
        return refusal(RomError::Kind::Unreachable,
                       "Die Bilddaten (" + std::to_string(n) + " Bytes ab " + HexText(offset) +
                           ") reichen über das Ende der Bank " + HexText(bank) +
                           " hinaus; das Spiel liest ein Bild nur innerhalb einer Bank. Bitte einen anderen Offset "
                           "wählen.",
                       "The picture data (" + std::to_string(n) + " bytes from " + HexEnglish(offset) +
                           ") runs past the end of bank " + HexEnglish(bank) +
                           "; the game reads a picture only within one bank. Please choose another offset.");
    return {};
}

// Every patch of a slot replacement, the data included, in writing order.
std::expected<std::vector<BytePatch>, RomError> planSlot(const RomFile& rom, const InsertRequest& r,
                                                         const PictureSlot& slot,
                                                         const std::vector<SlotStream>& streams, BytePatch data,
                                                         std::vector<PlanNote>& notes)
{
    const int64_t dataOffset = data.offset;
    const auto n = static_cast<int64_t>(data.bytes.size());
    if (auto reachable = checkReachable(dataOffset, n); !reachable)
        return std::unexpected(reachable.error());
    auto lengths = codec::measure(data.bytes, kMaxTileDataBytes);
    if (!lengths && lengths.error() == codec::Error::LibraryMissing)
        return std::unexpected(CodecMissing(codec::loadProblem()));
    if (!lengths || lengths->compressed != n || lengths->decompressed < 16)
        return badPicture("Die Bilddaten sind kein vollständiger Datenstrom, den das Spiel lesen kann.",
                          "The picture data is not a complete stream the game can read.");

    const int number = paletteNumber(slot);
    const bool trainer = slot.kind == PictureSlot::Kind::Trainer;
    const int64_t pointerLocation = slot.pointerLocation();
    if (!rom.holds(pointerLocation, 3))
        return std::unexpected(TooShort(rom.path(), RomPart::PointerTable, pointerLocation + 3, rom.size()));
    const int64_t paletteLocation = PaletteLocation(trainer, number, r.shiny && !trainer);
    if (!rom.holds(paletteLocation, 4))
        return std::unexpected(TooShort(rom.path(), RomPart::Palette, paletteLocation + 4, rom.size()));

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
    if (r.changeName && !trainer) {
        if (r.newName.empty())
            return refusal(RomError::Kind::BadName,
                           "Der neue Name ist leer. Ein Pokemon ohne Namen wird nicht geschrieben; bitte einen "
                           "Namen eingeben.",
                           "The new name is empty. A Pokemon is not left without a name; please give one.");
        if (r.nameLength < 1 || r.nameLength > kMaxNameLength)
            return std::unexpected(OutOfRange(NumberField::NameLength, r.nameLength, 1, kMaxNameLength));
        const int length = static_cast<int>(r.nameLength);
        auto bytes = NameFieldBytes(r.newName, length);
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

std::expected<InsertionPlan, RomError> PlanInsertion(const RomFile& rom, const InsertRequest& r)
{
    const auto n = static_cast<int64_t>(r.encoded.size());
    if (n == 0)
        return std::unexpected(
            RomError{RomError::Kind::NoPicture, "Es liegen keine Bilddaten zum Schreiben vor.", 0,
                     "There is no picture data to write."});
    if (rom.size() < n + 1)
        return std::unexpected(TooShort(rom.path(), RomPart::PictureData, n + 1, rom.size()));

    InsertionPlan plan;
    plan.fileSize = rom.size();
    plan.dataOffset = parseNumber(r.offsetText);
    const int64_t maxOffset = rom.size() - n - 1;
    if (plan.dataOffset < 0 || plan.dataOffset > maxOffset)
        return std::unexpected(OutOfRange(NumberField::Offset, plan.dataOffset, 0, maxOffset));
    std::optional<PictureSlot> slot;
    if (r.replaceSlot) {
        auto checked = checkedSlot(r);
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

std::expected<void, RomError> CheckSlotShape(const RomFile& rom, const InsertRequest& r)
{
    if (!r.replaceSlot)
        return {};
    auto slot = checkedSlot(r);
    if (!slot)
        return std::unexpected(slot.error());
    return checkShape(rom, r, *slot);
}

std::expected<std::optional<BytePatch>, RomError> OldPictureZeros(const RomFile& rom, const InsertRequest& r,
                                                                  std::vector<PlanNote>& notes)
{
    auto slot = checkedSlot(r);
    if (!slot)
        return std::unexpected(slot.error());
    auto streams = ReadSlotStreams(rom);
    if (!streams)
        return std::unexpected(streams.error());
    return zeroOldPicture(rom, r, *streams, *slot, notes);
}

std::expected<InsertionPlan, RomError> PlanInsertionAtFreePlace(const RomFile& rom, InsertRequest request,
                                                                int64_t from)
{
    const auto n = static_cast<int32_t>(std::min<size_t>(request.encoded.size(), INT32_MAX));
    for (int64_t start = from;;) {
        const auto found = SearchNextOffset(rom.bytes(), start, n, rom.size() - n - 1);
        if (!found)
            return std::unexpected(RomError{
                RomError::Kind::NoRoom,
                "Kein freier Platz für " + std::to_string(n) + " Bytes hinter Offset " + HexText(from) +
                    " gefunden. Es wurde nichts geschrieben.",
                0,
                "No free place for " + std::to_string(n) + " bytes after offset " + HexEnglish(from) +
                    " found. Nothing was written."});
        request.offsetText = std::to_string(*found);
        auto plan = PlanInsertion(rom, request);
        if (plan || (plan.error().kind != RomError::Kind::Unreachable &&
                     plan.error().kind != RomError::Kind::InTheWay))
            return plan;
        // Zeros the search takes for free may lie where no pointer leads
        // (banks 0x13 and 0x14: go on in the next bank) or belong to a table
        // or a picture.
        start = plan.error().kind == RomError::Kind::Unreachable ? (*found / kBankSize + 1) * kBankSize : *found;
    }
}

} // namespace orv::rom
