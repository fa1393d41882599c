// orvista-cli info, search, compress and decompress.

#include <ostream>

#include "binary_file.h"
#include "cartridge_header.h"
#include "cli.h"
#include "cli_commands.h"
#include "codec_library.h"
#include "free_space.h"
#include "game_check.h"
#include "game_text.h"
#include "rom_file.h"
#include "rom_layout.h"
#include "rom_map.h"

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

void header(const rom::RomFile& rom, std::ostream& out)
{
    const auto h = rom::ReadCartridgeHeader(rom.bytes());
    if (!h) {
        out << "header: none (the file ends before " << Hex(rom::kHeaderEnd) << ")\n";
        return;
    }
    out << "title: " << h->title << (h->gameCode.empty() ? "" : " (game code " + h->gameCode + ")") << "\n";
    const auto verdict = [](int64_t stored, int64_t computed) {
        return Hex(stored) + (stored == computed ? ", right" : ", wrong (should be " + Hex(computed) + ")");
    };
    out << "header checksum: " << verdict(h->headerChecksum, h->headerChecksumComputed) << "\n";
    out << "global checksum: " << verdict(h->globalChecksum, h->globalChecksumComputed) << "\n";
}

const char* slotKind(const rom::PictureSlot& slot)
{
    switch (slot.kind) {
    case rom::PictureSlot::Kind::Trainer: return "trainer";
    case rom::PictureSlot::Kind::Unown: return slot.back ? "unown-back" : "unown-front";
    case rom::PictureSlot::Kind::Pokemon: break;
    }
    return slot.back ? "pokemon-back" : "pokemon-front";
}

struct SlotLine {
    std::string text;
    bool sound = false; // the picture could be read
};

// Kind, number, name, offset, stream bytes, tiles WxH, palette; "-" for
// what cannot be read, so that no field is empty.
SlotLine slotLine(const rom::RomFile& rom, const rom::PictureSlot& slot, int nameLength)
{
    using K = rom::PictureSlot::Kind;
    const bool trainer = slot.kind == K::Trainer;
    const int pokemon = slot.kind == K::Unown ? rom::kUnownNumber : slot.number;
    std::string name;
    if (!trainer)
        if (auto at = rom::PokemonNameLocation(rom, pokemon, nameLength))
            if (auto field = rom.read(*at, nameLength, rom::RomPart::Name))
                name = rom::DecodeGameText(*field);
    rom::ExtractRequest request;
    request.trainer = trainer;
    request.trainerNumber = slot.number;
    request.pokemonNumber = pokemon;
    request.unown = slot.kind == K::Unown;
    request.unownIndex = slot.number;
    request.back = slot.back;
    const auto picture = rom::ExtractFromRom(rom, request);
    const auto offset = rom::ReadPicturePointer(rom, slot.pointerLocation());
    std::string palette;
    if (picture)
        palette = picture->palette.text;
    else if (auto words = rom::ReadPaletteWords(rom, rom::PaletteLocation(trainer, pokemon, false)))
        palette = words->text;

    std::string line = slotKind(slot);
    const auto field = [&](const std::string& text) { line += "\t" + (text.empty() ? "-" : text); };
    field(std::to_string(slot.number));
    field(name);
    field(offset ? Hex(*offset) : "");
    field(picture ? std::to_string(picture->stream.size()) : "");
    field(picture ? std::to_string(picture->width / 8) + "x" + std::to_string(picture->height / 8) : "");
    field(palette);
    return {line + "\n", picture.has_value()};
}

int finish(Streams s, const rom::RomFile& rom, bool languageKnown, size_t soundPictures)
{
    if (languageKnown && soundPictures > 0)
        return kExitOk;
    const auto mismatch = languageKnown ? rom::GameMismatch::NoPicture : rom::GameMismatch::LanguageUnknown;
    return Failed(s, rom::NotThisGame(rom.path(), mismatch).english);
}

} // namespace

int Info(const Args& args, Streams s)
{
    if (args.positional.size() != 1)
        return Usage(s, "info", "info needs ROM");
    auto nameLength = NumberOption(args, "--name-length");
    if (!nameLength)
        return Usage(s, "info", nameLength.error());
    if (*nameLength && !args.has("--slots"))
        return Usage(s, "info", "--name-length goes with --slots");
    if (*nameLength && (**nameLength < 1 || **nameLength > rom::kMaxNameLength))
        return Usage(s, "info", "--name-length takes 1 to " + std::to_string(rom::kMaxNameLength) + " bytes");
    auto rom = rom::RomFile::open(args.positional[0]);
    if (!rom)
        return Failed(s, rom.error().english);
    auto language = rom::DetectRomLanguage(*rom);
    if (args.has("--slots")) {
        size_t sound = 0;
        for (const rom::PictureSlot& slot : rom::AllPictureSlots()) {
            const SlotLine line = slotLine(*rom, slot, static_cast<int>(nameLength->value_or(10)));
            s.out << line.text;
            sound += line.sound;
        }
        return finish(s, *rom, language.has_value(), sound);
    }
    s.out << "file: " << rom->path().string() << "\n";
    s.out << "size: " << Hex(rom->size()) << " (" << rom->size() << " bytes)\n";
    header(*rom, s.out);
    std::optional<rom::RomLanguage> known;
    if (!language) {
        s.out << "language: unknown (" << language.error().english << ")\n";
    } else {
        known = *language;
        s.out << "language: " << (*language == rom::RomLanguage::German ? "German" : "English") << "\n";
        auto base = rom::ReadNameTableBase(*rom, *language);
        s.out << "name table: " << (base ? Hex(*base) : base.error().english) << "\n";
    }
    const size_t sound = pictureTables(*rom, s.out);
    palettesAndRecords(*rom, known, s.out);
    return finish(s, *rom, known.has_value(), sound);
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
    const NamedInput input{args.positional[0], "the input"};
    if (auto clash = OutputOverInput(args.positional[1], "the output", {&input, 1}))
        return Failed(s, *clash);
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
