#pragma once
// A picture or own picture file coded for writing, through the same steps as
// the wizard's pages 1, 8 and 11 (or 2 and 11 for an own file).

#include <expected>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli_args.h"
#include "classify_path.h"
#include "compression.h"
#include "gbc_color.h"
#include "picture_loader.h"
#include "working_picture.h"

namespace orv::cli {

struct CodingOptions {
    std::optional<Colour> colour1, colour2; // default: the first and second colour found
    int others = 0;                         // index into the substitutes: black, white, colour 1, colour 2
    std::optional<TileOrder> order;         // default: vertical, or the own file's order
    CompressionChoice compression = CompressionChoice::BuildNew;
    bool blackWhite = false;
    bool lightDark = false;
    bool coloursGiven = false; // any colour option: pictures only
    // The palette pair of the slot the picture goes into (insert, insert-all).
    std::optional<PalettePair> slotPair;
    // The pair the picture gets whatever its colours (a pack's normal.pal):
    // colours that are its two take their roles, grays (at most four) their
    // shades by lightness, white to black, other colours theirs as without it.
    std::optional<PalettePair> givenPair;
};

inline const std::set<std::string> kCodingValues{"--colour1", "--colour2", "--others", "--order", "--compression"};
inline const std::set<std::string> kCodingSwitches{"--exchange-black-white", "--exchange-light-dark"};
extern const char* const kCodingHelp; // the options' lines for --help

std::expected<CodingOptions, std::string> CodingOptionsFrom(const Args& args);
// --order vertical|horizontal; none when absent.
std::expected<std::optional<TileOrder>, std::string> OrderOption(const Args& args);

struct CodedPicture {
    FileKind sourceKind = FileKind::Picture;
    WorkingPicture picture;         // four shades as coded; palette white, colour 1, colour 2, black
    std::vector<uint8_t> tileData;  // RawLength bytes
    std::vector<uint8_t> stream;    // what is written
    TileOrder order = TileOrder::Vertical;
};

// Colours 1 and 2 of a picture, in this order of rules: --colour1/--colour2;
// with slotPair, the slot's two colours when they are the picture's colours
// besides white and black (compared as game colours), each keeping its role;
// an indexed picture's entries 1 and 2 when entry 0 is white and entry 3
// black; else the wizard's choice, the first and second colour found. With
// slotPair, a role no colour of the picture takes (a picture of two or three
// colours, an unused table entry) keeps the slot's colour. So an extracted
// picture, edited and saved by any program that keeps its four colours,
// codes back to the same tile data and palette pair.
// The error is English. A ROM as source is refused: extract its picture first.
std::expected<CodedPicture, std::string> CodeSource(const std::filesystem::path& source,
                                                    const CodingOptions& options);

// The same in two steps, for a caller that looks at the colours first.
std::expected<LoadedPicture, std::string> LoadPicture(const std::filesystem::path& source);
std::expected<CodedPicture, std::string> CodeLoadedPicture(LoadedPicture loaded, const std::filesystem::path& source,
                                                           const CodingOptions& options);

} // namespace orv::cli
