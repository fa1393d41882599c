#pragma once
// The checks of a ROM target before anything is planned for it.

#include <cstdint>
#include <expected>
#include <string>

#include "rom_error.h"

namespace orv::rom {

// The target's length when it exists, is writable and holds the data.
// Refusals, in this order (English texts beside them):
//   OpenFailed "Die Datei "<p>" existiert nicht. Bilder können nur in existierende Dateien insertet werden."
//   OpenFailed ""<p>" ist eine Schleife symbolischer Links (Systemfehler 40: ...). Bilder können nur in
//              existierende Dateien insertet werden."
//   OpenFailed ""<p>" ist ein Ordner. Bilder können nur in Dateien insertet werden."
//   OpenFailed ""<p>" ist keine gewöhnliche Datei, sondern ein Gerät, eine Pipe oder ein Socket. ..."
//   OpenFailed "Die Datei "<p>" konnte nicht geöffnet werden (Systemfehler <n>: <text>)." (other failures)
//   OpenFailed "Die Datei "<p>" ist schreibgeschütz. Orvista kann nicht in schreibgeschützte Dateien schreiben."
//   TooShort   "Datei zu klein für Bilddaten"
// A wildcard pattern counts as missing: nothing can be written into it.
std::expected<int64_t, RomError> CheckRomTarget(const std::string& path, int64_t encodedLength);

} // namespace orv::rom
