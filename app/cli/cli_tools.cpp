// orvista-cli info, search, compress and decompress.

#include <cstdio>
#include <ostream>

#include "binary_file.h"
#include "cartridge_header.h"
#include "cli.h"
#include "cli_commands.h"
#include "codec.h"
#include "extraction.h"
#include "free_space.h"
#include "game_check.h"
#include "game_text.h"
#include "messages_en.h"
#include "rom_identity.h"
#include "rom_io.h"
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
std::string paletteProblem(const rom::RomImage& rom, const std::string& path, int64_t location)
{
    auto palette = rom::ReadPaletteWords(rom, location);
    if (!palette)
        return en::Text(palette.error(), path);
    if ((palette->pair[1] | palette->pair[3]) & 0x80)
        return "colour words at " + HexEnglish(location) + " have bit 15 set";
    return {};
}

// How many slot pictures are sound.
size_t pictureTables(const rom::RomImage& rom, const std::string& path, std::ostream& out)
{
    using K = rom::Slot::Kind;
    Tally pokemon("Pokemon pictures"), unown("Unown pictures"), trainers("trainer pictures");
    size_t sound = 0;
    for (const NamedSlot& named : NamedSlots()) {
        Tally& tally = named.slot.kind == K::Trainer ? trainers : named.slot.kind == K::Unown ? unown : pokemon;
        auto picture = rom::ExtractFromRom(rom, {.slot = named.slot});
        tally.count(named.name, picture ? std::string() : en::Text(picture.error(), path));
        sound += picture.has_value();
    }
    for (const Tally* tally : {&pokemon, &unown, &trainers})
        tally->print(out);
    return sound;
}

void palettesAndRecords(const rom::RomImage& rom, const std::string& path, std::optional<rom::RomLanguage> language,
                        std::ostream& out)
{
    Tally palettes("palettes");
    for (int n = 1; n <= rom::kMaxPokemon; ++n)
        for (bool shiny : {false, true})
            palettes.count("Pokemon " + std::to_string(n) + (shiny ? " shiny" : ""),
                           paletteProblem(rom, path, rom::PaletteLocation(false, n, shiny)));
    for (int t = 1; t <= rom::kMaxTrainer; ++t)
        palettes.count("trainer " + std::to_string(t), paletteProblem(rom, path, rom::PaletteLocation(true, t, false)));
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
        if (auto read = rom.read(at, std::span(&first, 1), RomPart::SizeByte); !read)
            problem = en::Text(read.error(), path);
        else if (first != n)
            problem = "record at " + HexEnglish(at) + " starts with " + std::to_string(first);
        records.count("Pokemon " + std::to_string(n), problem);
    }
    records.print(out);
}

void header(const rom::RomImage& rom, std::ostream& out)
{
    const auto h = rom::ReadCartridgeHeader(rom.bytes());
    if (!h) {
        out << "header: none (the file ends before " << HexEnglish(rom::kHeaderEnd) << ")\n";
        return;
    }
    out << "title: " << h->title << (h->gameCode.empty() ? "" : " (game code " + h->gameCode + ")") << "\n";
    const auto verdict = [](int64_t stored, int64_t computed) {
        return HexEnglish(stored) + (stored == computed ? ", right" : ", wrong (should be " + HexEnglish(computed) + ")");
    };
    out << "header checksum: " << verdict(h->headerChecksum, h->headerChecksumComputed) << "\n";
    out << "global checksum: " << verdict(h->globalChecksum, h->globalChecksumComputed) << "\n";
}

// Which ROM this is: checksums of the whole file and the edition its header names.
void identity(const rom::RomImage& rom, std::ostream& out)
{
    const rom::RomIdentity id = rom::IdentifyRom(rom.bytes());
    char crc[16];
    std::snprintf(crc, sizeof crc, "%08X", id.crc32);
    out << "crc32: " << crc << "\n";
    out << "sha1: " << rom::Sha1Text(id.sha1) << (id.unchangedRetail ? " (unchanged retail)" : "") << "\n";
    const rom::Edition& e = id.edition;
    const char* version = e.version == rom::GameVersion::Gold     ? "Gold"
                          : e.version == rom::GameVersion::Silver ? "Silver"
                                                                  : nullptr;
    const char* language = e.language == rom::EditionLanguage::English  ? "English"
                           : e.language == rom::EditionLanguage::German ? "German"
                                                                        : nullptr;
    std::string text;
    if (version && language)
        text = std::string(language) + " " + version;
    else if (version)
        text = std::string(version) + ", language unknown";
    else
        text = "unknown, the header names neither Gold nor Silver";
    out << "edition: " << text << (e.gameCode.empty() ? "" : " (game code " + e.gameCode + ")") << "\n";
}

const char* slotKind(const rom::Slot& slot)
{
    switch (slot.kind) {
    case rom::Slot::Kind::Trainer: return "trainer";
    case rom::Slot::Kind::Unown: return slot.back ? "unown-back" : "unown-front";
    case rom::Slot::Kind::Pokemon: break;
    }
    return slot.back ? "pokemon-back" : "pokemon-front";
}

struct SlotLine {
    std::string text;
    bool sound = false; // the picture could be read
};

// Kind, number, name, offset, stream bytes, tiles WxH, palette; "-" for
// what cannot be read, so that no field is empty.
SlotLine slotLine(const rom::RomImage& rom, const rom::Slot& slot, int nameLength)
{
    const bool trainer = rom::IsTrainer(slot);
    const int pokemon = rom::PaletteNumber(slot);
    std::string name;
    if (!trainer)
        if (auto at = rom::PokemonNameLocation(rom, pokemon, nameLength))
            if (auto field = rom.read(*at, nameLength, RomPart::Name))
                name = rom::DecodeGameText(*field);
    const auto picture = rom::ExtractFromRom(rom, {.slot = slot});
    const auto offset = rom::ReadPicturePointer(rom, rom::PointerLocation(slot));
    std::string palette;
    if (picture)
        palette = picture->palette.text;
    else if (auto words = rom::ReadPaletteWords(rom, rom::PaletteLocation(trainer, pokemon, false)))
        palette = words->text;

    std::string line = slotKind(slot);
    const auto field = [&](const std::string& text) { line += "\t" + (text.empty() ? "-" : text); };
    field(std::to_string(slot.number));
    field(name);
    field(offset ? HexEnglish(*offset) : "");
    field(picture ? std::to_string(picture->stream.size()) : "");
    field(picture ? std::to_string(picture->width / 8) + "x" + std::to_string(picture->height / 8) : "");
    field(palette);
    return {line + "\n", picture.has_value()};
}

int finish(Streams s, const std::string& path, bool languageKnown, size_t soundPictures)
{
    if (languageKnown && soundPictures > 0)
        return kExitOk;
    return Failed(s, {.kind = languageKnown ? ErrorKind::NotThisGameNoPicture : ErrorKind::NotThisGameLanguage}, path);
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
    const std::string& path = args.positional[0];
    auto rom = ReadRomFile(path);
    if (!rom)
        return Failed(s, rom.error(), path);
    auto language = rom::DetectRomLanguage(*rom);
    if (args.has("--slots")) {
        size_t sound = 0;
        for (const rom::Slot& slot : rom::AllPictureSlots()) {
            const SlotLine line = slotLine(*rom, slot, static_cast<int>(nameLength->value_or(10)));
            s.out << line.text;
            sound += line.sound;
        }
        return finish(s, path, language.has_value(), sound);
    }
    s.out << "file: " << path << "\n";
    s.out << "size: " << HexEnglish(rom->size()) << " (" << rom->size() << " bytes)\n";
    header(*rom, s.out);
    identity(*rom, s.out);
    std::optional<rom::RomLanguage> known;
    if (!language) {
        s.out << "language: unknown (" << en::Text(language.error(), path) << ")\n";
    } else {
        known = *language;
        s.out << "language: " << (*language == rom::RomLanguage::German ? "German" : "English") << "\n";
        auto base = rom::ReadNameTableBase(*rom, *language);
        s.out << "name table: " << (base ? HexEnglish(*base) : en::Text(base.error(), path)) << "\n";
    }
    const size_t sound = pictureTables(*rom, path, s.out);
    palettesAndRecords(*rom, path, known, s.out);
    return finish(s, path, known.has_value(), sound);
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
    const std::string& path = args.positional[0];
    auto rom = ReadRomFile(path);
    if (!rom)
        return Failed(s, rom.error(), path);
    const auto found = rom::SearchNextOffset(rom->bytes(), start, n, rom->size() - n - 1);
    if (!found)
        return Failed(s, "no free place for " + std::to_string(n) + " bytes after offset " + HexEnglish(start) + ".");
    s.out << HexEnglish(*found) << "\n";
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
    auto in = ReadWholeFile(args.positional[0], kMaxRawBytes);
    if (!in)
        return Failed(s, "could not read \"" + args.positional[0] + "\": " + DescribeIoError(in.error()));
    auto result = transform(*in);
    if (!result)
        return Failed(s, "\"" + args.positional[0] + "\": " + result.error());
    if (auto written = WriteWholeFile(args.positional[1], *result); !written)
        return Failed(s, "could not write \"" + args.positional[1] + "\": " + DescribeIoError(written.error()));
    s.out << in->size() << " bytes -> " << result->size() << " bytes\n";
    return kExitOk;
}

using Bytes = std::expected<std::vector<uint8_t>, std::string>;

} // namespace

int Compress(const Args& args, Streams s)
{
    return transformFile(args, s, "compress", [](const std::vector<uint8_t>& raw) -> Bytes {
        auto encoded = codec::Encode(raw);
        if (!encoded)
            return std::unexpected(en::CodecText(encoded.error()));
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
            return std::unexpected("offset " + HexEnglish(at) + " lies outside the file's " + std::to_string(data.size()) +
                                   " bytes.");
        const auto stream = std::span(data).subspan(static_cast<size_t>(at));
        auto lengths = codec::Measure(stream, kMaxRawBytes);
        if (!lengths && lengths.error() == codec::Error::OutputFull)
            return std::unexpected("the stream at offset " + HexEnglish(at) + " would unpack to more than " +
                                   std::to_string(kMaxRawBytes) + " bytes.");
        if (!lengths)
            return std::unexpected("no complete stream at offset " + HexEnglish(at) + ": " +
                                   en::CodecText(lengths.error()));
        auto decoded = codec::Decode(stream.first(static_cast<size_t>(lengths->compressed)), lengths->decompressed);
        if (!decoded)
            return std::unexpected(en::CodecText(decoded.error()));
        return std::move(*decoded);
    });
}

} // namespace orv::cli
