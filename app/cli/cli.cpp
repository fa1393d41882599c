#include "cli.h"

#include <map>
#include <ostream>

#include "cli_commands.h"

namespace orv::cli {

namespace {

const char kUsage[] =
    "usage:\n"
    "  orvista-cli extract ROM ((--pokemon N | --unown U) [--back] [--shiny] | --trainer T |\n"
    "                           --offset OFF [--size WxH] [--horizontal]) OUT.bmp|OUT.orv\n"
    "  orvista-cli insert ROM PICTURE|ORV (--offset OFF | --search)\n"
    "                     [--pokemon N | --unown U | --trainer T] [--back] [--shiny]\n"
    "                     [--delete-original] [--name NAME [--name-length L]] [--horizontal] [--dry-run]\n"
    "  orvista-cli info ROM\n"
    "  orvista-cli encode RAW OUT\n"
    "  orvista-cli decode STREAM OUT\n"
    "Numbers are decimal, or hexadecimal after 0x or &H.\n";

struct Command {
    int (*run)(const Args&, Streams);
    std::set<std::string> withValue;
    std::set<std::string> switches;
};

const std::map<std::string, Command>& commands()
{
    static const std::map<std::string, Command> table{
        {"extract",
         {Extract, {"--pokemon", "--unown", "--trainer", "--offset", "--size"}, {"--back", "--shiny", "--horizontal"}}},
        {"insert",
         {Insert,
          {"--pokemon", "--unown", "--trainer", "--offset", "--name", "--name-length"},
          {"--back", "--shiny", "--search", "--delete-original", "--horizontal", "--dry-run"}}},
        {"info", {Info, {}, {}}},
        {"encode", {Encode, {}, {}}},
        {"decode", {Decode, {}, {}}},
    };
    return table;
}

} // namespace

int Usage(Streams s, const std::string& problem)
{
    s.err << "orvista-cli: " << problem << "\n" << kUsage;
    return kExitUsage;
}

int Failed(Streams s, const std::string& message)
{
    s.err << message << "\n";
    return kExitFailed;
}

std::expected<SlotChoice, std::string> SlotFrom(const Args& args)
{
    SlotChoice slot;
    int count = 0;
    for (const char* option : {"--pokemon", "--unown", "--trainer"}) {
        auto number = NumberOption(args, option);
        if (!number)
            return std::unexpected(number.error());
        if (!*number)
            continue;
        ++count;
        slot.given = true;
        const std::string name = option;
        if (name == "--trainer") {
            slot.trainer = true;
            slot.number = **number;
        } else if (name == "--unown") {
            slot.unown = true;
            slot.number = 201;
            slot.unownIndex = **number;
        } else {
            slot.number = **number;
        }
    }
    if (count > 1)
        return std::unexpected("give only one of --pokemon, --unown and --trainer");
    return slot;
}

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err)
{
    const Streams s{out, err};
    if (args.empty())
        return Usage(s, "no command");
    const auto command = commands().find(args[0]);
    if (command == commands().end())
        return Usage(s, "unknown command " + args[0]);
    auto parsed = ParseArgs(args.subspan(1), command->second.withValue, command->second.switches);
    if (!parsed)
        return Usage(s, parsed.error());
    return command->second.run(*parsed, s);
}

} // namespace orv::cli
