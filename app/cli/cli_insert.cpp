// orvista-cli insert and convert: a picture or own picture file coded as the
// wizard codes it, then written into a ROM or another file.

#include <chrono>
#include <ostream>

#include "cli.h"
#include "cli_change.h"
#include "cli_coding.h"
#include "cli_commands.h"
#include "batch_plan.h"
#include "cli_output.h"
#include "game_text.h"
#include "insertion.h"
#include "messages_en.h"
#include "picture_shape.h"

namespace orv::cli {

namespace {

struct InsertChoices {
    std::optional<rom::Slot> slot;
    std::optional<int64_t> offset;
    int64_t searchFrom = 0;
    std::optional<int64_t> nameLength;
};

std::expected<InsertChoices, std::string> insertChoices(const Args& args)
{
    InsertChoices c;
    auto slot = SlotFrom(args);
    if (!slot)
        return std::unexpected(slot.error());
    c.slot = *slot;
    for (auto [option, target] : {std::pair{"--offset", &c.offset}, std::pair{"--name-length", &c.nameLength}}) {
        auto number = NumberOption(args, option);
        if (!number)
            return std::unexpected(number.error());
        *target = *number;
    }
    auto from = NumberOption(args, "--search-from");
    if (!from)
        return std::unexpected(from.error());
    c.searchFrom = from->value_or(0);
    if (c.searchFrom < 0)
        return std::unexpected("--search-from needs an offset from 0 on");
    if (c.offset && args.has("--search-from"))
        return std::unexpected("give --offset or --search-from, not both");
    const bool naming = args.has("--name") || args.has("--name-from-source") || args.has("--name-length");
    if (args.has("--name") && args.has("--name-from-source"))
        return std::unexpected("give --name or --name-from-source, not both");
    if (naming && (!c.slot || c.slot->kind == rom::Slot::Kind::Trainer))
        return std::unexpected("--name, --name-from-source and --name-length go with --pokemon or --unown");
    if (args.has("--delete-old") && !c.slot)
        return std::unexpected("--delete-old goes with a slot");
    if (args.has("--any-shape") && !c.slot)
        return std::unexpected("--any-shape goes with a slot");
    return c;
}

// Exit status 1 of insert means the ROM is unchanged; every refusal says so.
int refused(Streams s, std::string message)
{
    if (message.find("othing was written") == std::string::npos && message.find("unchanged") == std::string::npos)
        message += " Nothing was written.";
    return Failed(s, message);
}

} // namespace

int Insert(const Args& args, Streams s)
{
    if (args.positional.size() != 2)
        return Usage(s, "insert", "insert needs SOURCE and ROM");
    auto choices = insertChoices(args);
    auto coding = CodingOptionsFrom(args);
    auto wait = LockWaitOption(args);
    auto patch = PatchOption(args);
    if (!choices || !coding || !wait || !patch)
        return Usage(s, "insert", !choices ? choices.error()
                                  : !coding ? coding.error()
                                  : !wait   ? wait.error()
                                            : patch.error());
    const std::filesystem::path source = args.positional[0], romPath = args.positional[1];

    // As on the wizard's target page: only a ROM by name is written into.
    if (ClassifyPath(romPath.string()) != FileKind::Rom)
        return Failed(s, "\"" + romPath.string() + "\" is not a ROM (.gb or .gbc); convert writes pictures and "
                         ".orv files.");
    const NamedInput inputs[] = {{romPath, "the ROM"}, {source, "the source"}};
    if (auto clash = OutputOverInput(romPath, "the ROM", std::span(inputs).subspan(1)))
        return refused(s, *clash);
    if (*patch)
        if (auto clash = OutputOverInput((*patch)->path, "the patch", inputs))
            return refused(s, *clash);
    auto change = BeginRomChange(romPath, *wait, patch->has_value());
    if (!change)
        return refused(s, change.error());
    const rom::RomImage& image = change->rom();
    if (choices->slot)
        coding->slotPair = rom::SlotPalettePair(image, *choices->slot);
    auto coded = CodeSource(source, *coding);
    if (!coded)
        return refused(s, coded.error());
    const auto n = static_cast<int32_t>(coded->stream.size());

    rom::InsertRequest r;
    r.encoded = std::move(coded->stream);
    r.slot = choices->slot;
    if (choices->slot) {
        r.deleteOriginal = args.has("--delete-old");
        r.anyShape = args.has("--any-shape");
        r.nameLength = choices->nameLength.value_or(r.nameLength);
        if (const std::string* name = args.value("--name"))
            r.newName = *name;
        else if (args.has("--name-from-source"))
            r.newName = rom::SourceNameFromPath(source.string());
    }
    r.colour1 = coded->picture.palette[1];
    r.colour2 = coded->picture.palette[2];
    r.width = coded->picture.width;
    r.height = coded->picture.height;

    // The shape first: the free-space search would otherwise report a
    // picture of no shape the slot takes as one without room.
    if (auto shape = rom::CheckSlotShape(image, r); !shape)
        return refused(s, en::Text(shape.error(), romPath.string()) +
                              (shape.error().kind != ErrorKind::BadShape
                                   ? std::string()
                                   : " Nothing was written. " + AnyShapeHint() +
                                         (rom::KindOf(*r.slot) == rom::SlotKind::UnownFront
                                              ? " insert-all changes the size of all 26 Unown fronts when it is "
                                                "given all 26 in one new size."
                                              : "")));
    r.offset = choices->offset.value_or(0);
    auto plan = choices->offset ? rom::PlanInsertion(image, r)
                                : rom::PlanInsertionAtFreePlace(image, r, choices->searchFrom);
    if (!plan)
        return refused(s, en::Text(plan.error(), romPath.string()));
    if (plan->overwrite.bytes > 0 && !args.has("--overwrite"))
        return refused(s, "the picture data would overwrite " + std::to_string(plan->overwrite.bytes) +
                              " non-zero bytes from " + HexEnglish(plan->overwrite.first) +
                              " that belong to nothing the program knows (code, text or other data); give "
                              "--overwrite to write them anyway.");
    const bool dryRun = args.has("--dry-run");
    auto finished = FinishChange(args, *change, plan->patches);
    if (!finished)
        return refused(s, finished.error());
    s.out << (finished->romReplaced ? "inserted " : "would insert ") << n << " bytes at " << HexEnglish(plan->dataOffset)
          << " of " << romPath.string() << "\n";
    for (const rom::BytePatch& patch : finished->patches)
        s.out << "  " << HexEnglish(patch.offset) << " " << patch.bytes.size() << " " << en::PatchName(patch.kind) << "\n";
    if (finished->patch)
        s.out << PatchLine(*finished, romPath) << "\n";
    if (plan->overwrite.bytes > 0)
        s.err << "orvista-cli: note: " << plan->overwrite.bytes << " non-zero bytes from "
              << HexEnglish(plan->overwrite.first) << (dryRun ? " would be" : " were") << " overwritten (--overwrite)\n";
    for (const Note& note : plan->notes)
        s.err << "orvista-cli: note: " << en::Text(note) << "\n";
    return kExitOk;
}

int Convert(const Args& args, Streams s)
{
    if (args.positional.size() != 2)
        return Usage(s, "convert", "convert needs SOURCE and OUT");
    auto coding = CodingOptionsFrom(args);
    if (!coding)
        return Usage(s, "convert", coding.error());
    const std::filesystem::path out = args.positional[1];
    const auto format = FormatOfPath(out);
    if (!format)
        return Usage(s, "convert", format.error());

    const NamedInput source{args.positional[0], "the source"};
    if (auto clash = OutputOverInput(out, "the output", {&source, 1}))
        return Failed(s, *clash);
    auto coded = CodeSource(args.positional[0], *coding);
    if (!coded)
        return Failed(s, coded.error());
    const WorkingPicture& p = coded->picture;
    if (auto written = WritePicture(out, *format,
                                    {coded->stream, coded->tileData, p.palette[1], p.palette[2], p.width, p.height,
                                     coded->order});
        !written)
        return Failed(s, written.error());
    s.out << out.string() << ": " << p.width << "x" << p.height << " picture, " << coded->tileData.size()
          << " bytes of tiles, " << coded->stream.size() << " bytes to write\n";
    return kExitOk;
}

} // namespace orv::cli
