#include "target_check.h"

#include <filesystem>

#include "binary_file.h"
#include "file_exists.h"

namespace orv {

std::expected<int64_t, std::string> CheckRomTarget(const std::string& path, int64_t encodedLength)
{
    const std::filesystem::path file(path);
    std::error_code ec;
    if (!FileExists(QString::fromStdString(path)) || !std::filesystem::is_regular_file(file, ec))
        return std::unexpected("Die Datei \"" + path +
                               "\" existiert nicht. Bilder können nur in existierende Dateien insertet werden.");
    if (isReadOnlyFile(file))
        return std::unexpected("Die Datei \"" + path +
                               "\" ist schreibgeschütz. Orvista kann nicht in schreibgeschützte Dateien "
                               "schreiben.");
    const auto length = std::filesystem::file_size(file, ec);
    if (ec)
        return std::unexpected("Die Datei \"" + path + "\" konnte nicht gelesen werden.");
    if (static_cast<int64_t>(length) < encodedLength)
        return std::unexpected(std::string("Datei zu klein für Bilddaten"));
    return static_cast<int64_t>(length);
}

} // namespace orv
