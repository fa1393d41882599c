#include "batch_plan.h"

#include <algorithm>
#include <map>

#include "extraction.h"
#include "free_space.h"
#include "insertion.h"
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

// Whether the slot holds exactly this picture now: its tile data and palette pair.
bool unchanged(const RomImage& rom, const BatchItem& item)
{
    auto now = ExtractFromRom(rom, {.slot = item.slot});
    return now && now->tileData == item.tileData && SamePalettePair(now->palette.pair, pairOf(item));
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
                                               bool anyShape)
{
    BatchPlan plan;
    const auto refuse = [&](std::optional<size_t> item, Error error) {
        return std::unexpected(BatchError{item, std::move(error), {}});
    };
    // Two items for one slot (Pokemon 201 is the first Unown form) must agree.
    std::map<int64_t, size_t> bySlot;
    std::vector<size_t> changed;
    for (size_t i = 0; i < items.size(); ++i) {
        const BatchItem& item = items[i];
        if (unchanged(rom, item)) {
            plan.steps.push_back({.item = i, .outcome = BatchOutcome::Unchanged});
            continue;
        }
        auto [at, fresh] = bySlot.try_emplace(PointerLocation(item.slot), i);
        if (!fresh) {
            const BatchItem& first = items[at->second];
            if (first.tileData != item.tileData || !SamePalettePair(pairOf(first), pairOf(item)))
                return refuse(std::nullopt, {.kind = ErrorKind::SlotConflict, .text = first.name, .other = item.name});
            plan.steps.push_back({.item = i, .outcome = BatchOutcome::SameAs, .sameAs = at->second});
            continue;
        }
        changed.push_back(i);
    }

    // Every picture in a shape its slot draws whole, before anything is planned.
    const bool unownTogether = allUnownFrontsTogether(items, changed);
    BatchError misshapen;
    for (size_t i : changed)
        if (auto shape = CheckSlotShape(rom, requestFor(items[i], anyShape, unownTogether)); !shape)
            misshapen.misshapen.emplace_back(i, shape.error());
    if (!misshapen.misshapen.empty()) {
        misshapen.item = misshapen.misshapen.front().first;
        misshapen.error = misshapen.misshapen.front().second;
        return std::unexpected(std::move(misshapen));
    }

    // One picture after the other on the ROM as the batch leaves it.
    RomImage work = rom;
    std::map<int64_t, size_t> palettes; // palette location -> the item that wrote it
    for (size_t i : changed) {
        const BatchItem& item = items[i];
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
            if (patch.kind == PatchKind::Palette) {
                auto [at, fresh] = palettes.try_emplace(patch.offset, i);
                if (!fresh && !SamePalettePair(pairOf(items[at->second]), pairOf(item)))
                    plan.notes.push_back(
                        {i, {.kind = NoteKind::PaletteShared, .text = item.name, .other = items[at->second].name}});
            }
        work = withPatches(work, placed->patches);
        plan.patches.insert(plan.patches.end(), placed->patches.begin(), placed->patches.end());
        plan.steps.push_back(step);
    }
    plan.changed = changed.size();
    plan.freeBefore = freeBytes(rom);
    plan.freeAfter = freeBytes(work);
    return plan;
}

} // namespace orv::rom
