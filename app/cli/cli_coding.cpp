#include "cli_coding.h"

#include <algorithm>
#include <array>
#include <functional>

#include "colour_roles.h"
#include "colours.h"
#include "messages_en.h"
#include "picture_io.h"
#include "picture_loader.h"

namespace orv::cli {

const char* const kCodingHelp =
    "  --colour1 RRGGBB, --colour2 RRGGBB\n"
    "                    colours of the picture that become colour 1 and 2\n"
    "                    (default: the first and second colour found)\n"
    "  --others black|white|colour1|colour2\n"
    "                    what every other colour becomes (default: black)\n"
    "  --order vertical|horizontal\n"
    "                    tile order (default: vertical; an .orv file's own order)\n"
    "  --compression new|none|retain\n"
    "                    compress anew, store uncompressed, or keep an .orv\n"
    "                    file's stream (default: new)\n"
    "  --exchange-black-white, --exchange-light-dark\n"
    "                    swap the shades, as the wizard offers\n";

namespace {

constexpr std::array<const char*, 4> kOthers{"black", "white", "colour1", "colour2"};
constexpr std::array<const char*, 2> kOrders{"vertical", "horizontal"};
constexpr std::array<const char*, 3> kCompressions{"new", "none", "retain"};

std::expected<std::optional<Colour>, std::string> colourOption(const Args& args, const std::string& option)
{
    const std::string* text = args.value(option);
    if (!text)
        return std::optional<Colour>{};
    std::string_view digits = *text;
    if (digits.starts_with('#'))
        digits.remove_prefix(1);
    auto value = digits.size() == 6 ? ParseNumber("0x" + std::string(digits)) : std::nullopt;
    if (!value || *value < 0)
        return std::unexpected("option " + option + " needs six hexadecimal digits RRGGBB, not \"" + *text + "\"");
    return std::optional(static_cast<Colour>(*value));
}

std::string colourListText(const std::vector<Colour>& colours)
{
    if (colours.empty())
        return "it has none besides black and white";
    std::string list;
    for (size_t i = 0; i < colours.size() && i < 16; ++i)
        list += (i ? " " : "") + ColourItemText(colours[i]);
    return "its colours are " + list + (colours.size() > 16 ? " ..." : "");
}

// Page 8's choice for one list: the given colour, which must be listed, or
// the item the wizard preselects.
std::expected<std::optional<Colour>, std::string> listChoice(const std::vector<Colour>& colours,
                                                             std::optional<Colour> given, int preselected,
                                                             const std::filesystem::path& source)
{
    if (!given)
        return static_cast<size_t>(preselected) < colours.size() ? std::optional(colours[preselected]) : std::nullopt;
    if (std::ranges::find(colours, *given) == colours.end())
        return std::unexpected("the colour " + ColourItemText(*given) + " does not occur in \"" + source.string() +
                               "\": " + colourListText(colours) + ".");
    return given;
}

std::expected<CodedPicture, std::string> finish(CodedPicture coded, CompressionRequest request,
                                                const CodingOptions& options)
{
    request.picture = &coded.picture;
    request.order = coded.order;
    request.choice = options.compression;
    request.blackWhite = options.blackWhite;
    request.lightDark = options.lightDark;
    auto result = CodePicture(request);
    if (!result)
        return std::unexpected(en::Text(result.error()));
    coded.tileData = std::move(result->tileData);
    coded.stream = std::move(result->encodedData);
    coded.picture.pixels = std::move(result->pixels);
    return coded;
}

// Grays already reduced to the four shades (ShadesByLightness).
std::expected<CodedPicture, std::string> codeShades(WorkingPicture shades, const CodingOptions& options)
{
    CodedPicture coded;
    coded.order = options.order.value_or(TileOrder::Vertical);
    coded.picture = std::move(shades);
    const ColourMapping mapping = ApplyColourMapping(
        {coded.picture.palette, kGrayShade1, kGrayShade2, kBlack, coded.picture.width, coded.picture.height});
    coded.picture.palette = mapping.palette;
    CompressionRequest request;
    request.rawLength = mapping.rawLength;
    return finish(std::move(coded), request, options);
}

std::expected<CodedPicture, std::string> codePicture(LoadedPicture loaded, const std::filesystem::path& source,
                                                     const CodingOptions& options);

// With a given pair: a picture in its colours takes their roles, grays take
// their shades by lightness, any other picture its roles by the usual rules;
// the colours written are the pair's.
std::expected<CodedPicture, std::string> codeWithPair(LoadedPicture loaded, const std::filesystem::path& source,
                                                      const CodingOptions& options)
{
    const PalettePair given = *options.givenPair;
    CodingOptions usual = options;
    usual.givenPair.reset();
    const bool inItsColours = loaded.colours.empty() || SlotColourRoles(loaded.colours, given);
    auto grays = inItsColours ? std::nullopt : ShadesByLightness(loaded.picture);
    std::expected<CodedPicture, std::string> coded;
    if (grays) {
        coded = codeShades(std::move(*grays), options);
    } else {
        if (inItsColours)
            usual.slotPair = given;
        coded = codePicture(std::move(loaded), source, usual);
    }
    if (coded) {
        const auto [colour1, colour2] = PairColours(given);
        coded->picture.palette[1] = colour1;
        coded->picture.palette[2] = colour2;
    }
    return coded;
}

std::expected<CodedPicture, std::string> codePicture(LoadedPicture loaded, const std::filesystem::path& source,
                                                     const CodingOptions& options)
{
    if (options.givenPair)
        return codeWithPair(std::move(loaded), source, options);
    const auto& colours = loaded.colours;
    auto colour1 = listChoice(colours, options.colour1, kPreselectedColour1, source);
    if (!colour1)
        return std::unexpected(colour1.error());
    auto colour2 = listChoice(colours, options.colour2, kPreselectedColour2, source);
    if (!colour2)
        return std::unexpected(colour2.error());
    if (!options.colour1 && !options.colour2) {
        std::optional<ColourRoles> roles =
            options.slotPair ? SlotColourRoles(colours, *options.slotPair) : std::nullopt;
        if (!roles)
            roles = TableColourRoles(loaded.colourTable, colours, options.slotPair);
        if (roles) {
            colour1 = roles->colour1;
            colour2 = roles->colour2;
        }
    }
    // A role no colour of the picture takes keeps the slot's colour.
    if (options.slotPair) {
        const auto [slot1, slot2] = PairColours(*options.slotPair);
        if (!*colour1)
            colour1 = slot1;
        if (!*colour2)
            colour2 = slot2;
    }

    CodedPicture coded;
    coded.picture = std::move(loaded.picture);
    coded.order = options.order.value_or(TileOrder::Vertical);
    const ColourMapping mapping = ApplyColourMapping(
        {coded.picture.palette, *colour1, *colour2,
         SubstituteColour(options.others, colour1->value_or(0), colour2->value_or(0)), coded.picture.width,
         coded.picture.height});
    coded.picture.palette = mapping.palette;
    CompressionRequest request;
    request.rawLength = mapping.rawLength;
    return finish(std::move(coded), request, options);
}

std::expected<CodedPicture, std::string> codeOwnFile(const std::filesystem::path& source,
                                                     const CodingOptions& options)
{
    if (options.coloursGiven)
        return std::unexpected("an .orv file keeps its own colours: --colour1, --colour2 and --others apply to "
                               "pictures only.");
    auto orv = ReadOrvFile(source);
    if (!orv)
        return std::unexpected(en::Text(orv.error(), source.string()));
    CodedPicture coded;
    coded.sourceKind = FileKind::Orv;
    coded.picture.resize(orv->width, orv->height);
    coded.picture.palette = {kWhite, orv->colours[0], orv->colours[1], kBlack, 0};
    coded.order = options.order.value_or(orv->order);
    CompressionRequest request;
    request.fromPicture = false;
    request.sourceStream = orv->stream;
    request.sourceTileData = orv->tileData;
    request.rawLength = static_cast<int32_t>(orv->tileData.size());
    return finish(std::move(coded), request, options);
}

} // namespace

std::expected<std::optional<TileOrder>, std::string> OrderOption(const Args& args)
{
    auto order = ChoiceOption(args, "--order", kOrders, 0);
    if (!order)
        return std::unexpected(order.error());
    if (!args.has("--order"))
        return std::nullopt;
    return *order == 0 ? TileOrder::Vertical : TileOrder::Horizontal;
}

std::expected<CodingOptions, std::string> CodingOptionsFrom(const Args& args)
{
    CodingOptions o;
    auto colour1 = colourOption(args, "--colour1");
    if (!colour1)
        return std::unexpected(colour1.error());
    auto colour2 = colourOption(args, "--colour2");
    if (!colour2)
        return std::unexpected(colour2.error());
    auto others = ChoiceOption(args, "--others", kOthers, 0);
    if (!others)
        return std::unexpected(others.error());
    auto order = OrderOption(args);
    if (!order)
        return std::unexpected(order.error());
    auto compression = ChoiceOption(args, "--compression", kCompressions, 0);
    if (!compression)
        return std::unexpected(compression.error());
    o.colour1 = *colour1;
    o.colour2 = *colour2;
    o.others = static_cast<int>(*others);
    o.order = *order;
    constexpr std::array kChoices{CompressionChoice::BuildNew, CompressionChoice::Uncompressed,
                                  CompressionChoice::Retain};
    o.compression = kChoices[*compression];
    o.blackWhite = args.has("--exchange-black-white");
    o.lightDark = args.has("--exchange-light-dark");
    o.coloursGiven = args.has("--colour1") || args.has("--colour2") || args.has("--others");
    return o;
}

std::expected<CodedPicture, std::string> CodeSource(const std::filesystem::path& source,
                                                    const CodingOptions& options)
{
    switch (ClassifyPath(source.string())) {
    case FileKind::Rom:
        return std::unexpected("\"" + source.string() + "\" is a ROM: extract its picture to an .orv file first.");
    case FileKind::Orv: return codeOwnFile(source, options);
    case FileKind::Picture: break;
    }
    auto loaded = LoadPicture(source);
    if (!loaded)
        return std::unexpected(loaded.error());
    return codePicture(std::move(*loaded), source, options);
}

std::expected<LoadedPicture, std::string> LoadPicture(const std::filesystem::path& source)
{
    auto loaded = LoadSourcePicture(source);
    if (!loaded)
        return std::unexpected(en::Text(loaded.error(), source.string()));
    return std::move(*loaded);
}

std::expected<CodedPicture, std::string> CodeLoadedPicture(LoadedPicture loaded, const std::filesystem::path& source,
                                                           const CodingOptions& options)
{
    return codePicture(std::move(loaded), source, options);
}

} // namespace orv::cli
