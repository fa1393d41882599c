#include "cli_coding.h"

#include <algorithm>
#include <array>
#include <functional>

#include "colours.h"
#include "messages_en.h"
#include "picture_coding.h"
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

// Page 8 offers only the picture's colours.
std::optional<std::string> notInPicture(const std::vector<Colour>& colours, std::optional<Colour> chosen,
                                        const std::filesystem::path& source)
{
    if (!chosen || std::ranges::find(colours, *chosen) != colours.end())
        return std::nullopt;
    return "the colour " + ColourItemText(*chosen) + " does not occur in \"" + source.string() +
           "\": " + colourListText(colours) + ".";
}

std::expected<CodedPicture, std::string> codedAs(std::expected<orv::CodedPicture, Error> coded, FileKind kind)
{
    if (!coded)
        return std::unexpected(en::Text(coded.error()));
    return CodedPicture{{std::move(*coded)}, kind};
}

std::expected<CodedPicture, std::string> codePicture(LoadedPicture loaded, const std::filesystem::path& source,
                                                     const CodingOptions& options)
{
    for (const std::optional<Colour> chosen : {options.colour1, options.colour2})
        if (auto refused = notInPicture(loaded.colours, chosen, source))
            return std::unexpected(*refused);
    return codedAs(CodeDecodedPicture(std::move(loaded), options), FileKind::Picture);
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
    return codedAs(CodeOwnPicture(*orv, options), FileKind::Orv);
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

} // namespace orv::cli
