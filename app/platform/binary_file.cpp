#include "binary_file.h"

#include "file_commit.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {
std::unexpected<IoError> fail(const char* operation, int code = errno)
{
    return std::unexpected(IoError{code, operation});
}
} // namespace

std::expected<BinaryFile, IoError> BinaryFile::open(const std::filesystem::path& path)
{
    // O_NONBLOCK keeps a pipe or a device from blocking the open; such files
    // are refused right after it.
    int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_RDONLY;
    int fd;
    do {
        fd = ::open(path.c_str(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return fail("open");
    BinaryFile file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail("open");
    if (!S_ISREG(st.st_mode))
        return fail("open", S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile);
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        return fail("open");
    return file;
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

BinaryFile::~BinaryFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::expected<int64_t, IoError> BinaryFile::size() const
{
    struct stat st {};
    if (::fstat(fd_, &st) != 0)
        return fail("size");
    return static_cast<int64_t>(st.st_size);
}

std::expected<size_t, IoError> BinaryFile::readSomeAt(int64_t offset, std::span<uint8_t> data) const
{
    if (offset < 0)
        return fail("seek", EINVAL);
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::pread(fd_, data.data() + done, data.size() - done,
                            static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail("read");
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return done;
}

std::expected<void, IoError> BinaryFile::readAt(int64_t offset, std::span<uint8_t> data) const
{
    auto n = readSomeAt(offset, data);
    if (!n)
        return std::unexpected(n.error());
    if (*n != data.size())
        return fail("read", 0);
    return {};
}

std::expected<std::vector<uint8_t>, IoError> ReadWholeFile(const std::filesystem::path& path, int64_t maxBytes)
{
    auto file = BinaryFile::open(path);
    if (!file)
        return std::unexpected(file.error());
    auto size = file->size();
    if (!size)
        return std::unexpected(size.error());
    if (*size > maxBytes)
        return fail("read", EFBIG);
    std::vector<uint8_t> data(static_cast<size_t>(*size));
    auto n = file->readSomeAt(0, data);
    if (!n)
        return std::unexpected(n.error());
    data.resize(*n);
    return data;
}

std::expected<void, IoError> WriteWholeFile(const std::filesystem::path& path,
                                            std::span<const uint8_t> data, bool flush)
{
    return ReplaceFile(path, data, {.flush = flush});
}

bool IsReadOnlyFile(const std::filesystem::path& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true; // no write bit at all, even root should leave it alone
    return ::access(path.c_str(), W_OK) != 0;
}

int DescriptorShortage()
{
    // Loading a library takes a few at once (its folder, the file, the maps).
    int fds[8];
    int opened = 0, code = 0;
    for (int& fd : fds) {
        fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            code = errno;
            break;
        }
        ++opened;
    }
    for (int i = 0; i < opened; ++i)
        ::close(fds[i]);
    return code == EMFILE || code == ENFILE ? code : 0;
}

// The failures a file operation meets, in German; others keep the system's text.
std::string DescribeIoError(const IoError& error)
{
    return error.operation + ": " + SystemErrorEnglish(error.code);
}

} // namespace orv
