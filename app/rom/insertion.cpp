#include "insertion.h"

#include "binary_file.h"
#include "codec_library.h"
#include "game_text.h"
#include "number_text.h"
#include "rom_file.h"
#include "rom_layout.h"

namespace orv::rom {

namespace {

// Why the size byte stays as it is.
PlanNote sizeByteSkipped(const std::string& german, const std::string& english)
{
    return {"Die Größenangabe des Bildes wurde nicht geschrieben: " + german,
            "The size byte of the picture was not written: " + english};
}

struct Slot {
    bool trainer;
    int number; // trainer t, or Pokemon n (201 for every Unown form)
    int unownIndex;
    bool back;
    bool shiny;
};

std::expected<Slot, RomError> checkedSlot(const InsertRequest& r)
{
    if (r.trainer) {
        if (r.trainerNumber < 1 || r.trainerNumber > kMaxTrainer)
            return std::unexpected(OutOfRange(NumberField::TrainerNumber, r.trainerNumber, 1, kMaxTrainer));
        return Slot{true, static_cast<int>(r.trainerNumber), 1, false, false};
    }
    const int64_t n = r.unown ? kUnownNumber : r.pokemonNumber;
    if (n < 1 || n > kMaxPokemon)
        return std::unexpected(OutOfRange(NumberField::PokemonNumber, n, 1, kMaxPokemon));
    // The page's spin allows more, but the Unown table has 26 entries.
    if (n == kUnownNumber && (r.unownIndex < 1 || r.unownIndex > kMaxUnownIndex))
        return std::unexpected(OutOfRange(NumberField::UnownIndex, r.unownIndex, 1, kMaxUnownIndex));
    return Slot{false, static_cast<int>(n), static_cast<int>(r.unownIndex), r.back, r.shiny};
}

// Zeros over the picture the slot points at now; it must be a complete stream.
std::expected<BytePatch, RomError> zeroOldPicture(const RomFile& rom, int64_t pointerLocation)
{
    auto old = ReadPicturePointer(rom, pointerLocation);
    if (!old)
        return std::unexpected(old.error());
    auto lengths = codec::measureFile(rom.descriptor(), *old);
    if (!lengths && lengths.error() == codec::Error::LibraryMissing)
        return std::unexpected(CodecMissing(codec::loadProblem()));
    if (!lengths || !rom.holds(*old, lengths->compressed))
        return std::unexpected(
            RomError{RomError::Kind::NoPicture,
                     "Das alte Bild an Offset " + HexText(*old) +
                         " kann nicht gelöscht werden, weil dort keine vollständigen Bilddaten liegen. "
                         "Es wurde nichts geschrieben; ohne \"Delete Original Picture\" ist das "
                         "Einfügen möglich.",
                     0,
                     "The old picture at offset " + HexText(*old) +
                         " cannot be deleted because there is no complete picture data there. Nothing was "
                         "written; without \"Delete Original Picture\" the picture can be inserted."});
    return BytePatch{PatchKind::ZeroOldPicture, *old,
                     std::vector<uint8_t>(static_cast<size_t>(lengths->compressed), 0)};
}

// The size byte, or a note why it stays as it is.
std::expected<std::optional<BytePatch>, RomError>
sizeBytePatch(const RomFile& rom, const InsertRequest& r, int number, std::vector<PlanNote>& notes)
{
    const auto value = FrontPicSizeByte(r.width, r.height);
    if (!value) {
        const std::string tiles = std::to_string(r.width / 8) + " x " + std::to_string(r.height / 8);
        notes.push_back(sizeByteSkipped(
            "Das Bild passt mit " + tiles + " Kacheln nicht in die Größenangabe (1 bis 9 Kacheln je Richtung).",
            "the picture with " + tiles + " tiles does not fit the size byte (1 to 9 tiles each way)."));
        return std::nullopt;
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
                                        "the record at offset " + HexText(record) + " does not belong to Pokemon " +
                                            std::to_string(number) + " (found: " + std::to_string(species) + ")."));
        return std::nullopt;
    }
    return BytePatch{PatchKind::SizeByte, location, {*value}};
}

// Every patch of a slot replacement, the data included, in writing order.
std::expected<std::vector<BytePatch>, RomError> planSlot(const RomFile& rom, const InsertRequest& r,
                                                         BytePatch data, std::vector<PlanNote>& notes)
{
    const int64_t dataOffset = data.offset;
    auto slot = checkedSlot(r);
    if (!slot)
        return std::unexpected(slot.error());
    if (!PicturePointerReachable(dataOffset))
        return std::unexpected(RomError{
            RomError::Kind::OutOfRange,
            "Der Offset " + HexText(dataOffset) +
                " kann von keinem Bildzeiger erreicht werden (ab &H400000 und in den Bänken &H13 "
                "und &H14 nicht möglich). Bitte einen anderen Offset wählen.",
            0,
            "Offset " + HexText(dataOffset) +
                " cannot be reached by any picture pointer (not possible from &H400000 on and in the banks &H13 "
                "and &H14). Please choose another offset."});
    const int64_t pointerLocation =
        PicturePointerLocation(slot->trainer, slot->number, slot->unownIndex, slot->back);
    if (!rom.holds(pointerLocation, 3))
        return std::unexpected(
            TooShort(rom.path(), RomPart::PointerTable, pointerLocation + 3, rom.size()));
    const int64_t paletteLocation = PaletteLocation(slot->trainer, slot->number, slot->shiny);
    if (!rom.holds(paletteLocation, 4))
        return std::unexpected(TooShort(rom.path(), RomPart::Palette, paletteLocation + 4, rom.size()));

    std::vector<BytePatch> patches;
    if (r.deleteOriginal) {
        auto zeros = zeroOldPicture(rom, pointerLocation);
        if (!zeros)
            return std::unexpected(zeros.error());
        patches.push_back(std::move(*zeros));
    }
    patches.push_back(std::move(data));
    patches.push_back(WritePaletteWords(paletteLocation, r.colour1, r.colour2));
    if (r.changeName && !slot->trainer) {
        if (r.nameLength < 1 || r.nameLength > kMaxNameLength)
            return std::unexpected(OutOfRange(NumberField::NameLength, r.nameLength, 1, kMaxNameLength));
        const int length = static_cast<int>(r.nameLength);
        auto bytes = NameFieldBytes(r.newName, length);
        if (!bytes)
            return std::unexpected(bytes.error());
        auto location = PokemonNameLocation(rom, slot->number, length);
        if (!location)
            return std::unexpected(location.error());
        patches.push_back({PatchKind::Name, *location, std::move(*bytes)});
    }
    patches.push_back(*WritePicturePointer(pointerLocation, dataOffset));
    if (!slot->trainer && !slot->back) {
        auto size = sizeBytePatch(rom, r, slot->number, notes);
        if (!size)
            return std::unexpected(size.error());
        if (*size)
            patches.push_back(std::move(**size));
    }
    return patches;
}

} // namespace

std::expected<InsertionPlan, RomError> PlanInsertion(const InsertRequest& r)
{
    auto rom = RomFile::open(r.romPath);
    if (!rom)
        return std::unexpected(rom.error().kind == RomError::Kind::OpenFailed
                                   ? InsertOpenFailed(rom.error().systemCode)
                                   : rom.error());
    const auto n = static_cast<int64_t>(r.encoded.size());
    if (n == 0)
        return std::unexpected(
            RomError{RomError::Kind::NoPicture, "Es liegen keine Bilddaten zum Schreiben vor.", 0,
                     "There is no picture data to write."});
    if (rom->size() < n + 1)
        return std::unexpected(TooShort(rom->path(), RomPart::PictureData, n + 1, rom->size()));

    InsertionPlan plan;
    plan.fileSize = rom->size();
    plan.dataOffset = parseNumber(r.offsetText);
    const int64_t maxOffset = rom->size() - n - 1;
    if (plan.dataOffset < 0 || plan.dataOffset > maxOffset)
        return std::unexpected(OutOfRange(NumberField::Offset, plan.dataOffset, 0, maxOffset));
    BytePatch data{PatchKind::PictureData, plan.dataOffset, r.encoded};
    if (!r.replaceSlot) {
        plan.patches.push_back(std::move(data));
        return plan;
    }
    auto patches = planSlot(*rom, r, std::move(data), plan.notes);
    if (!patches)
        return std::unexpected(patches.error());
    plan.patches = std::move(*patches);
    return plan;
}

std::expected<void, RomError> ApplyInsertion(const std::filesystem::path& path,
                                             const InsertionPlan& plan)
{
    auto file = BinaryFile::open(path, BinaryFile::Mode::ReadWrite);
    if (!file)
        return std::unexpected(InsertOpenFailed(file.error().code));
    auto size = file->size();
    bool unchanged = size && *size == plan.fileSize;
    for (const auto& patch : plan.patches)
        unchanged = unchanged && patch.offset >= 0 && patch.end() <= plan.fileSize;
    const std::string quoted = "\"" + path.string() + "\"";
    if (!unchanged)
        return std::unexpected(
            RomError{RomError::Kind::FileChanged,
                     "Die Datei " + quoted + " hat sich seit der Prüfung verändert. Es wurde nichts geschrieben.", 0,
                     "The file " + quoted + " has changed since it was checked. Nothing was written."});
    auto failed = [&](int code) {
        const std::string number = std::to_string(code);
        return std::unexpected(RomError{
            RomError::Kind::WriteFailed,
            "Beim Schreiben in die Datei " + quoted + " ist ein Fehler aufgetreten (Systemfehler " + number +
                "). Die Datei ist möglicherweise nur teilweise geschrieben.",
            code,
            "An error occurred while writing to the file " + quoted + " (system error " + number +
                "). The file may be only partly written."});
    };
    for (const auto& patch : plan.patches) {
        if (auto written = file->writeAt(patch.offset, patch.bytes); !written)
            return failed(written.error().code);
    }
    if (auto closed = file->close(); !closed)
        return failed(closed.error().code);
    return {};
}

} // namespace orv::rom
