#include "cli_change.h"

namespace orv::cli {

std::expected<void, std::string> FinishChange(const Args& args, rom::RomChange& change,
                                              const std::vector<rom::BytePatch>& patches)
{
    auto bytes = rom::ApplyPatches(change.rom(), patches);
    if (!bytes)
        return std::unexpected(bytes.error().english + " Nothing was written.");
    if (args.has("--dry-run"))
        return {};
    if (auto committed = change.Commit(*bytes); !committed)
        return std::unexpected(committed.error().english);
    return {};
}

} // namespace orv::cli
