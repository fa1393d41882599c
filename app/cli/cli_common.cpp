#include "cli_common.h"

#include <cstdio>
#include <filesystem>
#include <ostream>

#include "cli.h"
#include "file_identity.h"

namespace orv::cli {

int Usage(Streams s, const std::string& command, const std::string& problem)
{
    s.err << "orvista-cli: " << problem << "\n"
          << "Try 'orvista-cli " << (command.empty() ? "" : command + " ") << "--help'.\n";
    return kExitUsage;
}

int Failed(Streams s, const std::string& message)
{
    s.err << "orvista-cli: " << message << "\n";
    return kExitFailed;
}

std::optional<std::string> OutputOverInput(const std::filesystem::path& output, const char* what,
                                           std::span<const NamedInput> inputs)
{
    std::vector<std::filesystem::path> paths;
    for (const NamedInput& input : inputs)
        paths.push_back(input.path);
    const auto clash = inputAtOutput(output, paths);
    if (!clash)
        return std::nullopt;
    const NamedInput& input = inputs[*clash];
    return std::string(what) + " \"" + output.string() + "\" names " + input.role + " itself (\"" +
           input.path.string() + "\", through a link or another name); writing it would destroy " + input.role +
           ". Nothing was written.";
}

std::string Hex(int64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%s0x%llX", value < 0 ? "-" : "",
                  static_cast<unsigned long long>(value < 0 ? -value : value));
    return text;
}

std::expected<std::optional<Slot>, std::string> SlotFrom(const Args& args)
{
    std::optional<Slot> slot;
    for (const char* option : {"--pokemon", "--unown", "--trainer"}) {
        auto number = NumberOption(args, option);
        if (!number)
            return std::unexpected(number.error());
        if (!*number)
            continue;
        if (slot)
            return std::unexpected("give only one of --pokemon, --unown and --trainer");
        slot.emplace();
        const std::string name = option;
        if (name == "--trainer") {
            slot->trainer = true;
            slot->number = **number;
        } else if (name == "--unown") {
            slot->unown = true;
            slot->number = 201;
            slot->unownIndex = **number;
        } else {
            slot->number = **number;
        }
    }
    const bool back = args.has("--back"), shiny = args.has("--shiny");
    if ((back || shiny) && (!slot || slot->trainer))
        return std::unexpected("--back and --shiny go with --pokemon or --unown");
    if (slot) {
        slot->back = back;
        slot->shiny = shiny;
    }
    return slot;
}

namespace {
// Extraction and insertion requests name a slot with the same fields.
template <class Request>
void fillSlot(Request& r, const Slot& slot)
{
    r.trainer = slot.trainer;
    r.unown = slot.unown;
    r.unownIndex = slot.unownIndex;
    (slot.trainer ? r.trainerNumber : r.pokemonNumber) = slot.number;
    r.back = slot.back;
    r.shiny = slot.shiny;
}
} // namespace

rom::ExtractRequest SlotRequest(const std::filesystem::path& romPath, const Slot& slot)
{
    rom::ExtractRequest r;
    r.romPath = romPath;
    fillSlot(r, slot);
    return r;
}

void SetSlot(rom::InsertRequest& r, const Slot& slot) { fillSlot(r, slot); }

std::optional<PalettePair> SlotPalette(const rom::RomFile& rom, const Slot& slot)
{
    if (slot.number < 1 || slot.number > 255)
        return std::nullopt;
    auto palette = rom::ReadPaletteWords(
        rom, rom::PaletteLocation(slot.trainer, static_cast<int>(slot.number), slot.shiny && !slot.trainer));
    return palette ? std::optional(palette->pair) : std::nullopt;
}

std::string AnyShapeHint()
{
    return "Give --any-shape for a ROM whose code was changed to draw other shapes (a front picture up to 9 x 9 "
           "tiles).";
}

std::vector<NamedSlot> AllSlots()
{
    std::vector<NamedSlot> slots;
    char name[32];
    for (int n = 1; n <= rom::kMaxPokemon; ++n)
        for (bool back : {false, true}) {
            std::snprintf(name, sizeof name, "pokemon-%03d-%s", n, back ? "back" : "front");
            slots.push_back({Slot{.number = n, .back = back}, name});
        }
    for (int u = 1; u <= rom::kMaxUnownIndex; ++u)
        for (bool back : {false, true}) {
            std::snprintf(name, sizeof name, "unown-%02d-%s", u, back ? "back" : "front");
            slots.push_back({Slot{.unown = true, .number = rom::kUnownNumber, .unownIndex = u, .back = back}, name});
        }
    for (int t = 1; t <= rom::kMaxTrainer; ++t) {
        std::snprintf(name, sizeof name, "trainer-%02d", t);
        slots.push_back({Slot{.trainer = true, .number = t}, name});
    }
    return slots;
}

} // namespace orv::cli
