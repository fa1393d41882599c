// orvista-cli insert-all: every picture of a folder, named as extract-all
// names them, back into its slot in one commit.

#include <algorithm>
#include <cerrno>
#include <map>
#include <ostream>

#include "cli.h"
#include "cli_change.h"
#include "cli_coding.h"
#include "cli_commands.h"
#include "free_space.h"
#include "game_check.h"
#include "insertion.h"
#include "rom_change.h"
#include "rom_layout.h"
#include "target_check.h"

namespace orv::cli {

namespace {

// Extensions of the files the program reads as pictures or own files.
constexpr std::array<const char*, 9> kReadable{".png", ".bmp", ".dib", ".gif", ".ico", ".cur", ".bak", ".old", ".orv"};
// Free runs shorter than this are not counted as free bytes.
constexpr int64_t kCountedRun = 64;

std::string lower(std::string text)
{
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

struct Item {
    NamedSlot slot;
    std::filesystem::path file;
    CodedPicture coded;
    PalettePair pair{};
    int64_t pointerLocation = 0;
};

// What happened to one slot, for the listing.
struct Outcome {
    const Item* item;
    std::string what;
};

rom::RomFile withPatches(const rom::RomFile& rom, const std::vector<rom::BytePatch>& patches)
{
    return rom::RomFile::fromBytes(rom.path(), rom::ApplyPatches(rom, patches).value());
}

int64_t freeBytes(const rom::RomFile& rom)
{
    int64_t total = 0;
    for (const rom::FreeRun& run : rom::FreeRuns(rom.bytes(), kCountedRun))
        total += run.length;
    return total;
}

rom::FreeRun largestRun(const rom::RomFile& rom)
{
    rom::FreeRun largest;
    for (const rom::FreeRun& run : rom::FreeRuns(rom.bytes(), 1))
        if (run.length > largest.length)
            largest = run;
    return largest;
}

// All 26 Unown fronts among the changed pictures, in one shape: the size
// byte they share may then change with them. (A letter left as it is keeps
// the old shape.)
bool allUnownFrontsTogether(const std::vector<const Item*>& items)
{
    std::map<int64_t, std::pair<int, int>> fronts; // Unown index -> width, height
    for (const Item* item : items) {
        const Slot& slot = item->slot.slot;
        if (!slot.trainer && !slot.back && slot.number == rom::kUnownNumber)
            fronts.emplace(slot.unownIndex, std::pair{item->coded.picture.width, item->coded.picture.height});
    }
    if (fronts.size() != static_cast<size_t>(rom::kMaxUnownIndex))
        return false;
    return std::ranges::all_of(fronts, [&](const auto& front) { return front.second == fronts.begin()->second; });
}

rom::InsertRequest requestFor(const Item& item, const std::filesystem::path& romPath, bool anyShape,
                              bool allUnownFronts)
{
    rom::InsertRequest r;
    r.romPath = romPath;
    r.encoded = item.coded.stream;
    SetSlot(r, item.slot.slot);
    r.deleteOriginal = true;
    r.colour1 = item.coded.picture.palette[1];
    r.colour2 = item.coded.picture.palette[2];
    r.width = item.coded.picture.width;
    r.height = item.coded.picture.height;
    r.anyShape = anyShape;
    r.allUnownFronts = allUnownFronts;
    return r;
}

bool samePair(const PalettePair& a, const PalettePair& b)
{
    // Bit 15 of each colour word means nothing.
    return a[0] == b[0] && (a[1] & 0x7F) == (b[1] & 0x7F) && a[2] == b[2] && (a[3] & 0x7F) == (b[3] & 0x7F);
}

// The files of the folder that name a slot, each coded for its slot; the
// others are ignored.
std::expected<std::vector<Item>, std::string> readFolder(const std::filesystem::path& dir, const rom::RomFile& rom,
                                                         std::vector<std::string>& ignored)
{
    std::map<std::string, NamedSlot> byName;
    for (const NamedSlot& named : AllSlots())
        byName.emplace(named.name, named);
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
        files.push_back(entry.path());
    if (ec)
        return std::unexpected("could not read the folder \"" + dir.string() + "\": " + ec.message() + ".");
    std::ranges::sort(files);
    std::vector<Item> items;
    for (const auto& file : files) {
        const auto named = byName.find(file.stem().string());
        const bool readable = std::ranges::find(kReadable, lower(file.extension().string())) != kReadable.end();
        if (named == byName.end() || !readable || !std::filesystem::is_regular_file(file, ec)) {
            ignored.push_back(file.filename().string());
            continue;
        }
        CodingOptions options;
        options.slotPair = SlotPalette(rom, named->second.slot);
        auto coded = CodeSource(file, options);
        if (!coded)
            return std::unexpected(file.filename().string() + ": " + coded.error());
        Item item{named->second, file, std::move(*coded)};
        item.pair = MakePalettePair(item.coded.picture.palette[1], item.coded.picture.palette[2]);
        const Slot& slot = item.slot.slot; // number 201 is the Unown table's, like the Unown forms
        item.pointerLocation = rom::PicturePointerLocation(slot.trainer, static_cast<int>(slot.number),
                                                           static_cast<int>(slot.unownIndex), slot.back);
        items.push_back(std::move(item));
    }
    return items;
}

// Whether the slot holds exactly this picture now: its tile data and palette pair.
bool unchanged(const rom::RomFile& rom, const Item& item)
{
    auto now = rom::ExtractFromRom(rom, SlotRequest(rom.path(), item.slot.slot));
    return now && now->tileData == item.coded.tileData && samePair(now->palette.pair, item.pair);
}

} // namespace

int InsertAll(const Args& args, Streams s)
{
    if (args.positional.size() != 2)
        return Usage(s, "insert-all", "insert-all needs DIR and ROM");
    auto wait = NumberOption(args, "--wait");
    if (!wait || (*wait && (**wait < 0 || **wait > 3600)))
        return Usage(s, "insert-all", "--wait takes 0 to 3600 seconds");
    auto patch = PatchOption(args);
    if (!patch)
        return Usage(s, "insert-all", patch.error());
    const std::filesystem::path dir = args.positional[0], romPath = args.positional[1];
    const auto refused = [&](const std::string& message) {
        return Failed(s, message.find("othing was written") == std::string::npos ? message + " Nothing was written."
                                                                                 : message);
    };
    if (ClassifyPath(romPath.string()) != FileKind::Rom)
        return Failed(s, "\"" + romPath.string() + "\" is not a ROM (.gb or .gbc).");
    if (std::error_code ec; !std::filesystem::is_directory(dir, ec))
        return Failed(s, "\"" + dir.string() + "\" is not a folder.");
    if (*patch) {
        // The patch must not take the place of the ROM or of any file the folder offers.
        std::vector<NamedInput> inputs{{romPath, "the ROM"}};
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
            inputs.push_back({entry.path(), "a picture of the folder"});
        if (auto clash = OutputOverInput((*patch)->path, "the patch", inputs))
            return refused(*clash);
    }
    // A patch leaves the ROM as it is, so a read-only ROM serves as its base.
    if (auto target = rom::CheckRomTarget(romPath.string(), 0);
        !target && !(*patch && target.error().systemCode == EACCES))
        return refused(target.error().english);
    auto change = rom::RomChange::Begin(romPath, *wait ? std::chrono::milliseconds(**wait * 1000)
                                                       : rom::kDefaultLockWait);
    if (!change)
        return refused(change.error().english);
    if (!*patch)
        if (auto replaceable = change->CheckReplaceable(); !replaceable)
            return refused(replaceable.error().english);
    if (auto mismatch = rom::FindGameMismatch(change->rom()))
        return refused(rom::NotThisGame(romPath, *mismatch).english);
    const rom::RomFile& original = change->rom();

    std::vector<std::string> ignored;
    auto items = readFolder(dir, original, ignored);
    if (!items)
        return refused(items.error());

    // Two files for one slot (pokemon-201 is the first Unown form) must agree.
    std::map<int64_t, const Item*> bySlot;
    std::vector<const Item*> changed;
    std::vector<Outcome> outcomes;
    for (const Item& item : *items) {
        if (unchanged(original, item)) {
            outcomes.push_back({&item, "unchanged"});
            continue;
        }
        auto [at, fresh] = bySlot.try_emplace(item.pointerLocation, &item);
        if (!fresh) {
            if (at->second->coded.tileData != item.coded.tileData || !samePair(at->second->pair, item.pair))
                return refused(at->second->file.filename().string() + " and " + item.file.filename().string() +
                               " are one slot but hold different pictures.");
            outcomes.push_back({&item, "the same as " + at->second->file.filename().string()});
            continue;
        }
        changed.push_back(&item);
    }

    // Every picture in a shape its slot draws whole, before anything is planned.
    const bool anyShape = args.has("--any-shape");
    const bool unownTogether = allUnownFrontsTogether(changed);
    size_t misshapen = 0;
    bool shapeOnly = true, unownFront = false;
    for (const Item* item : changed)
        if (auto shape = rom::CheckSlotShape(original, requestFor(*item, romPath, anyShape, unownTogether));
            !shape) {
            s.err << "orvista-cli: " << item->file.filename().string() << ": " << shape.error().english << "\n";
            ++misshapen;
            shapeOnly = shapeOnly && shape.error().kind == rom::RomError::Kind::BadShape;
            const Slot& slot = item->slot.slot;
            unownFront = unownFront || (!slot.trainer && !slot.back && slot.number == rom::kUnownNumber);
        }
    if (misshapen > 0)
        return refused(std::to_string(misshapen) + (misshapen == 1 ? " picture" : " pictures") +
                       " cannot go into " + (misshapen == 1 ? "its slot" : "their slots") +
                       " as named above. Nothing was written." + (shapeOnly ? " " + AnyShapeHint() : std::string()) +
                       (unownFront ? " The Unown fronts take a new size only all 26 together, in one shape." : ""));

    // One picture after the other on the ROM as the batch leaves it, so space
    // freed by one serves the next.
    rom::RomFile work = rom::RomFile::fromBytes(original.path(),
                                                std::vector<uint8_t>(original.bytes().begin(), original.bytes().end()));
    std::vector<rom::BytePatch> patches;
    std::vector<std::string> notes;
    std::map<int, const Item*> palettes; // palette location -> the item that wrote it
    for (const Item* item : changed) {
        rom::InsertRequest r = requestFor(*item, romPath, anyShape, unownTogether);
        const std::string name = item->file.filename().string();
        const auto n = static_cast<int64_t>(r.encoded.size());

        std::vector<rom::PlanNote> zeroNotes;
        auto zeros = rom::OldPictureZeros(work, r, zeroNotes);
        if (!zeros && zeros.error().kind != rom::RomError::Kind::NoPicture)
            return refused(name + ": " + zeros.error().english);
        const std::optional<rom::BytePatch> old = zeros ? *zeros : std::nullopt;
        std::expected<rom::InsertionPlan, rom::RomError> plan = std::unexpected(rom::RomError{});
        std::string what;
        if (old && n <= static_cast<int64_t>(old->bytes.size())) {
            r.offsetText = std::to_string(old->offset);
            plan = rom::PlanInsertion(work, r);
            what = "replaced in place at " + Hex(old->offset) + ", " + std::to_string(n) + " bytes (were " +
                   std::to_string(old->bytes.size()) + ")";
        } else {
            // The old picture's bytes are free for the search as well.
            const rom::RomFile freed = old ? withPatches(work, {*old}) : work;
            r.deleteOriginal = false;
            plan = rom::PlanInsertionAtFreePlace(freed, r, 0);
            if (!plan && plan.error().kind == rom::RomError::Kind::NoRoom) {
                const rom::FreeRun largest = largestRun(freed);
                return refused(name + " needs " + std::to_string(n) + " bytes (with 2 zero bytes before them), " +
                               "but the largest free run is " + std::to_string(largest.length) + " bytes" +
                               (largest.length ? " at " + Hex(largest.offset) : std::string()) + ".");
            }
            if (plan && old)
                plan->patches.insert(plan->patches.begin(), *old);
            const auto from = rom::ReadPicturePointer(work, item->pointerLocation);
            const std::string was = !from ? std::string("a pointer outside the ROM")
                                    : old ? Hex(from.value()) + " (" + std::to_string(old->bytes.size()) + " bytes)"
                                    : Hex(from.value()) + (zeroNotes.empty() ? " (no complete picture there)"
                                                                             : " (left there: shared)");
            if (plan)
                what = "moved from " + was + " to " + Hex(plan->dataOffset) + ", " + std::to_string(n) + " bytes";
        }
        if (!plan)
            return refused(name + ": " + plan.error().english);
        // A shared old picture left in place is told by the listing's line.
        for (const rom::PlanNote& note : plan->notes)
            notes.push_back(name + ": " + note.english);
        for (const rom::BytePatch& patch : plan->patches)
            if (patch.kind == rom::PatchKind::Palette) {
                auto [at, fresh] = palettes.try_emplace(static_cast<int>(patch.offset), item);
                if (!fresh && !samePair(at->second->pair, item->pair))
                    notes.push_back(name + " and " + at->second->file.filename().string() +
                                    " share one palette but give different colours; " + name + "'s are written.");
            }
        work = withPatches(work, plan->patches);
        patches.insert(patches.end(), plan->patches.begin(), plan->patches.end());
        outcomes.push_back({item, what});
    }

    auto finished = FinishChange(args, *change, patches);
    if (!finished)
        return refused(finished.error());
    const bool dryRun = !finished->romReplaced;
    std::ranges::stable_sort(outcomes, {}, [](const Outcome& o) { return o.item->file; });
    for (const Outcome& o : outcomes)
        s.out << o.item->file.filename().string() << ": " << o.what << "\n";
    for (const std::string& name : ignored)
        s.out << name << ": ignored (not named as extract-all names pictures)\n";
    for (const std::string& note : notes)
        s.err << "orvista-cli: note: " << note << "\n";
    s.out << changed.size() << " of " << items->size() << " pictures " << (dryRun ? "would change" : "changed")
          << "; free bytes (runs of " << kCountedRun << " and more) " << freeBytes(original) << " before, "
          << freeBytes(work) << " after" << (dryRun && !finished->patch ? "; nothing was written (dry run)" : "")
          << "\n";
    if (finished->patch)
        s.out << PatchLine(*finished, romPath) << "\n";
    return kExitOk;
}

} // namespace orv::cli
