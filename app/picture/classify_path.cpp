#include "classify_path.h"

#include <cctype>

namespace orv {

static bool matchesAt(std::string_view name, size_t i, std::string_view lowerNeedle)
{
    if (i + lowerNeedle.size() > name.size())
        return false;
    for (size_t k = 0; k < lowerNeedle.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(name[i + k])) != lowerNeedle[k])
            return false;
    return true;
}

FileKind ClassifyPath(std::string_view path)
{
    // Only the file's own name counts: "gold.gbc-pictures/pokemon-001-back.png"
    // is a picture, and so is anything under ".orvista/".
    const size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    for (size_t i = name.size(); i-- > 0;) {
        if (matchesAt(name, i, ".gb"))
            return FileKind::Rom;
        if (matchesAt(name, i, ".orv"))
            return FileKind::Orv;
    }
    return FileKind::Picture;
}

} // namespace orv
