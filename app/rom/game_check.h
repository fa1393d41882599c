#pragma once
// Whether a file is a ROM of the games at all, before anything is planned in it.

#include <filesystem>
#include <optional>

#include "rom_error.h"
#include "rom_file.h"

namespace orv::rom {

enum class GameMismatch {
    LanguageUnknown, // the header's language byte is neither D nor E (or there is no header)
    NoPicture,       // no picture pointer leads to a picture
};

// None when the language is known and some slot's pointer leads to a whole picture.
std::optional<GameMismatch> FindGameMismatch(const RomFile& rom);

// NotThisGame "Die Datei "<p>" ist kein Rom von Pokemon Gold oder Silber
// (englisch oder deutsch): <reason>." English: ""<p>" is not a ROM of Pokemon
// Gold or Silver (English or German): the header's language byte is neither D
// nor E." (or "no picture pointer leads to a picture").
RomError NotThisGame(const std::filesystem::path& path, GameMismatch mismatch);

} // namespace orv::rom
