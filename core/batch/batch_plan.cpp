#include "batch_plan.h"

#include <algorithm>
#include <map>

#include "extraction.h"
#include "free_space.h"
#include "insertion.h"
#include "palette_file.h"
#include "picture_shape.h"
#include "rom_layout.h"

namespace orv::rom {

namespace {

RomImage withPatches(const RomImage& rom, const std::vector<BytePatch>& patches)
{
    return RomImage(ApplyPatches(rom, patches).value());
}

int64_t freeBytes(const RomImage& rom)
{
    int64_t total = 0;
    for (const FreeRun& run : FreeRuns(rom.bytes(), kCountedRunBytes))
        total += run.length;
    return total;
}

FreeRun largestRun(const RomImage& rom)
{
    FreeRun largest;
    for (const FreeRun& run : FreeRuns(rom.bytes(), 1))
        if (run.length > largest.length)
            largest = run;
    return largest;
}

PalettePair pairOf(const BatchItem& item) { return MakePalettePair(item.colour1, item.colour2); }

enum class Holds { Nothing, Tiles, Everything };

// What of the item the slot holds now: its tile data, and its palette pair too.
Holds held(const RomImage& rom, const BatchItem& item)
{
    if (item.paletteOnly) {
        const auto now = SlotPalettePair(rom, item.slot);
        return now && SamePalettePair(*now, pairOf(item)) ? Holds::Everything : Holds::Nothing;
    }
    auto now = ExtractFromRom(rom, {.slot = item.slot});
    if (!now || now->tileData != item.tileData)
        return Holds::Nothing;
    return SamePalettePair(now->palette.pair, pairOf(item)) ? Holds::Everything : Holds::Tiles;
}

// The first two items that give one palette different pairs.
std::optional<Error> paletteConflict(const std::vector<BatchItem>& items)
{
    std::map<int64_t, size_t> first; // palette location -> the first item for it
    for (size_t i = 0; i < items.size(); ++i) {
        auto slot = CheckedSlot(items[i].slot);
        if (!slot)
            continue; // refused with the item itself
        auto [at, fresh] = first.try_emplace(PaletteLocation(*slot), i);
        const BatchItem& a = items[at->second];
        if (!fresh && !SamePalettePair(pairOf(a), pairOf(items[i])))
            return Error{.kind = ErrorKind::PaletteConflict,
                         .low = PairNumber(pairOf(a)),
                         .high = PairNumber(pairOf(items[i])),
                         .text = a.name,
                         .other = items[i].name};
    }
    return std::nullopt;
}

// All 26 Unown fronts among the changed items, in one shape: the size byte
// they share may then change with them. (A letter left as it is keeps the
// old shape.)
bool allUnownFrontsTogether(const std::vector<BatchItem>& items, const std::vector<size_t>& changed)
{
    std::map<int64_t, std::pair<int, int>> fronts; // Unown form -> width, height
    for (size_t i : changed)
        if (const Slot entry = TableEntry(items[i].slot); KindOf(entry) == SlotKind::UnownFront)
            fronts.emplace(entry.number, std::pair{items[i].width, items[i].height});
    if (fronts.size() != static_cast<size_t>(kMaxUnownIndex))
        return false;
    return std::ranges::all_of(fronts, [&](const auto& front) { return front.second == fronts.begin()->second; });
}

InsertRequest requestFor(const BatchItem& item, bool anyShape, bool allUnownFronts)
{
    return {.encoded = item.stream,
            .slot = item.slot,
            .deleteOriginal = true,
            .colour1 = item.colour1,
            .colour2 = item.colour2,
            .width = item.width,
            .height = item.height,
            .anyShape = anyShape,
            .allUnownFronts = allUnownFronts};
}

} // namespace

BatchItem PaletteItem(std::string name, const Slot& slot, const PalettePair& pair)
{
    BatchItem item{.name = std::move(name), .slot = slot, .paletteOnly = true};
    item.colour1 = PackColour(static_cast<GbcColor>(pair[0] | pair[1] << 8));
    item.colour2 = PackColour(static_cast<GbcColor>(pair[2] | pair[3] << 8));
    return item;
}

int64_t PairNumber(const PalettePair& pair)
{
    return int64_t{pair[0]} << 24 | int64_t{pair[1]} << 16 | int64_t{pair[2]} << 8 | pair[3];
}

std::expected<BytePatch, Error> PlanPaletteChange(const RomImage& rom, const Slot& slot, const PalettePair& pair)
{
    auto checked = CheckedSlot(slot);
    if (!checked)
        return std::unexpected(checked.error());
    const int64_t location = PaletteLocation(*checked);
    if (!rom.holds(location, 4))
        return std::unexpected(TooShortError(RomPart::Palette, location + 4, rom.size()));
    return BytePatch{PatchKind::Palette, location, {pair.begin(), pair.end()}};
}

std::optional<PalettePair> SlotPalettePair(const RomImage& rom, const Slot& slot)
{
    const int64_t number = IsTrainer(slot) ? slot.number : PaletteNumber(slot);
    if (number < 1 || number > 255)
        return std::nullopt;
    auto palette = ReadPaletteWords(rom, PaletteLocation(IsTrainer(slot), static_cast<int>(number),
                                                         slot.shiny && !IsTrainer(slot)));
    return palette ? std::optional(palette->pair) : std::nullopt;
}

bool SamePalettePair(const PalettePair& a, const PalettePair& b)
{
    return a[0] == b[0] && (a[1] & 0x7F) == (b[1] & 0x7F) && a[2] == b[2] && (a[3] & 0x7F) == (b[3] & 0x7F);
}

std::expected<BatchPlan, BatchError> PlanBatch(const RomImage& rom, const std::vector<BatchItem>& items,
                                               BatchRules rules)
{
    BatchPlan plan;
    const auto refuse = [&](std::optional<size_t> item, Error error) {
        return std::unexpected(BatchError{item, std::move(error), {}});
    };
    if (rules.paletteConflictsRefused)
        if (auto conflict = paletteConflict(items))
            return refuse(std::nullopt, *conflict);
    // Two items for one slot (Pokemon 201 is the first Unown form) must agree.
    std::map<int64_t, size_t> bySlot;
    std::vector<size_t> changed, pictures; // pictures: the changed items whose tile data is written
    std::vector<bool> recolour(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const BatchItem& item = items[i];
        const Holds holds = held(rom, item);
        if (holds == Holds::Everything) {
            plan.steps.push_back({.item = i, .outcome = BatchOutcome::Unchanged});
            continue;
        }
        recolour[i] = holds == Holds::Tiles;
        if (!item.paletteOnly) {
            auto [at, fresh] = bySlot.try_emplace(PointerLocation(item.slot), i);
            if (!fresh) {
                const BatchItem& first = items[at->second];
                if (first.tileData != item.tileData || !SamePalettePair(pairOf(first), pairOf(item)))
                    return refuse(std::nullopt,
                                  {.kind = ErrorKind::SlotConflict, .text = first.name, .other = item.name});
                plan.steps.push_back({.item = i, .outcome = BatchOutcome::SameAs, .sameAs = at->second});
                continue;
            }
            if (!recolour[i])
                pictures.push_back(i);
        }
        changed.push_back(i);
    }

    // Every picture in a shape its slot draws whole, before anything is planned.
    const bool anyShape = rules.anyShape;
    const bool unownTogether = allUnownFrontsTogether(items, pictures);
    BatchError misshapen;
    for (size_t i : pictures)
        if (auto shape = CheckSlotShape(rom, requestFor(items[i], anyShape, unownTogether)); !shape)
            misshapen.misshapen.emplace_back(i, shape.error());
    if (!misshapen.misshapen.empty()) {
        misshapen.item = misshapen.misshapen.front().first;
        misshapen.error = misshapen.misshapen.front().second;
        return std::unexpected(std::move(misshapen));
    }

    RomImage work = rom;
    std::map<int64_t, size_t> palettes; // palette location -> the item that wrote it
    // A second item that gives a palette another pair is told of (when not refused).
    const auto notePalette = [&](size_t i, int64_t location) {
        auto [at, fresh] = palettes.try_emplace(location, i);
        if (!fresh && !SamePalettePair(pairOf(items[at->second]), pairOf(items[i])))
            plan.notes.push_back(
                {i, {.kind = NoteKind::PaletteShared, .text = items[i].name, .other = items[at->second].name}});
    };
    std::vector<BytePatch> recolours;
    // One item after the other on the ROM as the batch leaves it.
    for (size_t i : changed) {
        const BatchItem& item = items[i];
        if (item.paletteOnly || recolour[i]) {
            auto patch = PlanPaletteChange(work, item.slot, pairOf(item));
            if (!patch)
                return refuse(i, patch.error());
            plan.steps.push_back({.item = i,
                                  .outcome = item.paletteOnly ? BatchOutcome::PaletteSet : BatchOutcome::Recoloured,
                                  .offset = patch->offset});
            // The same pair written twice is written once.
            const auto before = palettes.find(patch->offset);
            if (before != palettes.end() && SamePalettePair(pairOf(items[before->second]), pairOf(item)))
                continue;
            notePalette(i, patch->offset);
            // Nothing planned later reads palettes: applied to the work copy at the end.
            recolours.push_back(*patch);
            plan.patches.push_back(std::move(*patch));
            continue;
        }
        InsertRequest r = requestFor(item, anyShape, unownTogether);
        const auto n = static_cast<int64_t>(r.encoded.size());

        std::vector<Note> zeroNotes;
        auto zeros = OldPictureZeros(work, r, zeroNotes);
        if (!zeros && zeros.error().kind != ErrorKind::OldPictureBroken)
            return refuse(i, zeros.error());
        const std::optional<BytePatch> old = zeros ? *zeros : std::nullopt;
        std::expected<InsertionPlan, Error> placed = std::unexpected(Error{});
        BatchStep step{.item = i, .bytes = n};
        if (old && n <= static_cast<int64_t>(old->bytes.size())) {
            r.offset = old->offset;
            placed = PlanInsertion(work, r);
            step.outcome = BatchOutcome::InPlace;
            step.oldBytes = static_cast<int64_t>(old->bytes.size());
        } else {
            // The old picture's bytes are free for the search as well.
            const RomImage freed = old ? withPatches(work, {*old}) : work;
            r.deleteOriginal = false;
            placed = PlanInsertionAtFreePlace(freed, r, 0);
            if (!placed && placed.error().kind == ErrorKind::NoRoom) {
                const FreeRun largest = largestRun(freed);
                return refuse(std::nullopt, {.kind = ErrorKind::BatchNoRoom,
                                             .offset = largest.offset,
                                             .value = n,
                                             .low = largest.length,
                                             .text = item.name});
            }
            if (placed && old)
                placed->patches.insert(placed->patches.begin(), *old);
            step.outcome = BatchOutcome::Moved;
            const auto from = ReadPicturePointer(work, PointerLocation(item.slot));
            step.fromOffset = from.value_or(0);
            step.from = !from                ? OldPlace::OutsideRom
                        : old                ? OldPlace::Zeroed
                        : zeroNotes.empty()  ? OldPlace::NoPicture
                                             : OldPlace::Shared;
            step.oldBytes = old ? static_cast<int64_t>(old->bytes.size()) : 0;
        }
        if (!placed)
            return refuse(i, placed.error());
        step.offset = placed->dataOffset;
        // A shared old picture left in place is told by the step.
        for (const Note& note : placed->notes)
            plan.notes.push_back({i, note});
        for (const BytePatch& patch : placed->patches)
            if (patch.kind == PatchKind::Palette)
                notePalette(i, patch.offset);
        work = withPatches(work, placed->patches);
        plan.patches.insert(plan.patches.end(), placed->patches.begin(), placed->patches.end());
        plan.steps.push_back(step);
    }
    plan.changed = changed.size();
    plan.freeBefore = freeBytes(rom);
    plan.freeAfter = freeBytes(recolours.empty() ? work : withPatches(work, recolours));
    return plan;
}

} // namespace orv::rom
