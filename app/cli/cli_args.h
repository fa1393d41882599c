#pragma once
// The command line split into positional words, options with a value and
// plain switches.

#include <cstdint>
#include <expected>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace orv::cli {

struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values; // "--offset" -> "0x1F0000"
    std::set<std::string> switches;            // "--dry-run"

    bool has(const std::string& option) const { return values.contains(option) || switches.contains(option); }
    const std::string* value(const std::string& option) const
    {
        auto it = values.find(option);
        return it == values.end() ? nullptr : &it->second;
    }
};

// "--option value" or "--option=value" for options with a value; "--" ends
// the options. Options not listed, a missing value or a repeated option are
// refused. "--help" is always a switch. An option of withTwoValues takes the
// next two words ("--set A B"), kept as "A B".
std::expected<Args, std::string> ParseArgs(std::span<const std::string> words,
                                           const std::set<std::string>& withValue,
                                           const std::set<std::string>& switches,
                                           const std::set<std::string>& withTwoValues = {});

// A whole word as a number: decimal, or hexadecimal after "0x" or "&H".
std::optional<int64_t> ParseNumber(const std::string& text);

// The value of a numeric option, refused with its name when not a number.
std::expected<std::optional<int64_t>, std::string> NumberOption(const Args& args, const std::string& option);

// The value of an option that takes one of `choices`; the index into them,
// or `fallback` when the option is absent.
std::expected<size_t, std::string> ChoiceOption(const Args& args, const std::string& option,
                                                std::span<const char* const> choices, size_t fallback);

} // namespace orv::cli
