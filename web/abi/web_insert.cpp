#include "web_insert.h"

#include <optional>

#include "batch_plan.h"
#include "byte_patch.h"
#include "cartridge_header.h"
#include "colour_roles.h"
#include "colours.h"
#include "compression.h"
#include "gbc_color.h"
#include "insertion.h"
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

} // namespace

std::expected<CodedPicture, std::string> CodeForSlot(const rom::RomImage& rom, const rom::Slot& slot,
                                                     const SourcePicture& source, const std::string& name,
                                                     Language language)
{
    if (source.width < 8 || source.height < 8)
        return refused(language, Text(language, Error{.kind = ErrorKind::SourceTooSmall}, name));
    WorkingPicture picture = wholeTiles(source);
    auto colours = CollectColours(picture);
    if (!colours)
        return refused(language, Text(language, colours.error(), name));
    // As the command line without colour options: the first and second colour
    // found, unless the slot's colours or the file's table give the roles; a
    // role no colour takes keeps the slot's colour.
    const std::optional<PalettePair> slotPair = rom::SlotPalettePair(rom, slot);
    std::optional<Colour> colour1, colour2;
    if (colours->size() > kPreselectedColour1)
        colour1 = (*colours)[kPreselectedColour1];
    if (colours->size() > kPreselectedColour2)
        colour2 = (*colours)[kPreselectedColour2];
    std::optional<ColourRoles> roles = slotPair ? SlotColourRoles(*colours, *slotPair) : std::nullopt;
    if (!roles)
        roles = TableColourRoles(source.colourTable, *colours, slotPair);
    if (roles) {
        colour1 = roles->colour1;
        colour2 = roles->colour2;
    }
    if (slotPair) {
        const auto [slot1, slot2] = PairColours(*slotPair);
        colour1 = colour1.value_or(slot1);
        colour2 = colour2.value_or(slot2);
    }
    const ColourMapping mapping = ApplyColourMapping({picture.palette, colour1, colour2,
                                                      SubstituteColour(0, colour1.value_or(0), colour2.value_or(0)),
                                                      picture.width, picture.height});
    picture.palette = mapping.palette;
    auto coded = CodePicture({.picture = &picture, .rawLength = mapping.rawLength});
    if (!coded)
        return refused(language, Text(language, coded.error()));
    return CodedPicture{.tileData = std::move(coded->tileData),
                        .stream = std::move(coded->encodedData),
                        .colour1 = picture.palette[1],
                        .colour2 = picture.palette[2],
                        .width = picture.width,
                        .height = picture.height};
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
    done.report = "inserted " + std::to_string(coded.stream.size()) + " bytes at " + HexEnglish(plan->dataOffset) +
                  " of " + romName + "\n";
    for (const rom::BytePatch& patch : patches)
        done.report += "  " + HexEnglish(patch.offset) + " " + std::to_string(patch.bytes.size()) + " " +
                       en::PatchName(patch.kind) + "\n";
    for (const Note& note : plan->notes)
        done.report += "note: " + en::Text(note) + "\n";
    return done;
}

} // namespace orv::web
