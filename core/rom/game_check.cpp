#include "game_check.h"

#include "extraction.h"
#include "rom_layout.h"

namespace orv::rom {

std::optional<Error> FindGameMismatch(const RomImage& rom)
{
    if (!DetectRomLanguage(rom))
        return Error{.kind = ErrorKind::NotThisGameLanguage};
    for (const Slot& slot : AllPictureSlots())
        if (ExtractFromRom(rom, {.slot = slot}))
            return std::nullopt;
    return Error{.kind = ErrorKind::NotThisGameNoPicture};
}

} // namespace orv::rom
