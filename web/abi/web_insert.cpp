#include "web_insert.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>

#include "batch_plan.h"
#include "byte_patch.h"
#include "cartridge_header.h"
#include "colour_roles.h"
#include "colours.h"
#include "compression.h"
#include "gbc_color.h"
#include "insertion.h"
#include "orv_format.h"
#include "text_format.h"

namespace orv::web {

namespace {

// A pixel over white, as the desktop picture reader blends it.
Colour overWhite(const uint8_t* p)
{
    const unsigned alpha = p[3];
    if (alpha == 255)
        return Colour{p[0]} << 16 | Colour{p[1]} << 8 | p[2];
    const auto blend = [alpha](unsigned c) { return (c * alpha + 255 * (255 - alpha) + 127) / 255; };
    return blend(p[0]) << 16 | blend(p[1]) << 8 | blend(p[2]);
}

// Whole tiles from the top left, rows bottom-up as the core keeps them.
WorkingPicture wholeTiles(const SourcePicture& source)
{
    WorkingPicture picture;
    picture.resize(source.width / 8 * 8, source.height / 8 * 8);
    for (int t = 0; t < picture.height; ++t)
        for (int x = 0; x < picture.width; ++x)
            picture.at(x, picture.height - 1 - t) =
                overWhite(&source.rgba[(static_cast<size_t>(t) * source.width + x) * 4]);
    return picture;
}

std::unexpected<std::string> refused(Language language, std::string message)
{
    return std::unexpected(Refused(language, std::move(message)));
}

std::expected<CodedPicture, std::string> coded(WorkingPicture& picture, int32_t rawLength, Language language)
{
    auto result = CodePicture({.picture = &picture, .rawLength = rawLength});
    if (!result)
        return std::unexpected(Text(language, result.error()));
    return CodedPicture{.tileData = std::move(result->tileData),
                        .stream = std::move(result->encodedData),
                        .colour1 = picture.palette[1],
                        .colour2 = picture.palette[2],
                        .width = picture.width,
                        .height = picture.height};
}

// As the command line without colour options: the first and second colour
// found, unless the slot's colours or the file's table give the roles; a role
// no colour takes keeps the slot's colour.
std::expected<CodedPicture, std::string> codeUsual(LoadedSource loaded, const std::optional<PalettePair>& slotPair,
                                                   Language language)
{
    const auto& colours = loaded.colours;
    std::optional<Colour> colour1, colour2;
    if (colours.size() > kPreselectedColour1)
        colour1 = colours[kPreselectedColour1];
    if (colours.size() > kPreselectedColour2)
        colour2 = colours[kPreselectedColour2];
    std::optional<ColourRoles> roles = slotPair ? SlotColourRoles(colours, *slotPair) : std::nullopt;
    if (!roles)
        roles = TableColourRoles(loaded.colourTable, colours, slotPair);
    if (roles) {
        colour1 = roles->colour1;
        colour2 = roles->colour2;
    }
    if (slotPair) {
        const auto [slot1, slot2] = PairColours(*slotPair);
        colour1 = colour1.value_or(slot1);
        colour2 = colour2.value_or(slot2);
    }
    WorkingPicture& picture = loaded.picture;
    const ColourMapping mapping = ApplyColourMapping({picture.palette, colour1, colour2,
                                                      SubstituteColour(0, colour1.value_or(0), colour2.value_or(0)),
                                                      picture.width, picture.height});
    picture.palette = mapping.palette;
    return coded(picture, mapping.rawLength, language);
}

// As insert-all codes a pack picture beside its normal.pal: in the pair's
// colours they take their roles, grays their shades by lightness, any other
// picture its roles as usual; the colours written are the pair's.
std::expected<CodedPicture, std::string> codeWithPair(LoadedSource loaded, const CodingPairs& pairs, Language language)
{
    const PalettePair given = *pairs.givenPair;
    const bool inItsColours = loaded.colours.empty() || SlotColourRoles(loaded.colours, given);
    auto grays = inItsColours ? std::nullopt : ShadesByLightness(loaded.picture);
    std::expected<CodedPicture, std::string> result;
    if (grays) {
        const ColourMapping mapping =
            ApplyColourMapping({grays->palette, kGrayShade1, kGrayShade2, kBlack, grays->width, grays->height});
        grays->palette = mapping.palette;
        result = coded(*grays, mapping.rawLength, language);
    } else {
        result = codeUsual(std::move(loaded), inItsColours ? std::optional(given) : pairs.slotPair, language);
    }
    if (result) {
        const auto [colour1, colour2] = PairColours(given);
        result->colour1 = colour1;
        result->colour2 = colour2;
    }
    return result;
}
} // namespace

std::expected<LoadedSource, std::string> LoadSource(const SourcePicture& source, const std::string& name,
                                                    Language language)
{
    if (source.width < 8 || source.height < 8)
        return std::unexpected(Text(language, Error{.kind = ErrorKind::SourceTooSmall}, name));
    LoadedSource loaded{.picture = wholeTiles(source), .colourTable = source.colourTable};
    auto colours = CollectColours(loaded.picture);
    if (!colours)
        return std::unexpected(Text(language, colours.error(), name));
    loaded.colours = std::move(*colours);
    return loaded;
}

std::expected<CodedPicture, std::string> CodeLoaded(LoadedSource loaded, const CodingPairs& pairs, Language language)
{
    if (pairs.givenPair)
        return codeWithPair(std::move(loaded), pairs, language);
    return codeUsual(std::move(loaded), pairs.slotPair, language);
}

std::expected<CodedPicture, std::string> CodeOwnFile(std::span<const uint8_t> bytes, const std::string& name,
                                                     Language language)
{
    auto orv = DecodeOrv(bytes.first(std::min(bytes.size(), kOrvMaxReadBytes)));
    if (!orv)
        return std::unexpected(Text(language, orv.error(), name));
    WorkingPicture picture;
    picture.resize(orv->width, orv->height);
    picture.palette = {kWhite, orv->colours[0], orv->colours[1], kBlack, 0};
    auto coded = CodePicture({.fromPicture = false,
                              .picture = &picture,
                              .sourceStream = orv->stream,
                              .sourceTileData = orv->tileData,
                              .rawLength = static_cast<int32_t>(orv->tileData.size()),
                              .order = orv->order});
    if (!coded)
        return std::unexpected(Text(language, coded.error()));
    return CodedPicture{.tileData = std::move(coded->tileData),
                        .stream = std::move(coded->encodedData),
                        .colour1 = orv->colours[0],
                        .colour2 = orv->colours[1],
                        .width = orv->width,
                        .height = orv->height};
}

std::expected<CodedPicture, std::string> CodeForSlot(const rom::RomImage& rom, const rom::Slot& slot,
                                                     const SourcePicture& source, const std::string& name,
                                                     Language language)
{
    auto loaded = LoadSource(source, name, language);
    if (!loaded)
        return refused(language, loaded.error());
    auto coded = CodeLoaded(std::move(*loaded), {.slotPair = rom::SlotPalettePair(rom, slot)}, language);
    if (!coded)
        return refused(language, coded.error());
    return coded;
}

std::expected<Inserted, std::string> InsertCoded(const rom::RomImage& rom, const rom::Slot& slot,
                                                 const CodedPicture& coded, const std::string& romName,
                                                 Language language)
{
    rom::InsertRequest request{.encoded = coded.stream,
                               .slot = slot,
                               .colour1 = coded.colour1,
                               .colour2 = coded.colour2,
                               .width = coded.width,
                               .height = coded.height};
    auto plan = rom::PlanInsertionAtFreePlace(rom, request, 0);
    if (!plan)
        return refused(language, Text(language, plan.error(), romName));
    if (plan->overwrite.bytes > 0) {
        if (language == Language::German) {
            // The wizard's question before such a write, without the question.
            std::string question =
                de::OverwriteQuestion(plan->dataOffset, plan->overwrite.bytes, plan->overwrite.first);
            return refused(language, question.substr(0, question.find("\n\n")));
        }
        return refused(language, "the picture data would overwrite " + std::to_string(plan->overwrite.bytes) +
                                     " non-zero bytes from " + HexEnglish(plan->overwrite.first) +
                                     " that belong to nothing the program knows (code, text or other data).");
    }
    std::vector<rom::BytePatch> patches = plan->patches;
    if (auto checksum = rom::GlobalChecksumPatch(rom, patches))
        patches.push_back(std::move(*checksum));
    auto bytes = rom::ApplyPatches(rom, patches);
    if (!bytes)
        return refused(language, Text(language, bytes.error(), romName));

    Inserted done{.bytes = std::move(*bytes), .dataOffset = plan->dataOffset, .patches = patches.size()};
    // The command line's listing; words in the page's language, offsets as the page writes them.
    const bool german = language == Language::German;
    const std::string bytesText = std::to_string(coded.stream.size()) + (german ? " Bytes bei " : " bytes at ");
    done.report = german ? bytesText + HexEnglish(plan->dataOffset) + " in " + romName + " eingefügt\n"
                         : "inserted " + bytesText + HexEnglish(plan->dataOffset) + " of " + romName + "\n";
    for (const rom::BytePatch& patch : patches)
        done.report += "  " + HexEnglish(patch.offset) + " " + std::to_string(patch.bytes.size()) + " " +
                       (german ? de::PatchName(patch.kind) : en::PatchName(patch.kind)) + "\n";
    for (const Note& note : plan->notes)
        done.report += german ? "Hinweis: " + de::Text(note) + "\n" : "note: " + en::Text(note) + "\n";
    return done;
}

} // namespace orv::web
