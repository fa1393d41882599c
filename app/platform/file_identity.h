#pragma once
// Whether an output would take the place of a file the same work reads.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>

namespace orv {

// The first of `inputs` that `output` names as well: symbolic links followed,
// the same device and inode (so hard links and bind mounts count). None when
// the output names no existing file or no input. Every command and page that
// writes a file asks this before it writes anything.
std::optional<size_t> inputAtOutput(const std::filesystem::path& output,
                                    std::span<const std::filesystem::path> inputs);

} // namespace orv
