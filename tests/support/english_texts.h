#pragma once
// Checks the English text of a failure against its German one (the faces
// render them: link orv_messages_de and orv_messages_en).

#include <expected>
#include <filesystem>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "error.h"
#include "messages_de.h"
#include "messages_en.h"

namespace orv::test {

// Quoted texts and numbers, in their order; offsets ("&H" in German, "0x" in
// English) count by their value, so "&H10", "0x10" and "16" are one fact.
inline std::vector<std::string> Facts(const std::string& text)
{
    static const std::regex fact(R"("[^"]*"|(&H|0x)[0-9A-F]+|-?[0-9]+)");
    std::vector<std::string> facts;
    for (std::sregex_iterator it(text.begin(), text.end(), fact), end; it != end; ++it) {
        const std::string f = it->str();
        const bool hex = f.starts_with("&H") || f.starts_with("0x");
        facts.push_back(hex ? std::to_string(std::stoll(f.substr(2), nullptr, 16)) : f);
    }
    return facts;
}

// Empty when english is a sentence of its own with german's facts in the same
// order and no German letters or common German words outside quotes;
// otherwise what is wrong.
inline std::string EnglishMismatch(const std::string& german, const std::string& english)
{
    if (english.empty() || english.back() != '.' || english == german)
        return "no English sentence for \"" + german + "\": \"" + english + "\"";
    if (Facts(german) != Facts(english))
        return "other facts than \"" + german + "\": \"" + english + "\"";
    const std::string unquoted = std::regex_replace(english, std::regex(R"("[^"]*")"), "");
    static const std::regex germanWord(R"(\b([Dd]ie|[Dd]er|[Dd]as|nicht|ist|und|Datei|Bild)\b)");
    if (std::regex_search(unquoted, germanWord))
        return "German word in \"" + english + "\"";
    for (const char* letter : {"ä", "ö", "ü", "Ä", "Ö", "Ü", "ß"})
        if (unquoted.find(letter) != std::string::npos)
            return "German letter in \"" + english + "\"";
    return "";
}

// German and English text of a failure, path the file it is about; a
// success gives no English.
template <class T>
std::pair<std::string, std::string> Texts(const std::expected<T, Error>& result, const std::filesystem::path& path = {})
{
    if (result)
        return {"(no failure)", ""};
    return {de::Text(result.error(), path.string()), en::Text(result.error(), path.string())};
}

} // namespace orv::test
