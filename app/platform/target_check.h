#pragma once
// The checks of a ROM target before anything is planned for it.

#include <cstdint>
#include <expected>
#include <string>

#include "error.h"

namespace orv {

// The target's length when it exists, is writable and holds the data.
// Refusals, in this order: TargetMissing (systemCode ENOENT; a wildcard
// pattern counts as missing), TargetLinkLoop, OpenFailed (other failures),
// TargetFolder, TargetNotRegular (a device, a pipe or a socket),
// TargetReadOnly (EACCES), TargetTooSmall.
std::expected<int64_t, Error> CheckRomTarget(const std::string& path, int64_t encodedLength);

} // namespace orv
