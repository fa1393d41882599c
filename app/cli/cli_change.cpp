#include "cli_change.h"

#include "binary_file.h"
#include "cartridge_header.h"
#include "cli_common.h"

namespace orv::cli {

const char kChangeHelp[] =
    "The global checksum (0x14E..0x14F) is rewritten as the last patch of every\n"
    "change; the header checksum stays, since nothing in the header changes.\n"
    "  --patch FILE      write the change as a patch (FILE ends in .bps or .ips)\n"
    "                    against the ROM as read; the ROM stays untouched\n"
    "  --keep-checksum   leave the global checksum (0x14E..0x14F) as it is\n"
    "  --dry-run         list the byte patches and change nothing\n";

std::expected<std::optional<PatchTarget>, std::string> PatchOption(const Args& args)
{
    const std::string* file = args.value("--patch");
    if (!file)
        return std::nullopt;
    auto format = rom::PatchFormatOfPath(*file);
    if (!format)
        return std::unexpected("--patch needs a file name ending in .bps or .ips, not \"" + *file + "\"");
    return PatchTarget{*file, *format};
}

std::expected<FinishedChange, std::string> FinishChange(const Args& args, rom::RomChange& change,
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
        return std::unexpected(bytes.error().english + " Nothing was written.");
    const bool dryRun = args.has("--dry-run");
    if (done.patch) {
        const std::filesystem::path& file = done.patch->path;
        // A patch written through a link to the ROM would replace the ROM.
        const NamedInput rom{change.rom().path(), "the ROM"};
        if (auto clash = OutputOverInput(file, "the patch", {&rom, 1}))
            return std::unexpected(*clash);
        auto written = rom::MakePatch(done.patch->format, change.rom().bytes(), *bytes);
        if (!written)
            return std::unexpected(written.error().english + " Nothing was written.");
        done.patchBytes = static_cast<int64_t>(written->size());
        if (dryRun)
            return done;
        if (auto saved = writeWholeFile(file, *written); !saved)
            return std::unexpected("the patch \"" + file.string() + "\" could not be written (" +
                                   describeIoError(saved.error()) + "). Nothing was written.");
        done.patchWritten = true;
        return done;
    }
    if (dryRun)
        return done;
    if (auto committed = change.Commit(*bytes); !committed)
        return std::unexpected(committed.error().english);
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

const char* PatchName(rom::PatchKind kind)
{
    switch (kind) {
    case rom::PatchKind::ZeroOldPicture: return "zeros over the old picture";
    case rom::PatchKind::PictureData: return "picture data";
    case rom::PatchKind::Palette: return "palette";
    case rom::PatchKind::Name: return "name";
    case rom::PatchKind::PicturePointer: return "picture pointer";
    case rom::PatchKind::SizeByte: return "size byte";
    case rom::PatchKind::Checksum: return "global checksum";
    }
    return "?";
}

} // namespace orv::cli
