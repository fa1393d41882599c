#include "target_check.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

#include "binary_file.h"

namespace orv::rom {

std::expected<int64_t, RomError> CheckRomTarget(const std::string& path, int64_t encodedLength)
{
    const std::filesystem::path file(path);
    const std::string quoted = "\"" + path + "\"";
    struct stat st {};
    const int code = path.empty() || ::stat(file.c_str(), &st) != 0 ? (path.empty() ? ENOENT : errno) : 0;
    if (code == ENOENT || code == ENOTDIR)
        return std::unexpected(RomError{
            RomError::Kind::OpenFailed,
            "Die Datei " + quoted + " existiert nicht. Bilder können nur in existierende Dateien insertet werden.",
            ENOENT, "The file " + quoted + " does not exist. Pictures can only be inserted into existing files."});
    if (code == ELOOP)
        return std::unexpected(RomError{
            RomError::Kind::OpenFailed,
            quoted + " ist eine Schleife symbolischer Links (" + systemErrorGerman(code) +
                "). Bilder können nur in existierende Dateien insertet werden.",
            code,
            quoted + " is a loop of symbolic links (" + systemErrorEnglish(code) +
                "). Pictures can only be inserted into existing files."});
    if (code != 0)
        return std::unexpected(OpenFailed(file, code));
    if (S_ISDIR(st.st_mode))
        return std::unexpected(RomError{
            RomError::Kind::OpenFailed,
            quoted + " ist ein Ordner. Bilder können nur in Dateien insertet werden.", EISDIR,
            quoted + " is a folder. Pictures can only be inserted into files."});
    if (!S_ISREG(st.st_mode))
        return std::unexpected(RomError{
            RomError::Kind::OpenFailed,
            quoted + " ist keine gewöhnliche Datei, sondern ein Gerät, eine Pipe oder ein Socket. Bilder können nur "
                     "in Dateien insertet werden.",
            kNotRegularFile,
            quoted + " is not a regular file but a device, a pipe or a socket. Pictures can only be inserted into "
                     "files."});
    if (isReadOnlyFile(file))
        return std::unexpected(RomError{
            RomError::Kind::OpenFailed,
            "Die Datei " + quoted + " ist schreibgeschütz. Orvista kann nicht in schreibgeschützte Dateien schreiben.",
            EACCES, "The file " + quoted + " is read-only. Orvista cannot write into read-only files."});
    const auto length = static_cast<int64_t>(st.st_size);
    if (length < encodedLength)
        return std::unexpected(RomError{RomError::Kind::TooShort, "Datei zu klein für Bilddaten", 0,
                                        "The file " + quoted + " is too small for the picture data (" +
                                            std::to_string(length) + " bytes, the data needs " +
                                            std::to_string(encodedLength) + ")."});
    return length;
}

} // namespace orv::rom
