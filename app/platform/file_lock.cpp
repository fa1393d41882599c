#include "file_lock.h"

#include <cerrno>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace orv {

namespace {

bool sameFile(int fd, const std::filesystem::path& path)
{
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

} // namespace

std::expected<LockedFile, LockError> LockedFile::lock(const std::filesystem::path& path,
                                                      std::chrono::milliseconds wait)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + wait;
    for (;;) {
        auto file = BinaryFile::open(path);
        if (!file)
            return std::unexpected(LockError{false, file.error()});
        // flock belongs to the open file, not the process: a lock of our own
        // elsewhere in this process blocks as well, and closing another
        // descriptor of the file does not release it.
        if (::flock(file->descriptor(), LOCK_EX | LOCK_NB) == 0) {
            if (sameFile(file->descriptor(), path))
                return LockedFile(std::move(*file));
            continue; // renamed over while we waited: lock what the path names now
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            return std::unexpected(LockError{false, IoError{errno, "lock"}});
        if (Clock::now() >= deadline)
            return std::unexpected(LockError{true, {}});
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool LockedFile::stillAtPath(const std::filesystem::path& path) const
{
    return sameFile(file_.descriptor(), path);
}

} // namespace orv
