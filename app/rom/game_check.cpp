#include "game_check.h"

#include "extraction.h"
#include "rom_layout.h"
#include "rom_map.h"

namespace orv::rom {

std::optional<GameMismatch> FindGameMismatch(const RomFile& rom)
{
    if (!DetectRomLanguage(rom))
        return GameMismatch::LanguageUnknown;
    for (const PictureSlot& slot : AllPictureSlots()) {
        ExtractRequest request;
        request.trainer = slot.kind == PictureSlot::Kind::Trainer;
        request.unown = slot.kind == PictureSlot::Kind::Unown;
        request.trainerNumber = slot.number;
        request.pokemonNumber = request.unown ? kUnownNumber : slot.number;
        request.unownIndex = slot.number;
        request.back = slot.back;
        if (ExtractFromRom(rom, request))
            return std::nullopt;
    }
    return GameMismatch::NoPicture;
}

RomError NotThisGame(const std::filesystem::path& path, GameMismatch mismatch)
{
    const bool language = mismatch == GameMismatch::LanguageUnknown;
    return {RomError::Kind::NotThisGame,
            "Die Datei \"" + path.string() + "\" ist kein Rom von Pokemon Gold oder Silber (englisch oder deutsch): " +
                (language ? "Das Sprachbyte ihres Kopfes ist weder D noch E." : "Kein Bildzeiger führt zu einem Bild."),
            0,
            "\"" + path.string() + "\" is not a ROM of Pokemon Gold or Silver (English or German): " +
                (language ? "the header's language byte is neither D nor E." : "no picture pointer leads to a picture.")};
}

} // namespace orv::rom
