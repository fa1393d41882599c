#include "cli_change.h"

#include <cerrno>

#include "binary_file.h"
#include "cartridge_header.h"
#include "cli_common.h"
#include "game_check.h"
#include "messages_en.h"
#include "target_check.h"

namespace orv::cli {

const char kChangeHelp[] =
    "The global checksum (0x14E..0x14F) is rewritten as the last patch of every\n"
    "change; the header checksum stays, since nothing in the header changes.\n"
    "  --patch FILE      write the change as a patch (FILE ends in .bps or .ips)\n"
    "                    against the ROM as read; the ROM stays untouched\n"
    "  --keep-checksum   leave the global checksum (0x14E..0x14F) as it is\n"
    "  --dry-run         list the byte patches and change nothing\n";

std::expected<std::chrono::milliseconds, std::string> LockWaitOption(const Args& args)
{
    auto wait = NumberOption(args, "--wait");
    if (!wait)
        return std::unexpected(wait.error());
    if (*wait && (**wait < 0 || **wait > 3600))
        return std::unexpected("--wait takes 0 to 3600 seconds");
    return *wait ? std::chrono::milliseconds(**wait * 1000) : kDefaultLockWait;
}

std::expected<RomChange, std::string> BeginRomChange(const std::filesystem::path& rom,
                                                     std::chrono::milliseconds wait, bool intoPatch)
{
    const std::string name = rom.string();
    if (auto target = CheckRomTarget(name, 0); !target && !(intoPatch && target.error().systemCode == EACCES))
        return std::unexpected(en::Text(target.error(), name));
    // From this read to the commit the ROM stays locked, so a second change
    // plans from the ROM as this one leaves it.
    auto change = RomChange::begin(rom, wait);
    if (!change)
        return std::unexpected(en::Text(change.error(), name));
    if (!intoPatch)
        if (auto replaceable = change->checkReplaceable(); !replaceable)
            return std::unexpected(en::Text(replaceable.error(), name));
    if (auto mismatch = rom::FindGameMismatch(change->rom()))
        return std::unexpected(en::Text(*mismatch, name));
    return std::move(*change);
}

std::expected<std::optional<PatchTarget>, std::string> PatchOption(const Args& args)
{
    const std::string* file = args.value("--patch");
    if (!file)
        return std::nullopt;
    auto format = rom::PatchFormatOfName(*file);
    if (!format)
        return std::unexpected("--patch needs a file name ending in .bps or .ips, not \"" + *file + "\"");
    return PatchTarget{*file, *format};
}

std::expected<FinishedChange, std::string> FinishChange(const Args& args, RomChange& change,
                                                        const std::vector<rom::BytePatch>& patches)
{
    auto patch = PatchOption(args);
    if (!patch)
        return std::unexpected(patch.error() + ". Nothing was written.");
    FinishedChange done{.patches = patches, .patch = *patch};
    if (!args.has("--keep-checksum"))
        if (auto checksum = rom::GlobalChecksumPatch(change.rom(), done.patches))
            done.patches.push_back(std::move(*checksum));
    auto bytes = rom::ApplyPatches(change.rom(), done.patches);
    if (!bytes)
        return std::unexpected(en::Text(bytes.error(), change.path().string()) + " Nothing was written.");
    const bool dryRun = args.has("--dry-run");
    if (done.patch) {
        const std::filesystem::path& file = done.patch->path;
        // A patch written through a link to the ROM would replace the ROM.
        std::error_code ec;
        if (std::filesystem::equivalent(file, change.path(), ec))
            return std::unexpected("the patch \"" + file.string() + "\" names the ROM itself. Nothing was written.");
        const NamedInput rom{change.path(), "the ROM"};
        if (auto clash = OutputOverInput(file, "the patch", {&rom, 1}))
            return std::unexpected(*clash);
        auto written = rom::MakePatch(done.patch->format, change.rom().bytes(), *bytes);
        if (!written)
            return std::unexpected(en::Text(written.error(), change.path().string()) + " Nothing was written.");
        done.patchBytes = static_cast<int64_t>(written->size());
        if (dryRun)
            return done;
        if (auto saved = WriteWholeFile(file, *written); !saved)
            return std::unexpected("the patch \"" + file.string() + "\" could not be written (" +
                                   DescribeIoError(saved.error()) + "). Nothing was written.");
        done.patchWritten = true;
        return done;
    }
    if (dryRun)
        return done;
    if (auto committed = change.commit(*bytes); !committed)
        return std::unexpected(en::Text(committed.error(), change.path().string()));
    done.romReplaced = true;
    return done;
}

std::string PatchLine(const FinishedChange& done, const std::filesystem::path& rom)
{
    if (!done.patch)
        return {};
    return std::string(done.patchWritten ? "wrote " : "would write ") + done.patch->path.string() + ": " +
           rom::PatchFormatName(done.patch->format) + " patch of " + std::to_string(done.patchBytes) + " bytes; " +
           rom.string() + " is unchanged";
}

} // namespace orv::cli
