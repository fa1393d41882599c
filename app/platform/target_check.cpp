#include "target_check.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include "binary_file.h"

namespace orv {

std::expected<int64_t, Error> CheckRomTarget(const std::string& path, int64_t encodedLength)
{
    const std::filesystem::path file(path);
    const auto refuse = [](ErrorKind kind, int code = 0) { return std::unexpected(Error{.kind = kind, .systemCode = code}); };
    struct stat st {};
    const int code = path.empty() || ::stat(file.c_str(), &st) != 0 ? (path.empty() ? ENOENT : errno) : 0;
    if (code == ENOENT || code == ENOTDIR)
        return refuse(ErrorKind::TargetMissing, ENOENT);
    if (code == ELOOP)
        return refuse(ErrorKind::TargetLinkLoop, code);
    if (code != 0)
        return refuse(ErrorKind::OpenFailed, code);
    if (S_ISDIR(st.st_mode))
        return refuse(ErrorKind::TargetFolder, EISDIR);
    if (!S_ISREG(st.st_mode))
        return refuse(ErrorKind::TargetNotRegular, kNotRegularFile);
    if (IsReadOnlyFile(file))
        return refuse(ErrorKind::TargetReadOnly, EACCES);
    const auto length = static_cast<int64_t>(st.st_size);
    if (length < encodedLength)
        return std::unexpected(Error{.kind = ErrorKind::TargetTooSmall, .value = length, .high = encodedLength});
    return length;
}

} // namespace orv
