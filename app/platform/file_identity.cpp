#include "file_identity.h"

#include <sys/stat.h>

namespace orv {

std::optional<size_t> inputAtOutput(const std::filesystem::path& output,
                                    std::span<const std::filesystem::path> inputs)
{
    struct stat out {};
    if (::stat(output.c_str(), &out) != 0)
        return std::nullopt; // nothing there yet: the output creates a new file
    for (size_t i = 0; i < inputs.size(); ++i) {
        struct stat in {};
        if (::stat(inputs[i].c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino)
            return i;
    }
    return std::nullopt;
}

} // namespace orv
