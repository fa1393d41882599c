// orvista-cli extract and extract-all: pictures out of a ROM, as the wizard's
// pages 10 and 2 take them.

#include <array>
#include <cstdio>
#include <iostream>
#include <ostream>
#include <unistd.h>

#include "binary_file.h"
#include "cli.h"
#include "cli_coding.h"
#include "cli_commands.h"
#include "cli_output.h"
#include "cli_pack.h"
#include "extraction.h"
#include "palette_file.h"
#include "messages_en.h"
#include "rom_io.h"

namespace orv::cli {

namespace {

// "WxH" with either side left out ("16x" or "x48"); 0 for a side left out.
std::expected<std::pair<int64_t, int64_t>, std::string> sizeOption(const std::string& size)
{
    const size_t x = size.find_first_of("xX");
    const std::string width = size.substr(0, x), height = x == std::string::npos ? "" : size.substr(x + 1);
    if (x == std::string::npos || (width.empty() && height.empty()))
        return std::unexpected("--size needs WxH, e.g. 16x48 or 16x");
    std::pair<int64_t, int64_t> sides;
    for (auto [text, out] : {std::pair{&width, &sides.first}, std::pair{&height, &sides.second}}) {
        if (text->empty())
            continue;
        auto number = ParseNumber(*text);
        if (!number)
            return std::unexpected("--size needs numbers, not \"" + *text + "\"");
        *out = *number;
    }
    return sides;
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
        return Wanted{{.slot = **slot}};
    }
    Wanted wanted;
    rom::ExtractRequest& r = wanted.request;
    r.offset = **offset;
    if (const std::string* size = args.value("--size")) {
        auto sides = sizeOption(*size);
        if (!sides)
            return std::unexpected(sides.error());
        std::tie(r.width, r.height) = *sides;
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

    const NamedInput input{args.positional[0], "the ROM"};
    if (auto clash = OutputOverInput(out, "the output", {&input, 1}))
        return Failed(s, *clash);
    const std::string& romPath = args.positional[0];
    // The slot's numbers are refused before the ROM is read.
    if (wanted->request.slot)
        if (auto slot = rom::CheckedSlot(*wanted->request.slot); !slot)
            return Failed(s, slot.error(), romPath);
    auto rom = ReadRomFile(romPath);
    if (!rom)
        return Failed(s, rom.error(), romPath);
    auto picture = rom::ExtractFromRom(*rom, wanted->request);
    if (!picture)
        return Failed(s, picture.error(), romPath);
    if (auto written = WritePicture(out, *format, outputOf(*picture, wanted->order)); !written)
        return Failed(s, written.error());
    s.out << out.string() << ": " << picture->width << "x" << picture->height << " picture at "
          << HexEnglish(picture->offset) << ", " << picture->stream.size() << " bytes compressed, "
          << picture->tileData.size() << " bytes of tiles, palette " << picture->palette.text << "\n";
    return kExitOk;
}

namespace {

// One file extract-all writes: a slot's picture, or its palette pair as a .pal file.
struct ExtractJob {
    std::string relative;
    std::string shown; // in the report of a skipped file
    rom::Slot slot;
    bool palette = false;
};

std::vector<ExtractJob> flatJobs(OutputFormat format)
{
    std::vector<ExtractJob> jobs;
    for (const auto& [slot, name] : NamedSlots())
        jobs.push_back({name + ExtensionOf(format), name, slot});
    return jobs;
}

std::vector<ExtractJob> packJobs()
{
    std::vector<ExtractJob> jobs;
    for (const rom::PackOutput& output : rom::PackOutputs())
        jobs.push_back({output.relative, output.relative, output.slot, output.palette});
    return jobs;
}

// Each file appears whole under its name, but is not flushed one by one: the
// pictures can be extracted again, only the ROM must survive. A pack's PNGs
// write each 5-bit component c as (c << 3) | (c >> 2).
std::expected<void, std::string> writeJob(const rom::RomImage& rom, const std::string& romPath, const ExtractJob& job,
                                          const std::filesystem::path& out, OutputFormat format, bool pack)
{
    if (job.palette) {
        auto words = rom::ReadPaletteWords(rom, rom::PaletteLocation(job.slot));
        if (!words)
            return std::unexpected(en::Text(words.error(), romPath));
        const std::string text = rom::FormatPalFile(words->pair);
        if (auto written = WriteWholeFile(out, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, false);
            !written)
            return std::unexpected("could not write \"" + out.string() + "\": " + DescribeIoError(written.error()));
        return {};
    }
    auto picture = rom::ExtractFromRom(rom, {.slot = job.slot});
    if (!picture)
        return std::unexpected(en::Text(picture.error(), romPath));
    PictureOutput output = outputOf(*picture, TileOrder::Vertical);
    if (pack) {
        const PalettePair& pair = picture->palette.pair;
        output.colour1 = rom::PackColour(static_cast<GbcColor>(pair[0] | pair[1] << 8));
        output.colour2 = rom::PackColour(static_cast<GbcColor>(pair[2] | pair[3] << 8));
    }
    return WritePicture(out, format, output, false);
}

} // namespace

int ExtractAll(const Args& args, Streams s)
{
    if (args.positional.size() != 2)
        return Usage(s, "extract-all", "extract-all needs ROM and DIR");
    static constexpr std::array<const char*, 2> kLayouts{"flat", "pret"};
    auto layout = ChoiceOption(args, "--layout", kLayouts, 0);
    if (!layout)
        return Usage(s, "extract-all", layout.error());
    const bool pack = *layout == 1;
    const std::string* formatWord = args.value("--format");
    const auto format = FormatNamed(formatWord ? *formatWord : "png");
    if (!format)
        return Usage(s, "extract-all", "--format takes png, bmp, orv, 2bpp or lz, not \"" + *formatWord + "\"");
    if (pack && *format != OutputFormat::Png)
        return Usage(s, "extract-all", "--layout pret writes PNG pictures and .pal files; --format goes with flat");
    const std::filesystem::path dir = args.positional[1];
    // Read once; the pictures come out of memory.
    const std::string& romPath = args.positional[0];
    auto rom = ReadRomFile(romPath);
    if (!rom)
        return Failed(s, rom.error(), romPath);
    const std::vector<ExtractJob> jobs = pack ? packJobs() : flatJobs(*format);
    // Every name first: a link among them refuses the whole run before any file is written.
    const NamedInput input{romPath, "the ROM"};
    for (const ExtractJob& job : jobs)
        if (auto clash = OutputOverInput(dir / job.relative, "the output", {&input, 1}))
            return Failed(s, *clash);
    if (std::error_code ec; !std::filesystem::create_directories(dir, ec) && ec)
        return Failed(s, "could not create the folder \"" + dir.string() + "\": " + ec.message() + ".");

    const bool terminal = &s.err == &std::cerr && isatty(STDERR_FILENO);
    size_t written = 0, skipped = 0;
    std::filesystem::path folder = dir;
    for (size_t i = 0; i < jobs.size(); ++i) {
        const ExtractJob& job = jobs[i];
        const std::filesystem::path out = dir / job.relative;
        std::expected<void, std::string> done;
        if (out.parent_path() != folder) {
            folder = out.parent_path();
            if (std::error_code ec; !std::filesystem::create_directories(folder, ec) && ec)
                done = std::unexpected("could not create the folder \"" + folder.string() + "\": " + ec.message());
        }
        if (done)
            done = writeJob(*rom, romPath, job, out, *format, pack);
        if (done) {
            ++written;
        } else {
            ++skipped;
            s.err << (terminal ? "\r" : "") << "orvista-cli: skipped " << job.shown << ": " << done.error() << "\n";
        }
        if (terminal)
            s.err << "\rextracting " << i + 1 << " of " << jobs.size() << " ..." << std::flush;
        else if ((i + 1) % 100 == 0 || i + 1 == jobs.size())
            s.err << "extracted " << i + 1 << " of " << jobs.size() << "\n";
    }
    if (terminal)
        s.err << "\n";
    s.out << written << (pack ? " files" : " pictures") << " written to " << dir.string() << ", " << skipped
          << " skipped\n";
    return skipped ? kExitFailed : kExitOk;
}

} // namespace orv::cli
