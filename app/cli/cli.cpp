#include "cli.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>
#include <ostream>
#include <vector>

#include "binary_file.h"
#include "cli_change.h"
#include "cli_coding.h"
#include "cli_commands.h"
#include "stop_signals.h"

namespace orv::cli {

namespace {

struct Command {
    const char* name;
    int (*run)(const Args&, Streams);
    std::set<std::string> withValue;
    std::set<std::string> switches;
    const char* summary;
    const char* help; // synopsis and options
    bool codingOptions = false;
    bool changeOptions = false; // FinishChange's options
};

std::set<std::string> with(std::set<std::string> options, const std::set<std::string>& more)
{
    options.insert(more.begin(), more.end());
    return options;
}

const char kSlotHelp[] =
    "  --pokemon N       Pokemon 1..251 (201 takes the Unown table's first form)\n"
    "  --unown U         Unown form 1..26\n"
    "  --trainer T       trainer 1..66\n"
    "  --back, --shiny   the back picture, the shiny palette (Pokemon and Unown)\n";

const std::vector<Command>& commands()
{
    static const std::vector<Command> table{
        {"info", Info, {"--name-length"}, {"--slots"}, "what a ROM holds and whether its tables look sound",
         "usage: orvista-cli info ROM [--slots [--name-length L]]\n"
         "Prints the size, the header's title, whether the header checksum and the\n"
         "global checksum are right, the language and name-table base, and checks\n"
         "every picture pointer, palette and base-data record.\n"
         "  --slots           instead, one line per slot with these fields, separated\n"
         "                    by tabs: kind (pokemon-front, pokemon-back, unown-front,\n"
         "                    unown-back, trainer), number, the Pokemon's name from\n"
         "                    the name table (- for trainers), offset, stream bytes,\n"
         "                    tiles wide x high, palette (as the wizard writes it);\n"
         "                    - where the slot's picture cannot be read\n"
         "  --name-length L   bytes of a name in the table (default 10)\n"},
        {"extract", Extract, with({"--offset", "--size", "--order"}, kSlotValues), kSlotSwitches,
         "one picture out of a ROM",
         "usage: orvista-cli extract ROM OUT (SLOT | --offset OFF [--size WxH] [--order vertical|horizontal])\n"
         "OUT ends in .png, .bmp, .dib, .orv, .2bpp or .lz.\n"
         "Slot pictures are read through the pointer tables in vertical tile order.\n"
         "At an offset the size follows from the data unless --size gives it\n"
         "(one side may be left out: 16x or x48).\n"},
        {"extract-all", ExtractAll, {"--format"}, {}, "every picture of a ROM into a folder",
         "usage: orvista-cli extract-all ROM DIR [--format png|bmp|orv|2bpp|lz]\n"
         "Writes pokemon-NNN-front/back, unown-NN-front/back and trainer-NN files\n"
         "(default format png). A picture that cannot be read is reported and\n"
         "skipped; the exit status is then 1.\n"},
        {"insert", Insert,
         with(with(with({"--offset", "--search-from", "--name", "--name-length", "--wait"}, kSlotValues),
                   kCodingValues),
              kChangeValues),
         with(with(with({"--delete-old", "--name-from-source", "--dry-run", "--overwrite", "--any-shape"},
                        kSlotSwitches),
                   kCodingSwitches),
              kChangeSwitches),
         "a picture or .orv file into a ROM",
         "usage: orvista-cli insert SOURCE ROM [SLOT] [--offset OFF | --search-from OFF]\n"
         "           [--delete-old] [--name TEXT | --name-from-source] [--name-length L]\n"
         "           [coding options] [--any-shape] [--overwrite] [--wait SECONDS]\n"
         "           [--patch FILE] [--keep-checksum] [--dry-run]\n"
         "SOURCE is a picture (BMP, GIF, ICO, CUR, PNG) or an .orv file. Without\n"
         "--offset the free-space search from --search-from (default 0) chooses the\n"
         "place. Without a slot only the data is written; with one, also its pointer,\n"
         "palette and size byte, and with a name option the Pokemon's name.\n"
         "A slot takes only the shapes the games draw whole: a Pokemon front picture\n"
         "40 x 40, 48 x 48 or 56 x 56, a back picture 48 x 48, a trainer picture\n"
         "56 x 56, an Unown front the size the 26 Unown's shared size byte holds.\n"
         "The ROM is replaced as a whole or not at all, and locked against other\n"
         "instances meanwhile. The header, the tables and other slots' pictures are\n"
         "never overwritten.\n"
         "  --delete-old      zero the slot's old picture first (kept when another\n"
         "                    picture or a table shares its bytes)\n"
         "  --any-shape       any shape, for a ROM whose code was changed to draw others\n"
         "                    (a front picture still up to 9 x 9 tiles)\n"
         "  --name TEXT       the new name (not empty); --name-from-source takes the\n"
         "                    file's name\n"
         "  --name-length L   bytes of a name in the table (default 10)\n"
         "  --overwrite       write over non-zero bytes the program knows nothing of\n"
         "  --wait SECONDS    how long to wait for another instance's lock (default 5)\n",
         true, true},
        {"insert-all", InsertAll, with({"--wait"}, kChangeValues), with({"--any-shape"}, kChangeSwitches),
         "every picture of a folder back into its slot",
         "usage: orvista-cli insert-all DIR ROM [--any-shape] [--wait SECONDS] [--dry-run] [--patch FILE]\n"
         "           [--keep-checksum]\n"
         "Every file of DIR named as extract-all names them (pokemon-025-front.png,\n"
         "unown-03-back.orv, trainer-12.bmp, ...; any picture format or .orv) goes\n"
         "into its slot, all in one commit: every picture or none.\n"
         "A picture whose tile data and palette equal the slot's is left alone.\n"
         "A changed one is compressed anew and written over its old stream when it\n"
         "fits there, else the old stream is zeroed and the free-space search\n"
         "places it. Colours keep their roles as with insert (the slot's own\n"
         "palette, or an indexed file's entries 1 and 2). Other files are listed\n"
         "as ignored. A changed picture in a shape its slot does not draw whole (as\n"
         "with insert) refuses the batch; the 26 Unown fronts may take a new shape\n"
         "together when all 26 are given in it.\n"
         "  --any-shape       any shape, for a ROM whose code was changed to draw others\n"
         "  --wait SECONDS    how long to wait for another instance's lock (default 5)\n",
         false, true},
        {"convert", Convert, kCodingValues, kCodingSwitches, "a picture or .orv file into another format",
         "usage: orvista-cli convert SOURCE OUT [coding options]\n"
         "OUT ends in .png, .bmp, .dib, .orv, .2bpp or .lz.\n",
         true},
        {"compress", Compress, {}, {}, "raw bytes into the games' compressed format",
         "usage: orvista-cli compress IN OUT\n"},
        {"decompress", Decompress, {"--offset"}, {}, "a compressed stream into raw bytes",
         "usage: orvista-cli decompress IN OUT [--offset OFF]\n"
         "Refuses data that is not one complete stream.\n"},
        {"search", Search, {"--length", "--from"}, {}, "the next free place in a ROM",
         "usage: orvista-cli search ROM --length N [--from OFF]\n"
         "Prints the offset where N bytes of picture data fit, searching from OFF\n"
         "(default 0) as the wizard's search does.\n"},
        {"space", Space, {"--min"}, {}, "the free space of a ROM, per bank",
         "usage: orvista-cli space ROM [--min N]\n"
         "Lists the runs of at least N zero bytes (default 64) where picture data may\n"
         "go: in the banks a picture pointer reaches (not bank 0, not 0x13 and 0x14),\n"
         "each within its bank, and not inside a table or a slot's picture. The\n"
         "search fits N bytes into a run of N + 2. One line per bank that holds free\n"
         "runs or pictures (distinct streams the slots lead to, and their bytes),\n"
         "then the total and the largest run.\n"},
    };
    return table;
}

void programHelp(std::ostream& out)
{
    out << "usage: orvista-cli COMMAND [ARGUMENTS] [OPTIONS]\n"
           "Moves pictures into and out of the ROMs, like the wizard, without asking.\n\n"
           "Commands:\n";
    for (const Command& c : commands()) {
        std::string name = c.name;
        name.resize(std::max<size_t>(name.size() + 1, 13), ' ');
        out << "  " << name << c.summary << "\n";
    }
    out << "\nNumbers are decimal, or hexadecimal after 0x or &H. 'orvista-cli COMMAND --help'\n"
           "describes a command. Exit status: 0 done, 1 refused or failed (a ROM is then\n"
           "unchanged), 2 wrong command line.\n";
}

void commandHelp(const Command& c, std::ostream& out)
{
    out << c.help;
    if (c.withValue.contains("--pokemon"))
        out << "SLOT:\n" << kSlotHelp;
    if (c.codingOptions)
        out << "Coding options:\n" << kCodingHelp;
    if (c.changeOptions)
        out << "Writing:\n" << kChangeHelp;
}

} // namespace

int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err)
{
    const Streams s{out, err};
    if (args.empty())
        return Usage(s, "", "no command given");
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        programHelp(out);
        return kExitOk;
    }
    const auto command =
        std::ranges::find_if(commands(), [&](const Command& c) { return args[0] == c.name; });
    if (command == commands().end())
        return Usage(s, "", "unknown command \"" + args[0] + "\"");
    auto parsed = ParseArgs(args.subspan(1), command->withValue, command->switches);
    if (parsed && parsed->has("--help")) {
        commandHelp(*command, out);
        return kExitOk;
    }
    if (!parsed)
        return Usage(s, command->name, parsed.error());
    // Memory running out is a failure like any other; what the command held
    // (a lock, a temporary) goes with the unwinding.
    try {
        return command->run(*parsed, s);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    if (finalStepDone()) {
        s.err << "orvista-cli: out of memory after the ROM was written (" << systemErrorEnglish(ENOMEM) << ").\n";
        return kExitOk;
    }
    return Failed(s, "out of memory (" + systemErrorEnglish(ENOMEM) + "). Nothing was written.");
}

} // namespace orv::cli
