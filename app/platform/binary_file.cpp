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

std::expected<std::vector<uint8_t>, IoError> readWholeFile(const std::filesystem::path& path, int64_t maxBytes)
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

std::expected<void, IoError> writeWholeFile(const std::filesystem::path& path,
                                            std::span<const uint8_t> data, bool flush)
{
    return replaceFile(path, data, {.flush = flush});
}

bool isReadOnlyFile(const std::filesystem::path& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true; // no write bit at all, even root should leave it alone
    return ::access(path.c_str(), W_OK) != 0;
}

int descriptorShortage()
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
static const char* germanSystemText(int code)
{
    switch (code) {
    case EPERM: return "Die Operation ist nicht erlaubt";
    case ENOENT: return "Datei oder Verzeichnis nicht gefunden";
    case EINTR: return "Unterbrochener Systemaufruf";
    case EIO: return "Eingabe-/Ausgabefehler";
    case EAGAIN: return "Die Ressource ist zur Zeit nicht verfügbar";
    case ENOMEM: return "Nicht genügend Hauptspeicher verfügbar";
    case EACCES: return "Keine Berechtigung";
    case EBUSY: return "Das Gerät oder die Ressource ist belegt";
    case EEXIST: return "Die Datei existiert bereits";
    case EXDEV: return "Ungültiger Link über Gerätegrenzen hinweg";
    case ENOTDIR: return "Ist kein Verzeichnis";
    case EISDIR: return "Ist ein Verzeichnis";
    case EMFILE: return "Zu viele offene Dateien";
    case ETXTBSY: return "Die Datei ist belegt";
    case EFBIG: return "Die Datei ist zu groß";
    case ENOSPC: return "Auf dem Gerät ist kein Speicherplatz mehr verfügbar";
    case EROFS: return "Das Dateisystem ist nur lesbar";
    case ENAMETOOLONG: return "Der Dateiname ist zu lang";
    case ELOOP: return "Zu viele Ebenen von symbolischen Links";
    case EDQUOT: return "Der zugewiesene Plattenplatz ist überschritten";
    default: return nullptr;
    }
}

std::string systemErrorGerman(int code)
{
    if (code == kNotRegularFile)
        return "keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe)";
    if (code == 0)
        return "unerwartetes Dateiende";
    const char* text = germanSystemText(code);
    return "Systemfehler " + std::to_string(code) + ": " + (text ? text : std::strerror(code));
}

std::string operationGerman(const std::string& operation)
{
    if (operation == "write")
        return "Schreiben";
    if (operation == "flush")
        return "Sichern auf den Datenträger";
    if (operation == "close")
        return "Schließen";
    if (operation == "rename")
        return "Umbenennen";
    return operation;
}

std::string systemErrorEnglish(int code)
{
    if (code == kNotRegularFile)
        return "not a regular file (a folder, a device or a pipe)";
    if (code == 0)
        return "unexpected end of file";
    return "system error " + std::to_string(code) + ": " + std::strerror(code);
}

std::string describeIoError(const IoError& error)
{
    return error.operation + ": " + systemErrorEnglish(error.code);
}

} // namespace orv
