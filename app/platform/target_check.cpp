#include "target_check.h"

#include <cerrno>
#include <filesystem>

#include "binary_file.h"

namespace orv::rom {

std::expected<int64_t, RomError> CheckRomTarget(const std::string& path, int64_t encodedLength)
{
    const std::filesystem::path file(path);
    const std::string quoted = "\"" + path + "\"";
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(file, ec))
        return std::unexpected(RomError{
            RomError::Kind::OpenFailed,
            "Die Datei " + quoted + " existiert nicht. Bilder können nur in existierende Dateien insertet werden.",
            ENOENT, "The file " + quoted + " does not exist. Pictures can only be inserted into existing files."});
    if (isReadOnlyFile(file))
        return std::unexpected(RomError{
            RomError::Kind::OpenFailed,
            "Die Datei " + quoted + " ist schreibgeschütz. Orvista kann nicht in schreibgeschützte Dateien schreiben.",
            EACCES, "The file " + quoted + " is read-only. Orvista cannot write into read-only files."});
    const auto length = std::filesystem::file_size(file, ec);
    if (ec)
        return std::unexpected(RomError{RomError::Kind::ReadFailed,
                                        "Die Datei " + quoted + " konnte nicht gelesen werden.", ec.value(),
                                        "The file " + quoted + " could not be read."});
    if (static_cast<int64_t>(length) < encodedLength)
        return std::unexpected(RomError{RomError::Kind::TooShort, "Datei zu klein für Bilddaten", 0,
                                        "The file " + quoted + " is too small for the picture data (" +
                                            std::to_string(length) + " bytes, the data needs " +
                                            std::to_string(encodedLength) + ")."});
    return static_cast<int64_t>(length);
}

} // namespace orv::rom
