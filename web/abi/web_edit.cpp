#include "web_edit.h"

#include "batch_plan.h"
#include "cartridge_header.h"
#include "game_check.h"
#include "game_text.h"
#include "palette_file.h"

namespace orv::web {

namespace {

// As the command line commits a change: only into a ROM of these games, the
// global checksum last.
std::expected<Edited, std::string> finish(const rom::RomImage& rom, rom::BytePatch patch, std::string_view romName,
                                          Language language)
{
    Edited edited;
    edited.patches.push_back(std::move(patch));
    if (auto checksum = rom::GlobalChecksumPatch(rom, edited.patches))
        edited.patches.push_back(std::move(*checksum));
    auto bytes = rom::ApplyPatches(rom, edited.patches);
    if (!bytes)
        return std::unexpected(Refused(language, Text(language, bytes.error(), romName)));
    edited.bytes = std::move(*bytes);
    const auto before = rom.bytes();
    for (const rom::BytePatch& p : edited.patches)
        for (int64_t at = p.offset; at < p.end(); ++at)
            edited.changedBytes += before[static_cast<size_t>(at)] != edited.bytes[static_cast<size_t>(at)];
    return edited;
}

std::unexpected<std::string> refusal(Language language, const Error& error, std::string_view romName)
{
    return std::unexpected(Refused(language, Text(language, error, romName)));
}

} // namespace

std::expected<Edited, std::string> SetPalette(const rom::RomImage& rom, const rom::Slot& slot, const PalettePair& pair,
                                              std::string_view romName, Language language)
{
    if (auto mismatch = rom::FindGameMismatch(rom))
        return refusal(language, *mismatch, romName);
    rom::Slot front = slot;
    front.back = false;
    auto patch = rom::PlanPaletteChange(rom, front, pair);
    if (!patch)
        return refusal(language, patch.error(), romName);
    return finish(rom, std::move(*patch), romName, language);
}

std::expected<Edited, std::string> SetName(const rom::RomImage& rom, int number, std::string_view name,
                                           std::string_view romName, Language language)
{
    if (auto mismatch = rom::FindGameMismatch(rom))
        return refusal(language, *mismatch, romName);
    if (name.empty())
        return refusal(language, {.kind = ErrorKind::EmptyName}, romName);
    auto bytes = rom::NameFieldBytes(name, kNameLength);
    if (!bytes)
        return refusal(language, bytes.error(), romName);
    auto location = rom::PokemonNameLocation(rom, number, kNameLength);
    if (!location)
        return refusal(language, location.error(), romName);
    return finish(rom, {rom::PatchKind::Name, *location, std::move(*bytes)}, romName, language);
}

std::expected<PalettePair, std::string> ParsePal(std::string_view text, std::string_view fileName, Language language)
{
    auto pair = rom::ParsePalFile(text);
    if (!pair)
        return std::unexpected(Text(language, pair.error(), fileName));
    return *pair;
}

} // namespace orv::web
