#include "target_check.h"

#include <cerrno>
#include <filesystem>

#include "binary_file.h"

namespace orv {

std::expected<int64_t, Error> CheckRomTarget(const std::string& path, int64_t encodedLength)
{
    const std::filesystem::path file(path);
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(file, ec))
        return std::unexpected(Error{.kind = ErrorKind::TargetMissing, .systemCode = ENOENT});
    if (IsReadOnlyFile(file))
        return std::unexpected(Error{.kind = ErrorKind::TargetReadOnly, .systemCode = EACCES});
    const auto length = std::filesystem::file_size(file, ec);
    if (ec)
        return std::unexpected(Error{.kind = ErrorKind::TargetUnreadable, .systemCode = ec.value()});
    if (static_cast<int64_t>(length) < encodedLength)
        return std::unexpected(Error{
            .kind = ErrorKind::TargetTooSmall, .value = static_cast<int64_t>(length), .high = encodedLength});
    return static_cast<int64_t>(length);
}

} // namespace orv
