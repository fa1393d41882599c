#include "picture_coding.h"

#include "colour_roles.h"
#include "colours.h"

namespace orv {

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

std::expected<CodedPicture, Error> finish(CodedPicture coded, CompressionRequest request, const PictureCoding& coding)
{
    request.picture = &coded.picture;
    request.order = coded.order;
    request.choice = coding.compression;
    request.blackWhite = coding.blackWhite;
    request.lightDark = coding.lightDark;
    auto result = CodePicture(request);
    if (!result)
        return std::unexpected(result.error());
    coded.tileData = std::move(result->tileData);
    coded.stream = std::move(result->encodedData);
    coded.picture.pixels = std::move(result->pixels);
    return coded;
}

std::expected<CodedPicture, Error> codeMapped(WorkingPicture picture, const ColourMappingRequest& mappingRequest,
                                              const PictureCoding& coding)
{
    CodedPicture coded;
    coded.order = coding.order.value_or(TileOrder::Vertical);
    coded.picture = std::move(picture);
    const ColourMapping mapping = ApplyColourMapping(mappingRequest);
    coded.picture.palette = mapping.palette;
    CompressionRequest request;
    request.rawLength = mapping.rawLength;
    return finish(std::move(coded), request, coding);
}

std::expected<CodedPicture, Error> codeUsual(DecodedPicture decoded, const PictureCoding& coding)
{
    const auto& colours = decoded.colours;
    const auto preselected = [&](int index) {
        return static_cast<size_t>(index) < colours.size() ? std::optional(colours[index]) : std::nullopt;
    };
    std::optional<Colour> colour1 = coding.colour1 ? coding.colour1 : preselected(kPreselectedColour1);
    std::optional<Colour> colour2 = coding.colour2 ? coding.colour2 : preselected(kPreselectedColour2);
    if (!coding.colour1 && !coding.colour2) {
        std::optional<ColourRoles> roles = coding.slotPair ? SlotColourRoles(colours, *coding.slotPair) : std::nullopt;
        if (!roles)
            roles = TableColourRoles(decoded.colourTable, colours, coding.slotPair);
        if (roles) {
            colour1 = roles->colour1;
            colour2 = roles->colour2;
        }
    }
    if (coding.slotPair) {
        const auto [slot1, slot2] = PairColours(*coding.slotPair);
        colour1 = colour1.value_or(slot1);
        colour2 = colour2.value_or(slot2);
    }
    const WorkingPicture& p = decoded.picture;
    const ColourMappingRequest mapping{
        p.palette, colour1, colour2, SubstituteColour(coding.others, colour1.value_or(0), colour2.value_or(0)),
        p.width,   p.height};
    return codeMapped(std::move(decoded.picture), mapping, coding);
}

std::expected<CodedPicture, Error> codeWithPair(DecodedPicture decoded, const PictureCoding& coding)
{
    const PalettePair given = *coding.givenPair;
    PictureCoding usual = coding;
    usual.givenPair.reset();
    const bool inItsColours = decoded.colours.empty() || SlotColourRoles(decoded.colours, given);
    auto grays = inItsColours ? std::nullopt : ShadesByLightness(decoded.picture);
    std::expected<CodedPicture, Error> coded;
    if (grays) {
        const ColourMappingRequest mapping{grays->palette, kGrayShade1,  kGrayShade2,
                                           kBlack,         grays->width, grays->height};
        coded = codeMapped(std::move(*grays), mapping, coding);
    } else {
        if (inItsColours)
            usual.slotPair = given;
        coded = codeUsual(std::move(decoded), usual);
    }
    if (coded) {
        const auto [colour1, colour2] = PairColours(given);
        coded->picture.palette[1] = colour1;
        coded->picture.palette[2] = colour2;
    }
    return coded;
}

} // namespace

std::expected<DecodedPicture, Error> DecodeRgba(std::span<const uint8_t> rgba, int width, int height,
                                                std::vector<Colour> colourTable)
{
    if (width < 8 || height < 8)
        return std::unexpected(Error{.kind = ErrorKind::SourceTooSmall});
    DecodedPicture decoded{.colourTable = std::move(colourTable)};
    WorkingPicture& picture = decoded.picture;
    picture.resize(width / 8 * 8, height / 8 * 8);
    for (int t = 0; t < picture.height; ++t)
        for (int x = 0; x < picture.width; ++x)
            picture.at(x, picture.height - 1 - t) = overWhite(&rgba[(static_cast<size_t>(t) * width + x) * 4]);
    auto colours = CollectColours(picture);
    if (!colours)
        return std::unexpected(colours.error());
    decoded.colours = std::move(*colours);
    return decoded;
}

std::expected<CodedPicture, Error> CodeDecodedPicture(DecodedPicture decoded, const PictureCoding& coding)
{
    if (coding.givenPair)
        return codeWithPair(std::move(decoded), coding);
    return codeUsual(std::move(decoded), coding);
}

std::expected<CodedPicture, Error> CodeOwnPicture(const OrvPicture& orv, const PictureCoding& coding)
{
    CodedPicture coded;
    coded.picture.resize(orv.width, orv.height);
    coded.picture.palette = {kWhite, orv.colours[0], orv.colours[1], kBlack, 0};
    coded.order = coding.order.value_or(orv.order);
    CompressionRequest request;
    request.fromPicture = false;
    request.sourceStream = orv.stream;
    request.sourceTileData = orv.tileData;
    request.rawLength = static_cast<int32_t>(orv.tileData.size());
    return finish(std::move(coded), request, coding);
}

} // namespace orv
