#include "cli_args.h"

#include <charconv>

namespace orv::cli {

std::expected<Args, std::string> ParseArgs(std::span<const std::string> words,
                                           const std::set<std::string>& withValue,
                                           const std::set<std::string>& switches)
{
    Args args;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!word.starts_with("--")) {
            args.positional.push_back(word);
            continue;
        }
        if (args.has(word))
            return std::unexpected("option " + word + " given twice");
        if (switches.contains(word)) {
            args.switches.insert(word);
        } else if (withValue.contains(word)) {
            if (i + 1 >= words.size())
                return std::unexpected("option " + word + " needs a value");
            args.values[word] = words[++i];
        } else {
            return std::unexpected("unknown option " + word);
        }
    }
    return args;
}

std::optional<int64_t> ParseNumber(const std::string& text)
{
    int base = 10;
    std::string_view digits = text;
    if (digits.starts_with("0x") || digits.starts_with("0X") || digits.starts_with("&H") ||
        digits.starts_with("&h")) {
        base = 16;
        digits.remove_prefix(2);
    }
    int64_t value = 0;
    const char* end = digits.data() + digits.size();
    const auto [ptr, ec] = std::from_chars(digits.data(), end, value, base);
    if (digits.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::expected<std::optional<int64_t>, std::string> NumberOption(const Args& args, const std::string& option)
{
    const std::string* text = args.value(option);
    if (!text)
        return std::optional<int64_t>{};
    auto number = ParseNumber(*text);
    if (!number)
        return std::unexpected("option " + option + " needs a number, not \"" + *text + "\"");
    return number;
}

} // namespace orv::cli
