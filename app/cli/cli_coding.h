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
#include "picture_coding.h"
#include "picture_loader.h"
#include "working_picture.h"

namespace orv::cli {

// The core's coding choices (picture_coding.h), from the options.
struct CodingOptions : PictureCoding {
    bool coloursGiven = false; // any colour option: pictures only
};

inline const std::set<std::string> kCodingValues{"--colour1", "--colour2", "--others", "--order", "--compression"};
inline const std::set<std::string> kCodingSwitches{"--exchange-black-white", "--exchange-light-dark"};
extern const char* const kCodingHelp; // the options' lines for --help

std::expected<CodingOptions, std::string> CodingOptionsFrom(const Args& args);
// --order vertical|horizontal; none when absent.
std::expected<std::optional<TileOrder>, std::string> OrderOption(const Args& args);

struct CodedPicture : orv::CodedPicture {
    FileKind sourceKind = FileKind::Picture;
};

// Coded by CodeDecodedPicture's rules (--colour1/--colour2 first, then
// slotPair, the file's table, the first colours found), or an own file anew.
// The error is English. A ROM as source is refused: extract its picture first.
std::expected<CodedPicture, std::string> CodeSource(const std::filesystem::path& source,
                                                    const CodingOptions& options);

// A picture file decoded; the error is English and names the file.
std::expected<LoadedPicture, std::string> LoadPicture(const std::filesystem::path& source);

} // namespace orv::cli
