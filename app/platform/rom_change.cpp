#include "rom_change.h"

#include <algorithm>
#include <cerrno>

#include "file_commit.h"
#include "rom_io.h"

namespace orv {

namespace {

std::unexpected<Error> fail(ErrorKind kind, int code = 0, std::string step = {})
{
    return std::unexpected(Error{.kind = kind, .systemCode = code, .text = std::move(step)});
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

std::expected<void, Error> RomChange::commit(std::span<const uint8_t> bytes)
{
    if (static_cast<int64_t>(bytes.size()) != rom_.size())
        return std::unexpected(
            OutOfRangeError(NumberField::Offset, static_cast<int64_t>(bytes.size()), rom_.size(), rom_.size()));
    if (std::ranges::equal(bytes, rom_.bytes()))
        return {};
    // Writers that take no lock: the path must still name the file read, as read.
    if (!lock_.stillAtPath(path_))
        return fail(ErrorKind::FileChanged);
    auto now = ReadWholeFile(path_, rom::kMaxRomBytes);
    if (!now || !std::ranges::equal(*now, rom_.bytes()))
        return fail(ErrorKind::FileChanged);
    if (auto replaced = ReplaceFile(path_, bytes, {.flush = true}); !replaced) {
        const IoError& error = replaced.error();
        if (error.operation == "create temporary")
            return fail(ErrorKind::TemporaryFailed, error.code);
        return fail(ErrorKind::WriteFailed, error.code, error.operation);
    }
    RemoveStaleTemporaries(path_);
    return {};
}

} // namespace orv
