// orvista-cli insert-all: every picture of a folder, named as extract-all
// names them, back into its slot in one commit. The folder is read and coded
// here; the plan is the core's (batch_plan.h).

#include <algorithm>
#include <ostream>

#include "batch_plan.h"
#include "cli.h"
#include "cli_change.h"
#include "cli_coding.h"
#include "cli_commands.h"
#include "cli_pack.h"
#include "folder_batch.h"
#include "messages_en.h"
#include "picture_shape.h"

namespace orv::cli {

namespace {

// The files of the folder that name a slot, each coded for its slot; the
// others are ignored.
std::expected<std::vector<rom::BatchItem>, std::string> readFolder(const std::filesystem::path& dir,
                                                                   const rom::RomImage& rom,
                                                                   std::vector<std::string>& ignored)
{
    std::vector<rom::FlatEntry> entries;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        std::error_code typeEc;
        entries.push_back({entry.path().filename().string(), std::filesystem::is_regular_file(entry.path(), typeEc)});
    }
    if (ec)
        return std::unexpected("could not read the folder \"" + dir.string() + "\": " + ec.message() + ".");
    rom::FlatIndex index = rom::IndexFlatFolder(entries);
    ignored = std::move(index.ignored);
    std::vector<rom::BatchItem> items;
    for (const rom::FlatFileUse& use : index.used) {
        CodingOptions options;
        options.slotPair = rom::SlotPalettePair(rom, use.slot);
        auto coded = CodeSource(dir / use.name, options);
        if (!coded)
            return std::unexpected(use.name + ": " + coded.error());
        items.push_back(rom::PictureItem(use.name, use.slot, std::move(*coded)));
    }
    return items;
}

} // namespace

int InsertAll(const Args& args, Streams s)
{
    if (args.positional.size() != 2)
        return Usage(s, "insert-all", "insert-all needs DIR and ROM");
    auto wait = LockWaitOption(args);
    if (!wait)
        return Usage(s, "insert-all", wait.error());
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
        // A sprite pack's files lie up to three folders down (gfx/pokemon/<name>/).
        std::vector<NamedInput> inputs{{romPath, "the ROM"}};
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (it.depth() >= 3)
                it.disable_recursion_pending();
            inputs.push_back({it->path(), "a picture of the folder"});
        }
        if (auto clash = OutputOverInput((*patch)->path, "the patch", inputs))
            return refused(*clash);
    }
    auto change = BeginRomChange(romPath, *wait, patch->has_value());
    if (!change)
        return refused(change.error());

    // A sprite pack's layout, in DIR or in DIR/gfx; else the flat names.
    const std::optional<std::filesystem::path> packRoot = PackRoot(dir);
    std::vector<std::string> unused;
    std::expected<std::vector<rom::BatchItem>, std::string> items;
    if (packRoot) {
        auto pack = ReadPack(*packRoot, change->rom());
        if (!pack)
            return refused(pack.error());
        items = std::move(pack->items);
        unused = std::move(pack->unused);
    } else {
        std::vector<std::string> ignored;
        items = readFolder(dir, change->rom(), ignored);
        for (const std::string& name : ignored)
            unused.push_back(name + ": " + en::FlatIgnoredText());
    }
    if (!items)
        return refused(items.error());
    auto plan = rom::PlanBatch(change->rom(), *items,
                               {.anyShape = args.has("--any-shape"), .paletteConflictsRefused = packRoot.has_value()});
    if (!plan && !plan.error().misshapen.empty()) {
        // Each picture whose shape its slot does not take, then what to do.
        const auto& misshapen = plan.error().misshapen;
        bool shapeOnly = true, unownFront = false;
        for (const auto& [i, error] : misshapen) {
            s.err << "orvista-cli: " << (*items)[i].name << ": " << en::Text(error, romPath.string()) << "\n";
            shapeOnly = shapeOnly && error.kind == ErrorKind::BadShape;
            unownFront = unownFront || rom::KindOf((*items)[i].slot) == rom::SlotKind::UnownFront;
        }
        return refused(en::MisshapenBatchText(misshapen.size(), unownFront) +
                       (shapeOnly ? " " + AnyShapeHint() : std::string()));
    }
    if (!plan) {
        const std::string text = en::Text(plan.error().error, romPath.string());
        return refused(plan.error().item ? (*items)[*plan.error().item].name + ": " + text : text);
    }

    auto finished = FinishChange(args, *change, plan->patches);
    if (!finished)
        return refused(finished.error());
    const bool dryRun = !finished->romReplaced;
    std::vector<const rom::BatchStep*> steps;
    for (const rom::BatchStep& step : plan->steps)
        steps.push_back(&step);
    std::ranges::stable_sort(steps, {}, [&](const rom::BatchStep* step) { return (*items)[step->item].name; });
    for (const rom::BatchStep* step : steps)
        s.out << (*items)[step->item].name << ": " << en::Text(*step, *items) << "\n";
    for (const std::string& line : unused)
        s.out << line << "\n";
    for (const rom::BatchNote& note : plan->notes)
        s.err << "orvista-cli: note: "
              << (note.note.kind == NoteKind::PaletteShared ? "" : (*items)[note.item].name + ": ")
              << en::Text(note.note) << "\n";
    s.out << plan->changed << " of " << items->size() << (packRoot ? " files " : " pictures ")
          << (dryRun ? "would change" : "changed")
          << "; free bytes (runs of " << rom::kCountedRunBytes << " and more) " << plan->freeBefore << " before, "
          << plan->freeAfter << " after" << (dryRun && !finished->patch ? "; nothing was written (dry run)" : "")
          << "\n";
    if (finished->patch)
        s.out << PatchLine(*finished, romPath) << "\n";
    return kExitOk;
}

} // namespace orv::cli
