#include "web_insert.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>

#include "batch_plan.h"
#include "byte_patch.h"
#include "cartridge_header.h"
#include "gbc_color.h"
#include "insertion.h"
#include "orv_format.h"
#include "text_format.h"

namespace orv::web {

namespace {

std::unexpected<std::string> refused(Language language, std::string message)
{
    return std::unexpected(Refused(language, std::move(message)));
}

std::expected<CodedPicture, std::string> coded(std::expected<orv::CodedPicture, Error> result, Language language)
{
    if (!result)
        return std::unexpected(Text(language, result.error()));
    const WorkingPicture& p = result->picture;
    return CodedPicture{.tileData = std::move(result->tileData),
                        .stream = std::move(result->stream),
                        .colour1 = p.palette[1],
                        .colour2 = p.palette[2],
                        .width = p.width,
                        .height = p.height};
}

} // namespace

std::expected<DecodedPicture, std::string> LoadSource(const SourcePicture& source, const std::string& name,
                                                      Language language)
{
    auto decoded = DecodeRgba(source.rgba, source.width, source.height, source.colourTable);
    if (!decoded)
        return std::unexpected(Text(language, decoded.error(), name));
    return std::move(*decoded);
}

std::expected<CodedPicture, std::string> CodeLoaded(DecodedPicture loaded, const PictureCoding& coding,
                                                    Language language)
{
    return coded(CodeDecodedPicture(std::move(loaded), coding), language);
}

std::expected<CodedPicture, std::string> CodeOwnFile(std::span<const uint8_t> bytes, const std::string& name,
                                                     Language language)
{
    auto orv = DecodeOrv(bytes.first(std::min(bytes.size(), kOrvMaxReadBytes)));
    if (!orv)
        return std::unexpected(Text(language, orv.error(), name));
    return coded(CodeOwnPicture(*orv, {}), language);
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
