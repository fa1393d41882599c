// orvista-cli extract: a picture out of a ROM into a bitmap or an own file.

#include <ostream>

#include "bitmap_file.h"
#include "classify_path.h"
#include "cli.h"
#include "cli_commands.h"
#include "extraction.h"
#include "orv_file.h"
#include "rom_error.h"
#include "tiles.h"

namespace orv::cli {

namespace {

// "WxH" with either side left out ("16x" or "x48"), as the page's two fields.
std::expected<std::pair<std::string, std::string>, std::string> sizeTexts(const std::string& size)
{
    const size_t x = size.find_first_of("xX");
    const std::string width = size.substr(0, x), height = x == std::string::npos ? "" : size.substr(x + 1);
    if (x == std::string::npos || (width.empty() && height.empty()))
        return std::unexpected("--size needs WxH, e.g. 16x48 or 16x");
    std::pair<std::string, std::string> texts;
    for (auto [text, out] : {std::pair{&width, &texts.first}, std::pair{&height, &texts.second}}) {
        if (text->empty())
            continue;
        auto number = ParseNumber(*text);
        if (!number)
            return std::unexpected("--size needs numbers, not \"" + *text + "\"");
        *out = std::to_string(*number);
    }
    return texts;
}

std::expected<rom::ExtractRequest, std::string> extractRequest(const Args& args)
{
    rom::ExtractRequest r;
    r.romPath = args.positional[0];
    auto slot = SlotFrom(args);
    if (!slot)
        return std::unexpected(slot.error());
    auto offset = NumberOption(args, "--offset");
    if (!offset)
        return std::unexpected(offset.error());
    if (slot->given == offset->has_value())
        return std::unexpected("give one of --pokemon, --unown, --trainer and --offset");
    if (*offset) {
        r.bySlot = false;
        r.offsetText = std::to_string(**offset);
        if (const std::string* size = args.value("--size")) {
            auto texts = sizeTexts(*size);
            if (!texts)
                return std::unexpected(texts.error());
            r.specifySize = true;
            std::tie(r.widthText, r.heightText) = *texts;
        }
        return r;
    }
    if (args.has("--size") || args.has("--horizontal"))
        return std::unexpected("--size and --horizontal go with --offset only");
    r.trainer = slot->trainer;
    r.unown = slot->unown;
    r.unownIndex = slot->unownIndex;
    (slot->trainer ? r.trainerNumber : r.pokemonNumber) = slot->number;
    r.back = args.has("--back");
    r.shiny = args.has("--shiny");
    return r;
}

} // namespace

int Extract(const Args& args, Streams s)
{
    if (args.positional.size() != 2)
        return Usage(s, "extract needs ROM and OUT");
    auto request = extractRequest(args);
    if (!request)
        return Usage(s, request.error());
    const std::filesystem::path out = args.positional[1];
    const FileKind kind = ClassifyPath(out.string());
    if (kind == FileKind::Rom)
        return Usage(s, "OUT must be a bitmap or an .orv file");

    auto picture = rom::ExtractFromRom(*request);
    if (!picture)
        return Failed(s, picture.error().message);
    // Game slots are stored column by column.
    const TileOrder order = args.has("--horizontal") ? TileOrder::Horizontal : TileOrder::Vertical;
    const auto [colour1, colour2] = picture->palette.colours;
    if (kind == FileKind::Orv) {
        if (auto written = WriteOrvFile(out, picture->stream, colour1, colour2, picture->width, picture->height,
                                        order);
            !written)
            return Failed(s, written.error().message);
    } else {
        WorkingPicture shades;
        shades.width = picture->width;
        shades.height = picture->height;
        shades.palette = {kWhite, colour1, colour2, kBlack, kBlack};
        shades.pixels = DecodeTiles(picture->tileData, shades.palette, shades.width, shades.height, order);
        if (auto written = WriteBitmapFile(out, shades); !written)
            return Failed(s, written.error().message);
    }
    s.out << picture->width << "x" << picture->height << " picture at " << rom::HexText(picture->offset) << ": "
          << picture->stream.size() << " bytes compressed, " << picture->tileData.size() << " bytes of tiles, palette "
          << picture->palette.text << " -> " << out.string() << "\n";
    return kExitOk;
}

} // namespace orv::cli
