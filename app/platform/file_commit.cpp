#include "file_commit.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace orv {

namespace {

constexpr char kTemporaryPrefix[] = ".~orvista-tmp-";

std::unexpected<IoError> fail(const char* operation, int code = errno)
{
    return std::unexpected(IoError{code, operation});
}

// ".~orvista-tmp-<name>-": dots become underscores, so a temporary of
// "gold.gbc" neither ends in nor contains ".gb" or ".orv" and is never taken
// for a ROM or an own picture file.
std::string temporaryStem(const std::filesystem::path& target)
{
    std::string name = target.filename().string().substr(0, 200);
    for (char& c : name)
        if (c == '.')
            c = '_';
    return kTemporaryPrefix + name + "-";
}

std::filesystem::path folderOf(const std::filesystem::path& target)
{
    const auto parent = target.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

void syncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd); // the rename is done; a failure here only costs durability
        ::close(fd);
    }
}

bool writeAll(int fd, std::span<const uint8_t> data)
{
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::filesystem::path ReplacementTarget(const std::filesystem::path& path)
{
    std::filesystem::path target = path;
    // A loop of links ends here; the rename then replaces the last link.
    for (int depth = 0; depth < 40; ++depth) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(target, ec))
            return target;
        const auto next = std::filesystem::read_symlink(target, ec);
        if (ec)
            return target;
        target = next.is_absolute() ? next : folderOf(target) / next;
    }
    return target;
}

std::expected<void, IoError> ReplaceFile(const std::filesystem::path& path, std::span<const uint8_t> data,
                                         ReplaceOptions options)
{
    const std::filesystem::path target = ReplacementTarget(path);
    const std::filesystem::path folder = folderOf(target);
    std::string name = (folder / temporaryStem(target)).string() + "XXXXXX";
    std::vector<char> pattern(name.begin(), name.end());
    pattern.push_back('\0');
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0)
        return fail("create temporary");
    const std::string temporary(pattern.data());
    const auto abandon = [&](const char* operation, int code) {
        ::unlink(temporary.c_str());
        return fail(operation, code);
    };

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (::fchmod(fd, old.st_mode & 07777) != 0) {
            const int code = errno;
            ::close(fd);
            return abandon("write", code);
        }
        (void)!::fchown(fd, old.st_uid, old.st_gid); // only root may give a file away
    } else {
        const mode_t mask = ::umask(0); // mkstemp made it 0600; a new file gets the usual bits
        ::umask(mask);
        (void)::fchmod(fd, 0666 & ~mask);
    }
    if (!writeAll(fd, data)) {
        const int code = errno;
        ::close(fd);
        return abandon("write", code);
    }
    if (options.flush && ::fsync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        return abandon("flush", code);
    }
    if (::close(fd) != 0)
        return abandon("close", errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return abandon("rename", errno);
    if (options.flush)
        syncFolder(folder);
    return {};
}

bool IsReplacementTemporary(const std::filesystem::path& path)
{
    return path.filename().string().starts_with(kTemporaryPrefix);
}

void RemoveStaleTemporaries(const std::filesystem::path& path)
{
    const std::filesystem::path target = ReplacementTarget(path);
    const std::string stem = temporaryStem(target);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folderOf(target), ec)) {
        const std::string name = entry.path().filename().string();
        // The stem and exactly the six characters mkstemp adds.
        if (name.size() == stem.size() + 6 && name.starts_with(stem) && entry.is_regular_file(ec))
            std::filesystem::remove(entry.path(), ec);
    }
}

} // namespace orv
