#include "cli_args.h"

#include <charconv>

namespace orv::cli {

std::expected<Args, std::string> ParseArgs(std::span<const std::string> words,
                                           const std::set<std::string>& withValue,
                                           const std::set<std::string>& switches,
                                           const std::set<std::string>& withTwoValues)
{
    Args args;
    bool optionsEnded = false;
    for (size_t i = 0; i < words.size(); ++i) {
        std::string word = words[i];
        if (optionsEnded || !word.starts_with("--") || word == "-") {
            args.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string> attached;
        if (const size_t equals = word.find('='); equals != std::string::npos) {
            attached = word.substr(equals + 1);
            word.resize(equals);
        }
        if (args.has(word))
            return std::unexpected("option " + word + " given twice");
        if (withTwoValues.contains(word)) {
            const size_t needed = attached ? 1 : 2;
            if (i + needed >= words.size())
                return std::unexpected("option " + word + " needs two values");
            std::string first = attached ? *attached : words[++i];
            args.values[word] = first + " " + words[++i];
        } else if (withValue.contains(word)) {
            if (!attached && i + 1 >= words.size())
                return std::unexpected("option " + word + " needs a value");
            args.values[word] = attached ? *attached : words[++i];
        } else if (switches.contains(word) || word == "--help") {
            if (attached)
                return std::unexpected("option " + word + " takes no value");
            args.switches.insert(word);
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

std::expected<size_t, std::string> ChoiceOption(const Args& args, const std::string& option,
                                                std::span<const char* const> choices, size_t fallback)
{
    const std::string* text = args.value(option);
    if (!text)
        return fallback;
    std::string list;
    for (size_t i = 0; i < choices.size(); ++i) {
        if (*text == choices[i])
            return i;
        list += (i ? i + 1 == choices.size() ? " or " : ", " : "") + std::string(choices[i]);
    }
    return std::unexpected("option " + option + " takes " + list + ", not \"" + *text + "\"");
}

} // namespace orv::cli
