#include "cli_common.h"

#include <cstdio>
#include <filesystem>
#include <ostream>

#include "cli.h"
#include "file_identity.h"
#include "messages_en.h"
#include "pack_layout.h"

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
    const auto clash = InputAtOutput(output, paths);
    if (!clash)
        return std::nullopt;
    const NamedInput& input = inputs[*clash];
    return std::string(what) + " \"" + output.string() + "\" names " + input.role + " itself (\"" +
           input.path.string() + "\", through a link or another name); writing it would destroy " + input.role +
           ". Nothing was written.";
}

int Failed(Streams s, const Error& error, std::string_view path)
{
    return Failed(s, en::Text(error, path));
}

std::string AnyShapeHint()
{
    return "Give --any-shape for a ROM whose code was changed to draw other shapes (a front picture up to 9 x 9 "
           "tiles).";
}

std::expected<std::optional<rom::Slot>, std::string> SlotFrom(const Args& args)
{
    using K = rom::Slot::Kind;
    std::optional<rom::Slot> slot;
    for (const auto& [option, kind] : {std::pair{"--pokemon", K::Pokemon}, std::pair{"--unown", K::Unown},
                                       std::pair{"--trainer", K::Trainer}}) {
        auto number = NumberOption(args, option);
        if (!number)
            return std::unexpected(number.error());
        if (!*number)
            continue;
        if (slot)
            return std::unexpected("give only one of --pokemon, --unown and --trainer");
        slot = rom::Slot{kind, **number};
    }
    const bool back = args.has("--back"), shiny = args.has("--shiny");
    if ((back || shiny) && (!slot || slot->kind == K::Trainer))
        return std::unexpected("--back and --shiny go with --pokemon or --unown");
    if (slot) {
        slot->back = back;
        slot->shiny = shiny;
    }
    return slot;
}

const std::vector<NamedSlot>& NamedSlots()
{
    static const std::vector<NamedSlot> named = [] {
        std::vector<NamedSlot> all;
        for (const rom::Slot& slot : rom::AllPictureSlots(rom::Pokemon201::Listed))
            all.push_back({slot, rom::FlatName(slot)});
        return all;
    }();
    return named;
}

} // namespace orv::cli
