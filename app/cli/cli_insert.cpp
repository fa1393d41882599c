// orvista-cli insert: a picture or own file into a ROM, at an offset or the
// next free place, optionally into a game slot; --dry-run lists the patches.

#include <ostream>

#include "classify_path.h"
#include "cli.h"
#include "cli_commands.h"
#include "colours.h"
#include "compression_page.h"
#include "free_space.h"
#include "insertion.h"
#include "orv_file.h"
#include "picture_loader.h"
#include "rom_error.h"

namespace orv::cli {

namespace {

struct EncodedPicture {
    std::vector<uint8_t> stream;
    Colour colour1 = 0, colour2 = 0;
    int width = 0, height = 0;
};

// An ordinary picture as the wizard codes it with its first choices: the
// first two colours met become colour 1 and 2, all others black.
std::expected<EncodedPicture, std::string> encodePicture(const std::filesystem::path& path, TileOrder order)
{
    auto loaded = LoadSourcePicture(path);
    if (!loaded)
        return std::unexpected(loaded.error().message);
    WorkingPicture& picture = loaded->picture;
    const auto& colours = loaded->colours;
    const auto colour = [&](size_t i) { return i < colours.size() ? std::optional(colours[i]) : std::nullopt; };
    const ColourMapping mapping =
        ApplyColourMapping({picture.palette, colour(0), colour(1), kBlack, picture.width, picture.height});
    picture.palette = mapping.palette;
    CompressionRequest request;
    request.picture = &picture;
    request.rawLength = mapping.rawLength;
    request.order = order;
    auto coded = CompressionPageNext(request);
    if (!coded)
        return std::unexpected(coded.error().message);
    return EncodedPicture{std::move(coded->encodedData), picture.palette[1], picture.palette[2], picture.width,
                          picture.height};
}

std::expected<EncodedPicture, std::string> sourcePicture(const Args& args)
{
    const std::filesystem::path source = args.positional[1];
    switch (ClassifyPath(source.string())) {
    case FileKind::Rom: return std::unexpected(std::string("extract the picture from the ROM first"));
    case FileKind::Orv: {
        if (args.has("--horizontal"))
            return std::unexpected(std::string("an .orv file keeps its own tile order"));
        auto orv = ReadOrvFile(source);
        if (!orv)
            return std::unexpected(orv.error().message);
        return EncodedPicture{std::move(orv->stream), orv->colours[0], orv->colours[1], orv->width, orv->height};
    }
    case FileKind::Picture: break;
    }
    return encodePicture(source, args.has("--horizontal") ? TileOrder::Horizontal : TileOrder::Vertical);
}

const char* patchName(rom::PatchKind kind)
{
    switch (kind) {
    case rom::PatchKind::ZeroOldPicture: return "zeros over the old picture";
    case rom::PatchKind::PictureData: return "picture data";
    case rom::PatchKind::Palette: return "palette";
    case rom::PatchKind::Name: return "name";
    case rom::PatchKind::PicturePointer: return "picture pointer";
    case rom::PatchKind::SizeByte: return "size byte";
    }
    return "?";
}

} // namespace

int Insert(const Args& args, Streams s)
{
    if (args.positional.size() != 2)
        return Usage(s, "insert needs ROM and PICTURE");
    auto slot = SlotFrom(args);
    if (!slot)
        return Usage(s, slot.error());
    auto offset = NumberOption(args, "--offset");
    auto nameLength = NumberOption(args, "--name-length");
    if (!offset || !nameLength)
        return Usage(s, !offset ? offset.error() : nameLength.error());
    if (offset->has_value() == args.has("--search"))
        return Usage(s, "give one of --offset and --search");
    if (args.has("--name") && (!slot->given || slot->trainer))
        return Usage(s, "--name needs --pokemon or --unown");

    auto picture = sourcePicture(args);
    if (!picture)
        return Failed(s, picture.error());

    rom::InsertRequest r;
    r.romPath = args.positional[0];
    r.encoded = std::move(picture->stream);
    if (*offset) {
        r.offsetText = std::to_string(**offset);
    } else {
        auto found = rom::SearchNextOffset(r.romPath, 0, static_cast<int32_t>(r.encoded.size()));
        if (!found)
            return Failed(s, found.error().message);
        if (!*found)
            return Failed(s, "no free place for " + std::to_string(r.encoded.size()) + " bytes in " +
                                 r.romPath.string());
        r.offsetText = std::to_string(**found);
    }
    r.replaceSlot = slot->given;
    r.trainer = slot->trainer;
    r.unown = slot->unown;
    r.unownIndex = slot->unownIndex;
    (slot->trainer ? r.trainerNumber : r.pokemonNumber) = slot->number;
    r.back = args.has("--back");
    r.shiny = args.has("--shiny");
    r.deleteOriginal = args.has("--delete-original");
    if (const std::string* name = args.value("--name")) {
        r.changeName = true;
        r.newName = *name;
        r.nameLength = nameLength->value_or(10);
    }
    r.colour1 = picture->colour1;
    r.colour2 = picture->colour2;
    r.width = picture->width;
    r.height = picture->height;

    auto plan = rom::PlanInsertion(r);
    if (!plan)
        return Failed(s, plan.error().message);
    const bool dryRun = args.has("--dry-run");
    if (!dryRun)
        if (auto applied = rom::ApplyInsertion(r.romPath, *plan); !applied)
            return Failed(s, applied.error().message);
    s.out << (dryRun ? "would write" : "wrote") << ":\n";
    for (const rom::BytePatch& patch : plan->patches)
        s.out << "  " << rom::HexText(patch.offset) << " " << patch.bytes.size() << " " << patchName(patch.kind)
              << "\n";
    for (const std::string& note : plan->notes)
        s.out << note << "\n";
    return kExitOk;
}

} // namespace orv::cli
