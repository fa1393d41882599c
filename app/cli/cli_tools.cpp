// orvista-cli info, search, compress and decompress.

#include <ostream>

#include "binary_file.h"
#include "cli.h"
#include "cli_commands.h"
#include "codec_library.h"
#include "free_space.h"
#include "game_text.h"
#include "rom_file.h"
#include "rom_layout.h"

namespace orv::cli {

namespace {

constexpr size_t kProblemsShown = 5;
// The raw codec's inputs and outputs: far more than any picture or tile set.
constexpr int32_t kMaxRawBytes = 16 << 20;

// "<what>: <sound> of <total> sound", then the first problems.
class Tally {
public:
    explicit Tally(std::string what) : what_(std::move(what)) {}
    void count(const std::string& name, const std::string& problem)
    {
        ++total_;
        if (problem.empty())
            ++sound_;
        else if (problems_.size() < kProblemsShown)
            problems_.push_back(name + ": " + problem);
    }
    void print(std::ostream& out) const
    {
        out << what_ << ": " << sound_ << " of " << total_ << " sound\n";
        for (const std::string& problem : problems_)
            out << "  " << problem << "\n";
        if (total_ - sound_ > problems_.size())
            out << "  ... and " << total_ - sound_ - problems_.size() << " more\n";
    }

private:
    std::string what_;
    size_t total_ = 0, sound_ = 0;
    std::vector<std::string> problems_;
};

// Both colours of a palette entry are 15-bit words.
std::string paletteProblem(const rom::RomFile& rom, int64_t location)
{
    auto palette = rom::ReadPaletteWords(rom, location);
    if (!palette)
        return palette.error().english;
    if ((palette->pair[1] | palette->pair[3]) & 0x80)
        return "colour words at " + Hex(location) + " have bit 15 set";
    return {};
}

// How many slot pictures are sound.
size_t pictureTables(const rom::RomFile& rom, std::ostream& out)
{
    Tally pokemon("Pokemon pictures"), unown("Unown pictures"), trainers("trainer pictures");
    size_t sound = 0;
    for (const NamedSlot& named : AllSlots()) {
        Tally& tally = named.slot.trainer ? trainers : named.slot.unown ? unown : pokemon;
        auto picture = rom::ExtractFromRom(rom, SlotRequest(rom.path(), named.slot));
        tally.count(named.name, picture ? std::string() : picture.error().english);
        sound += picture.has_value();
    }
    for (const Tally* tally : {&pokemon, &unown, &trainers})
        tally->print(out);
    return sound;
}

void palettesAndRecords(const rom::RomFile& rom, std::optional<rom::RomLanguage> language, std::ostream& out)
{
    Tally palettes("palettes");
    for (int n = 1; n <= rom::kMaxPokemon; ++n)
        for (bool shiny : {false, true})
            palettes.count("Pokemon " + std::to_string(n) + (shiny ? " shiny" : ""),
                           paletteProblem(rom, rom::PaletteLocation(false, n, shiny)));
    for (int t = 1; t <= rom::kMaxTrainer; ++t)
        palettes.count("trainer " + std::to_string(t), paletteProblem(rom, rom::PaletteLocation(true, t, false)));
    palettes.print(out);
    if (!language) {
        out << "base-data records: unknown without the language\n";
        return;
    }
    Tally records("base-data records");
    for (int n = 1; n <= rom::kMaxPokemon; ++n) {
        const int64_t at = rom::BaseDataRecordLocation(*language, n);
        uint8_t first = 0;
        std::string problem;
        if (auto read = rom.read(at, std::span(&first, 1), rom::RomPart::SizeByte); !read)
            problem = read.error().english;
        else if (first != n)
            problem = "record at " + Hex(at) + " starts with " + std::to_string(first);
        records.count("Pokemon " + std::to_string(n), problem);
    }
    records.print(out);
}

} // namespace

int Info(const Args& args, Streams s)
{
    if (args.positional.size() != 1)
        return Usage(s, "info", "info needs ROM");
    auto rom = rom::RomFile::open(args.positional[0]);
    if (!rom)
        return Failed(s, rom.error().english);
    s.out << "file: " << rom->path().string() << "\n";
    s.out << "size: " << Hex(rom->size()) << " (" << rom->size() << " bytes)\n";
    auto language = rom::DetectRomLanguage(*rom);
    std::optional<rom::RomLanguage> known;
    std::string notThisGame;
    if (!language) {
        s.out << "language: unknown (" << language.error().english << ")\n";
        notThisGame = "the header's language byte is neither D nor E";
    } else {
        known = *language;
        s.out << "language: " << (*language == rom::RomLanguage::German ? "German" : "English") << "\n";
        auto base = rom::ReadNameTableBase(*rom, *language);
        s.out << "name table: " << (base ? Hex(*base) : base.error().english) << "\n";
    }
    if (pictureTables(*rom, s.out) == 0 && notThisGame.empty())
        notThisGame = "no picture pointer leads to a picture";
    palettesAndRecords(*rom, known, s.out);
    if (!notThisGame.empty())
        return Failed(s, "\"" + rom->path().string() + "\" is not a ROM of Pokemon Gold or Silver (English or "
                                                        "German): " + notThisGame + ".");
    return kExitOk;
}

int Search(const Args& args, Streams s)
{
    if (args.positional.size() != 1)
        return Usage(s, "search", "search needs ROM");
    auto length = NumberOption(args, "--length");
    auto from = NumberOption(args, "--from");
    if (!length || !from)
        return Usage(s, "search", !length ? length.error() : from.error());
    if (!*length || **length < 1 || **length > INT32_MAX)
        return Usage(s, "search", "--length needs a number of bytes from 1 on");
    const auto n = static_cast<int32_t>(**length);
    const int64_t start = from->value_or(0);
    if (start < 0)
        return Usage(s, "search", "--from needs an offset from 0 on");
    auto found = rom::SearchNextOffset(args.positional[0], start, n);
    if (!found)
        return Failed(s, found.error().english);
    if (!*found)
        return Failed(s, "no free place for " + std::to_string(n) + " bytes after offset " + Hex(start) + ".");
    s.out << Hex(**found) << "\n";
    return kExitOk;
}

namespace {

// Reads IN, transforms it, writes OUT.
template <class Transform>
int transformFile(const Args& args, Streams s, const char* command, Transform transform)
{
    if (args.positional.size() != 2)
        return Usage(s, command, std::string(command) + " needs IN and OUT");
    auto in = readWholeFile(args.positional[0], kMaxRawBytes);
    if (!in)
        return Failed(s, "could not read \"" + args.positional[0] + "\": " + describeIoError(in.error()));
    auto result = transform(*in);
    if (!result)
        return Failed(s, "\"" + args.positional[0] + "\": " + result.error());
    if (auto written = writeWholeFile(args.positional[1], *result); !written)
        return Failed(s, "could not write \"" + args.positional[1] + "\": " + describeIoError(written.error()));
    s.out << in->size() << " bytes -> " << result->size() << " bytes\n";
    return kExitOk;
}

using Bytes = std::expected<std::vector<uint8_t>, std::string>;

} // namespace

int Compress(const Args& args, Streams s)
{
    return transformFile(args, s, "compress", [](const std::vector<uint8_t>& raw) -> Bytes {
        auto encoded = codec::encode(raw);
        if (!encoded)
            return std::unexpected(codec::describe(encoded.error()));
        return std::move(*encoded);
    });
}

int Decompress(const Args& args, Streams s)
{
    auto offset = NumberOption(args, "--offset");
    if (!offset)
        return Usage(s, "decompress", offset.error());
    const int64_t at = offset->value_or(0);
    return transformFile(args, s, "decompress", [at](const std::vector<uint8_t>& data) -> Bytes {
        if (at < 0 || at >= static_cast<int64_t>(data.size()))
            return std::unexpected("offset " + Hex(at) + " lies outside the file's " + std::to_string(data.size()) +
                                   " bytes.");
        const auto stream = std::span(data).subspan(static_cast<size_t>(at));
        auto lengths = codec::measure(stream, kMaxRawBytes);
        if (!lengths && lengths.error() == codec::Error::OutputFull)
            return std::unexpected("the stream at offset " + Hex(at) + " would unpack to more than " +
                                   std::to_string(kMaxRawBytes) + " bytes.");
        if (!lengths)
            return std::unexpected("no complete stream at offset " + Hex(at) + ": " +
                                   codec::describe(lengths.error()));
        auto decoded = codec::decode(stream.first(static_cast<size_t>(lengths->compressed)), lengths->decompressed);
        if (!decoded)
            return std::unexpected(codec::describe(decoded.error()));
        return std::move(*decoded);
    });
}

} // namespace orv::cli
