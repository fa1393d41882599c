#include "classify_path.h"

#include <cctype>

namespace orv {

static bool matchesAt(std::string_view path, size_t i, std::string_view lowerNeedle)
{
    if (i + lowerNeedle.size() > path.size())
        return false;
    for (size_t k = 0; k < lowerNeedle.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(path[i + k])) != lowerNeedle[k])
            return false;
    return true;
}

FileKind ClassifyPath(std::string_view path)
{
    for (size_t i = path.size(); i-- > 0;) {
        if (matchesAt(path, i, ".gb"))
            return FileKind::Rom;
        if (matchesAt(path, i, ".orv"))
            return FileKind::Orv;
    }
    return FileKind::Picture;
}

} // namespace orv
