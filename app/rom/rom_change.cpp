#include "rom_change.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "file_commit.h"

namespace orv::rom {

namespace {

std::string quoted(const std::filesystem::path& path) { return "\"" + path.string() + "\""; }

RomError changed(const std::filesystem::path& path)
{
    return {RomError::Kind::FileChanged,
            "Die Datei " + quoted(path) + " hat sich seit dem Lesen verändert, es wurde nichts geschrieben.", 0,
            "The file " + quoted(path) + " changed since it was read, nothing was written."};
}

// The replacement would lose the ROM's owner, group or an attribute.
std::optional<RomError> ownershipLost(const std::filesystem::path& path, const IoError& error)
{
    const std::string german = systemErrorGerman(error.code), english = systemErrorEnglish(error.code);
    std::string what, was;
    if (error.operation == "keep owner") {
        what = "gehört einem anderen Benutzer (Benutzer " + error.detail + "); ersetzt gehörte sie Ihnen";
        was = "belongs to another user (user " + error.detail + "); replaced, it would belong to you";
    } else if (error.operation == "keep group") {
        what = "gehört der Gruppe " + error.detail + ", der Sie nicht angehören; ersetzt verlöre sie diese Gruppe";
        was = "belongs to the group " + error.detail + ", which you are not in; replaced, it would lose that group";
    } else if (error.operation == "keep attributes") {
        const std::string name = error.detail.empty() ? "" : " \"" + error.detail + "\"";
        what = "hat erweiterte Attribute oder ACLs, die ihr Ersatz nicht bekommen kann (" +
               (name.empty() ? german : "Attribut" + name + ", " + german) + ")";
        was = "has extended attributes or ACLs that its replacement cannot get (" +
              (name.empty() ? english : "attribute" + name + ", " + english) + ")";
    } else {
        return std::nullopt;
    }
    return RomError{RomError::Kind::WriteFailed,
                    "Die Datei " + quoted(path) + " " + what +
                        ". Es wurde nichts geschrieben; als Patch (orvista-cli mit --patch) lässt sich die Änderung "
                        "weiterhin schreiben.",
                    error.code,
                    "The file " + quoted(path) + " " + was +
                        ". Nothing was written; --patch still writes the change as a patch."};
}

RomError writeFailed(const std::filesystem::path& path, const IoError& error)
{
    if (auto lost = ownershipLost(path, error))
        return *lost;
    const std::string german = systemErrorGerman(error.code), english = systemErrorEnglish(error.code);
    if (error.operation == "create temporary")
        return {RomError::Kind::WriteFailed,
                "Neben der Datei " + quoted(path) + " kann keine temporäre Datei angelegt werden (" + german +
                    "). Es wurde nichts geschrieben.",
                error.code,
                "No temporary file can be created beside " + quoted(path) + " (" + english +
                    "), so the ROM cannot be replaced safely. Nothing was written."};
    return {RomError::Kind::WriteFailed,
            "Die Datei " + quoted(path) + " konnte nicht geschrieben werden (" + operationGerman(error.operation) + ", " + german +
                "). Sie ist unverändert.",
            error.code,
            "The file " + quoted(path) + " could not be written (" + error.operation + ", " + english +
                "). It is unchanged."};
}

} // namespace

std::expected<std::vector<uint8_t>, RomError> ApplyPatches(const RomFile& rom, std::span<const BytePatch> patches)
{
    std::vector<uint8_t> bytes(rom.bytes().begin(), rom.bytes().end());
    for (const BytePatch& patch : patches) {
        if (!rom.holds(patch.offset, static_cast<int64_t>(patch.bytes.size())))
            return std::unexpected(OutOfRange(NumberField::Offset, patch.offset, 0,
                                              rom.size() - static_cast<int64_t>(patch.bytes.size())));
        std::ranges::copy(patch.bytes, bytes.begin() + patch.offset);
    }
    return bytes;
}

std::expected<RomChange, RomError> RomChange::Begin(const std::filesystem::path& path,
                                                    std::chrono::milliseconds wait)
{
    auto lock = LockedFile::lock(path, wait);
    if (!lock) {
        if (!lock.error().busy)
            return std::unexpected(InsertOpenFailed(lock.error().io.code));
        return std::unexpected(RomError{
            RomError::Kind::Busy,
            "Die Datei " + quoted(path) +
                " wird gerade von einem anderen Orvista geändert. Es wurde nichts geschrieben; bitte später noch "
                "einmal versuchen.",
            EWOULDBLOCK,
            "The file " + quoted(path) +
                " is being changed by another instance of Orvista. Nothing was written; try again later."});
    }
    auto rom = RomFile::read(path, lock->file());
    if (!rom)
        return std::unexpected(rom.error());
    return RomChange(std::move(*lock), std::move(*rom));
}

std::expected<void, RomError> RomChange::CheckReplaceable() const
{
    if (auto kept = checkOwnerCanBeKept(rom_.path()); !kept)
        return std::unexpected(writeFailed(rom_.path(), kept.error()));
    return {};
}

bool RomChange::unchangedSinceRead() const
{
    // Writers that take no lock: the path must still name the file read, as read.
    if (!lock_.stillAtPath(rom_.path()))
        return false;
    auto now = readWholeFile(rom_.path(), kMaxRomBytes);
    return now && std::ranges::equal(*now, rom_.bytes());
}

std::expected<void, RomError> RomChange::Commit(std::span<const uint8_t> bytes)
{
    const auto& path = rom_.path();
    if (static_cast<int64_t>(bytes.size()) != rom_.size())
        return std::unexpected(OutOfRange(NumberField::Offset, static_cast<int64_t>(bytes.size()), rom_.size(),
                                          rom_.size()));
    if (std::ranges::equal(bytes, rom_.bytes()))
        return {};
    // Checked before the temporary is written, so a change found early costs
    // nothing, and again after it is flushed, right before the rename.
    if (!unchangedSinceRead())
        return std::unexpected(changed(path));
    auto pending = PendingReplacement::write(path, bytes, {.flush = true, .keepOwnerStrictly = true, .finalStep = true});
    if (!pending)
        return std::unexpected(writeFailed(path, pending.error()));
    if (!unchangedSinceRead())
        return std::unexpected(changed(path)); // the temporary goes with `pending`
    if (auto replaced = pending->commit(); !replaced)
        return std::unexpected(writeFailed(path, replaced.error()));
    removeStaleTemporaries(path);
    return {};
}

} // namespace orv::rom
