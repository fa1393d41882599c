#pragma once
// The language of one call's messages: the command line's English texts or
// the wizard's German ones, each written once in its face's file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "error.h"
#include "messages_de.h"
#include "messages_en.h"
#include "palette_file.h"

namespace orv::web {

enum class Language { English, German };

// OrvLanguage as a call passes it; anything unknown is English.
inline Language LanguageOf(uint32_t language) { return language == 1 ? Language::German : Language::English; }

inline std::string Text(Language language, const Error& error, std::string_view path = {})
{
    return language == Language::German ? de::Text(error, path) : en::Text(error, path);
}

inline std::string Text(Language language, const rom::PalFileError& error, std::string_view path)
{
    return language == Language::German ? de::Text(error, path) : en::Text(error, path);
}

inline std::string Text(Language language, const Note& note)
{
    return language == Language::German ? de::Text(note) : en::Text(note);
}

inline std::string Text(Language language, const rom::PackSkipped& skipped, rom::GameVersion version)
{
    return language == Language::German ? de::Text(skipped, version) : en::Text(skipped, version);
}

inline std::string Text(Language language, const rom::PackIgnored& ignored)
{
    return language == Language::German ? de::Text(ignored) : en::Text(ignored);
}

inline std::string Text(Language language, const rom::BatchStep& step, const std::vector<rom::BatchItem>& items)
{
    return language == Language::German ? de::Text(step, items) : en::Text(step, items);
}

inline std::string FlatIgnoredText(Language language)
{
    return language == Language::German ? de::FlatIgnoredText() : en::FlatIgnoredText();
}

inline std::string MisshapenBatchText(Language language, size_t pictures, bool unownFront)
{
    return language == Language::German ? de::MisshapenBatchText(pictures, unownFront)
                                        : en::MisshapenBatchText(pictures, unownFront);
}

// A refusal says that the ROM is unchanged, as the command line's do.
inline std::string Refused(Language language, std::string message)
{
    const bool german = language == Language::German;
    const bool said = german ? message.find("nichts geschrieben") != std::string::npos ||
                                   message.find("unverändert") != std::string::npos
                             : message.find("othing was written") != std::string::npos ||
                                   message.find("unchanged") != std::string::npos;
    if (!said)
        message += german ? " Es wurde nichts geschrieben." : " Nothing was written.";
    return message;
}

} // namespace orv::web
