// orvista-cli extract and extract-all: pictures out of a ROM, as the wizard's
// pages 10 and 2 take them.

#include <cstdio>
#include <iostream>
#include <ostream>
#include <unistd.h>

#include "cli.h"
#include "cli_coding.h"
#include "cli_commands.h"
#include "cli_output.h"
#include "extraction.h"
#include "rom_error.h"

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

struct Wanted {
    rom::ExtractRequest request;
    TileOrder order = TileOrder::Vertical;
};

std::expected<Wanted, std::string> extractRequest(const Args& args)
{
    auto slot = SlotFrom(args);
    if (!slot)
        return std::unexpected(slot.error());
    auto offset = NumberOption(args, "--offset");
    if (!offset)
        return std::unexpected(offset.error());
    if (slot->has_value() == offset->has_value())
        return std::unexpected("give one of --pokemon, --unown, --trainer and --offset");
    if (*slot) {
        if (args.has("--size") || args.has("--order"))
            return std::unexpected("--size and --order go with --offset only: slot pictures are stored in "
                                   "vertical tile order");
        return Wanted{SlotRequest(args.positional[0], **slot)};
    }
    Wanted wanted;
    rom::ExtractRequest& r = wanted.request;
    r.romPath = args.positional[0];
    r.bySlot = false;
    r.offsetText = std::to_string(**offset);
    if (const std::string* size = args.value("--size")) {
        auto texts = sizeTexts(*size);
        if (!texts)
            return std::unexpected(texts.error());
        r.specifySize = true;
        std::tie(r.widthText, r.heightText) = *texts;
    }
    auto order = OrderOption(args);
    if (!order)
        return std::unexpected(order.error());
    wanted.order = order->value_or(TileOrder::Vertical);
    return wanted;
}

PictureOutput outputOf(const rom::ExtractedPicture& picture, TileOrder order)
{
    return {picture.stream,         picture.tileData, picture.palette.colours[0], picture.palette.colours[1],
            picture.width,          picture.height,   order};
}

} // namespace

int Extract(const Args& args, Streams s)
{
    if (args.positional.size() != 2)
        return Usage(s, "extract", "extract needs ROM and OUT");
    auto wanted = extractRequest(args);
    if (!wanted)
        return Usage(s, "extract", wanted.error());
    const std::filesystem::path out = args.positional[1];
    const auto format = FormatOfPath(out);
    if (!format)
        return Usage(s, "extract", format.error());

    const NamedInput rom{args.positional[0], "the ROM"};
    if (auto clash = OutputOverInput(out, "the output", {&rom, 1}))
        return Failed(s, *clash);
    auto picture = rom::ExtractFromRom(wanted->request);
    if (!picture)
        return Failed(s, picture.error().english);
    if (auto written = WritePicture(out, *format, outputOf(*picture, wanted->order)); !written)
        return Failed(s, written.error());
    s.out << out.string() << ": " << picture->width << "x" << picture->height << " picture at "
          << Hex(picture->offset) << ", " << picture->stream.size() << " bytes compressed, "
          << picture->tileData.size() << " bytes of tiles, palette " << picture->palette.text << "\n";
    return kExitOk;
}

int ExtractAll(const Args& args, Streams s)
{
    if (args.positional.size() != 2)
        return Usage(s, "extract-all", "extract-all needs ROM and DIR");
    const std::string* formatWord = args.value("--format");
    const auto format = FormatNamed(formatWord ? *formatWord : "png");
    if (!format)
        return Usage(s, "extract-all", "--format takes png, bmp, orv, 2bpp or lz, not \"" + *formatWord + "\"");
    const std::filesystem::path dir = args.positional[1];
    // Read once; the pictures come out of memory.
    auto rom = rom::RomFile::open(args.positional[0]);
    if (!rom)
        return Failed(s, rom.error().english);
    const auto slots = AllSlots();
    // Every name first: a link among them refuses the whole run before any file is written.
    const NamedInput input{rom->path(), "the ROM"};
    for (const auto& named : slots)
        if (auto clash = OutputOverInput(dir / (named.name + ExtensionOf(*format)), "the output", {&input, 1}))
            return Failed(s, *clash);
    if (std::error_code ec; !std::filesystem::create_directories(dir, ec) && ec)
        return Failed(s, "could not create the folder \"" + dir.string() + "\": " + ec.message() + ".");

    const bool terminal = &s.err == &std::cerr && isatty(STDERR_FILENO);
    size_t written = 0, skipped = 0;
    for (size_t i = 0; i < slots.size(); ++i) {
        const auto& [slot, name] = slots[i];
        const std::filesystem::path out = dir / (name + ExtensionOf(*format));
        auto picture = rom::ExtractFromRom(*rom, SlotRequest(rom->path(), slot));
        // Each file appears whole under its name, but is not flushed one by
        // one: the pictures can be extracted again, only the ROM must survive.
        auto done = picture ? WritePicture(out, *format, outputOf(*picture, TileOrder::Vertical), false)
                            : std::expected<void, std::string>(std::unexpected(picture.error().english));
        if (done) {
            ++written;
        } else {
            ++skipped;
            s.err << (terminal ? "\r" : "") << "orvista-cli: skipped " << name << ": " << done.error() << "\n";
        }
        if (terminal)
            s.err << "\rextracting " << i + 1 << " of " << slots.size() << " ..." << std::flush;
        else if ((i + 1) % 100 == 0 || i + 1 == slots.size())
            s.err << "extracted " << i + 1 << " of " << slots.size() << "\n";
    }
    if (terminal)
        s.err << "\n";
    s.out << written << " pictures written to " << dir.string() << ", " << skipped << " skipped\n";
    return skipped ? kExitFailed : kExitOk;
}

} // namespace orv::cli
