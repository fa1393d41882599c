#pragma once

#include <QString>

namespace orv {

// True for an existing file or folder, and for a wildcard pattern ("*", "?")
// in the last path component that matches at least one entry of its folder.
bool FileExists(const QString& path);

} // namespace orv
