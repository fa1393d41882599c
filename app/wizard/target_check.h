#pragma once
// Page 4's checks of a ROM target, before the offset range is set.

#include <cstdint>
#include <expected>
#include <string>

namespace orv {

// The target's length when it exists, is writable and holds the data.
// Refusals, in this order:
//   "Die Datei "<p>" existiert nicht. Bilder können nur in existierende Dateien insertet werden."
//   "Die Datei "<p>" ist schreibgeschütz. Orvista kann nicht in schreibgeschützte Dateien schreiben."
//   "Datei zu klein für Bilddaten"
// A folder or a wildcard pattern counts as missing: nothing can be written into it.
std::expected<int64_t, std::string> CheckRomTarget(const std::string& path, int64_t encodedLength);

} // namespace orv
