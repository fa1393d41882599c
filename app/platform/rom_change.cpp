#include "rom_change.h"

#include <algorithm>
#include <cerrno>

#include "file_commit.h"
#include "rom_io.h"

namespace orv {

namespace {

std::unexpected<Error> fail(ErrorKind kind, int code = 0, std::string text = {})
{
    return std::unexpected(Error{.kind = kind, .systemCode = code, .text = std::move(text)});
}

std::unexpected<Error> writeFailed(const IoError& error)
{
    // The replacement would lose the ROM's owner, group or an attribute.
    if (error.operation == "keep owner")
        return fail(ErrorKind::OwnerNotKept, error.code, error.detail);
    if (error.operation == "keep group")
        return fail(ErrorKind::GroupNotKept, error.code, error.detail);
    if (error.operation == "keep attributes")
        return fail(ErrorKind::AttributesNotKept, error.code, error.detail);
    if (error.operation == "create temporary")
        return fail(ErrorKind::TemporaryFailed, error.code);
    return fail(ErrorKind::WriteFailed, error.code, error.operation);
}

} // namespace

std::expected<RomChange, Error> RomChange::begin(const std::filesystem::path& path, std::chrono::milliseconds wait)
{
    auto lock = LockedFile::lock(path, wait);
    if (!lock) {
        if (!lock.error().busy)
            return fail(ErrorKind::LockOpenFailed, lock.error().io.code);
        return fail(ErrorKind::Busy, EWOULDBLOCK);
    }
    auto rom = ReadRomFile(lock->file());
    if (!rom)
        return std::unexpected(rom.error());
    return RomChange(path, std::move(*lock), std::move(*rom));
}

std::expected<void, Error> RomChange::checkReplaceable() const
{
    if (auto kept = CheckOwnerCanBeKept(path_); !kept)
        return writeFailed(kept.error());
    return {};
}

bool RomChange::unchangedSinceRead() const
{
    // Writers that take no lock: the path must still name the file read, as read.
    if (!lock_.stillAtPath(path_))
        return false;
    auto now = ReadWholeFile(path_, rom::kMaxRomBytes);
    return now && std::ranges::equal(*now, rom_.bytes());
}

std::expected<void, Error> RomChange::commit(std::span<const uint8_t> bytes)
{
    if (static_cast<int64_t>(bytes.size()) != rom_.size())
        return std::unexpected(
            OutOfRangeError(NumberField::Offset, static_cast<int64_t>(bytes.size()), rom_.size(), rom_.size()));
    if (std::ranges::equal(bytes, rom_.bytes()))
        return {};
    // Checked before the temporary is written, so a change found early costs
    // nothing, and again after it is flushed, right before the rename.
    if (!unchangedSinceRead())
        return fail(ErrorKind::FileChanged);
    auto pending =
        PendingReplacement::write(path_, bytes, {.flush = true, .keepOwnerStrictly = true, .finalStep = true});
    if (!pending)
        return writeFailed(pending.error());
    if (!unchangedSinceRead())
        return fail(ErrorKind::FileChanged); // the temporary goes with `pending`
    if (auto replaced = pending->commit(); !replaced)
        return writeFailed(replaced.error());
    RemoveStaleTemporaries(path_);
    return {};
}

} // namespace orv
