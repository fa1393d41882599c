// orvista-cli space: where picture data may go, bank by bank, beside the
// pictures the banks hold.

#include <cstdio>
#include <ostream>

#include "cli.h"
#include "cli_commands.h"
#include "rom_io.h"
#include "space_map.h"

namespace orv::cli {

namespace {

constexpr int64_t kDefaultMinRun = 64;

std::string largestText(const std::optional<rom::FreeRun>& run)
{
    return run ? std::to_string(run->length) + " at " + HexEnglish(run->offset) : "-";
}

std::string row(const std::string& bank, int pictures, int64_t pictureBytes, size_t runs, int64_t freeBytes,
                const std::optional<rom::FreeRun>& largest)
{
    char text[160];
    std::snprintf(text, sizeof text, "%-6s %8d %13lld %9zu %10lld  %s\n", bank.c_str(), pictures,
                  static_cast<long long>(pictureBytes), runs, static_cast<long long>(freeBytes),
                  largestText(largest).c_str());
    return text;
}

} // namespace

int Space(const Args& args, Streams s)
{
    if (args.positional.size() != 1)
        return Usage(s, "space", "space needs ROM");
    auto min = NumberOption(args, "--min");
    if (!min)
        return Usage(s, "space", min.error());
    if (*min && **min < 1)
        return Usage(s, "space", "--min needs a number of bytes from 1 on");
    const int64_t minRun = min->value_or(kDefaultMinRun);
    const std::string& romPath = args.positional[0];
    auto rom = ReadRomFile(romPath);
    if (!rom)
        return Failed(s, rom.error(), romPath);
    auto map = rom::MapSpace(*rom, minRun);
    if (!map)
        return Failed(s, map.error(), romPath);

    s.out << romPath << ": runs of at least " << minRun
          << " zero bytes where picture data may go, and the slots' pictures\n";
    char header[120];
    std::snprintf(header, sizeof header, "%-6s %8s %13s %9s %10s  %s\n", "bank", "pictures", "picture bytes",
                  "free runs", "free bytes", "largest run");
    s.out << header;
    for (const rom::BankSpace& bank : map->banks)
        s.out << row(HexEnglish(bank.bank), bank.pictures, bank.pictureBytes, bank.runs.size(), bank.freeBytes,
                     bank.largest());
    s.out << row("total", map->pictures, map->pictureBytes, map->runs, map->freeBytes, map->largest);
    return kExitOk;
}

} // namespace orv::cli
