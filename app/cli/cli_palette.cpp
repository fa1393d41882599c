// orvista-cli palette: a slot's palette pair shown, set from two colours or
// a .pal file, or written to one; a change goes through the same single
// commit as insert.

#include <chrono>
#include <cstdio>
#include <ostream>

#include "batch_plan.h"
#include "binary_file.h"
#include "classify_path.h"
#include "cli.h"
#include "cli_change.h"
#include "cli_commands.h"
#include "messages_en.h"
#include "palette_file.h"
#include "rom_io.h"
#include "rom_layout.h"

namespace orv::cli {

namespace {

constexpr int64_t kMaxPalFileBytes = 64 << 10;

GbcColor wordOf(const PalettePair& pair, int colour)
{
    return static_cast<GbcColor>((pair[2 * colour] | pair[2 * colour + 1] << 8) & 0x7FFF);
}

// "F8D030 (0x1B5F)": the colour as the packs' PNGs write it, and the game's word.
std::string colourText(GbcColor word)
{
    char text[32];
    std::snprintf(text, sizeof text, "%06X (0x%04X)", rom::PackColour(word), word);
    return text;
}

// "RRGGBB" or "#RRGGBB" as a game colour word (each component divided by 8).
std::optional<GbcColor> colourWord(std::string_view text)
{
    if (text.starts_with('#'))
        text.remove_prefix(1);
    const auto value = text.size() == 6 ? ParseNumber("0x" + std::string(text)) : std::nullopt;
    if (!value || *value < 0)
        return std::nullopt;
    return ToGbcColor(static_cast<uint32_t>(*value));
}

std::string slotTitle(const rom::Slot& slot, int64_t location)
{
    const std::string at = " palette at " + HexEnglish(location);
    const std::string kind = slot.shiny ? " shiny" : " normal";
    switch (slot.kind) {
    case rom::Slot::Kind::Trainer: return "trainer " + std::to_string(slot.number) + at;
    case rom::Slot::Kind::Unown:
        return "Unown " + std::to_string(slot.number) + kind + at +
               ": the pair of Pokemon 201, shared by all 26 Unown letters";
    case rom::Slot::Kind::Pokemon: break;
    }
    const std::string shared = slot.number == rom::kUnownNumber ? ", shared by all 26 Unown letters" : "";
    return "Pokemon " + std::to_string(slot.number) + kind + at + shared;
}

// The pair --set gives; none without it. The error is a usage error.
std::expected<std::optional<PalettePair>, std::string> setPair(const Args& args)
{
    const std::string* set = args.value("--set");
    if (!set)
        return std::nullopt;
    const size_t space = set->find(' ');
    const auto one = colourWord(set->substr(0, space)), two = colourWord(set->substr(space + 1));
    if (!one || !two)
        return std::unexpected("--set needs two colours RRGGBB RRGGBB, not \"" + *set + "\"");
    return PalettePair{static_cast<uint8_t>(*one & 0xFF), static_cast<uint8_t>(*one >> 8),
                       static_cast<uint8_t>(*two & 0xFF), static_cast<uint8_t>(*two >> 8)};
}

// The pair --from's file gives; none without it.
std::expected<std::optional<PalettePair>, std::string> fromPair(const Args& args)
{
    if (const std::string* from = args.value("--from")) {
        auto bytes = ReadWholeFile(*from, kMaxPalFileBytes);
        if (!bytes)
            return std::unexpected("could not read \"" + *from + "\": " + DescribeIoError(bytes.error()));
        auto pair = rom::ParsePalFile({reinterpret_cast<const char*>(bytes->data()), bytes->size()});
        if (!pair)
            return std::unexpected(en::Text(pair.error(), *from));
        return std::optional(*pair);
    }
    return std::nullopt;
}

int refused(Streams s, std::string message)
{
    if (message.find("othing was written") == std::string::npos && message.find("unchanged") == std::string::npos)
        message += " Nothing was written.";
    return Failed(s, message);
}

int show(const Args& args, Streams s, const rom::Slot& slot, const std::filesystem::path& romPath)
{
    const NamedInput input{romPath, "the ROM"};
    if (const std::string* to = args.value("--to"))
        if (auto clash = OutputOverInput(*to, "the output", {&input, 1}))
            return Failed(s, *clash);
    auto rom = ReadRomFile(romPath);
    if (!rom)
        return Failed(s, rom.error(), romPath.string());
    const int64_t location = rom::PaletteLocation(slot);
    auto words = rom::ReadPaletteWords(*rom, location);
    if (!words)
        return Failed(s, words.error(), romPath.string());
    s.out << slotTitle(slot, location) << "\n";
    for (int c = 0; c < 2; ++c)
        s.out << "colour " << c + 1 << ": " << colourText(wordOf(words->pair, c)) << "\n";
    const std::string* to = args.value("--to");
    if (!to)
        return kExitOk;
    const std::filesystem::path out = *to;
    const std::string text = rom::FormatPalFile(words->pair);
    if (auto written = WriteWholeFile(out, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}); !written)
        return Failed(s, "could not write \"" + out.string() + "\": " + DescribeIoError(written.error()));
    s.out << "wrote " << out.string() << "\n";
    return kExitOk;
}

} // namespace

int Palette(const Args& args, Streams s)
{
    if (args.positional.size() != 1)
        return Usage(s, "palette", "palette needs ROM");
    auto slot = SlotFrom(args);
    if (!slot)
        return Usage(s, "palette", slot.error());
    if (!*slot)
        return Usage(s, "palette", "give one of --pokemon, --unown and --trainer");
    const int given = args.has("--set") + args.has("--from") + args.has("--to");
    if (given > 1)
        return Usage(s, "palette", "give one of --set, --from and --to");
    if (const std::string* to = args.value("--to"); to && !std::filesystem::path(*to).extension().string().ends_with(".pal"))
        return Usage(s, "palette", "--to needs a file name ending in .pal, not \"" + *to + "\"");
    const bool changing = args.has("--set") || args.has("--from");
    for (const char* option : {"--dry-run", "--patch", "--keep-checksum", "--wait"})
        if (args.has(option) && !changing)
            return Usage(s, "palette", std::string(option) + " goes with --set or --from");
    auto wait = LockWaitOption(args);
    if (!wait)
        return Usage(s, "palette", wait.error());
    auto patch = PatchOption(args);
    if (!patch)
        return Usage(s, "palette", patch.error());
    auto set = setPair(args);
    if (!set)
        return Usage(s, "palette", set.error());
    const std::filesystem::path romPath = args.positional[0];
    // The slot's numbers are refused before the ROM is read.
    auto checked = rom::CheckedSlot(**slot);
    if (!checked)
        return Failed(s, checked.error(), romPath.string());
    rom::Slot shown = **slot;
    shown.back = false;
    if (!changing)
        return show(args, s, shown, romPath);

    auto pair = *set ? set : fromPair(args);
    if (!pair)
        return Failed(s, pair.error());
    if (ClassifyPath(romPath.string()) != FileKind::Rom)
        return Failed(s, "\"" + romPath.string() + "\" is not a ROM (.gb or .gbc).");
    if (*patch) {
        std::vector<NamedInput> inputs{{romPath, "the ROM"}};
        if (const std::string* from = args.value("--from"))
            inputs.push_back({*from, "the palette file"});
        if (auto clash = OutputOverInput((*patch)->path, "the patch", inputs))
            return refused(s, *clash);
    }
    auto change = BeginRomChange(romPath, *wait, patch->has_value());
    if (!change)
        return refused(s, change.error());
    auto planned = rom::PlanPaletteChange(change->rom(), shown, **pair);
    if (!planned)
        return refused(s, en::Text(planned.error(), romPath.string()));
    const auto before = rom::ReadPaletteWords(change->rom(), planned->offset).value();
    auto finished = FinishChange(args, *change, {*planned});
    if (!finished)
        return refused(s, finished.error());
    s.out << slotTitle(shown, planned->offset) << "\n";
    for (int c = 0; c < 2; ++c)
        s.out << "colour " << c + 1 << ": " << colourText(wordOf(before.pair, c)) << " -> "
              << colourText(wordOf(**pair, c)) << "\n";
    s.out << (finished->romReplaced ? "set in " : "would set in ") << romPath.string() << "\n";
    for (const rom::BytePatch& p : finished->patches)
        s.out << "  " << HexEnglish(p.offset) << " " << p.bytes.size() << " " << en::PatchName(p.kind) << "\n";
    if (finished->patch)
        s.out << PatchLine(*finished, romPath) << "\n";
    return kExitOk;
}

} // namespace orv::cli
