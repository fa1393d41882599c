#pragma once
// An error of the core as one line of its facts, so tests compare what went
// wrong (kind and values) and print it when they differ.

#include <expected>
#include <string>

#include "error.h"

namespace orv::test {

inline std::string Facts(const Error& e)
{
    std::string text = "kind " + std::to_string(static_cast<int>(e.kind));
    const auto add = [&](const char* name, int64_t value) {
        if (value != 0)
            text += std::string(", ") + name + " " + std::to_string(value);
    };
    add("offset", e.offset);
    add("value", e.value);
    add("low", e.low);
    add("high", e.high);
    add("system", e.systemCode);
    add("field", static_cast<int>(e.field));
    add("part", static_cast<int>(e.part));
    add("region", static_cast<int>(e.region));
    add("fault", static_cast<int>(e.fault));
    if (e.slot != rom::Slot{})
        text += ", slot " + std::to_string(static_cast<int>(e.slot.kind)) + "/" + std::to_string(e.slot.number) +
                (e.slot.back ? "/back" : "") + (e.slot.shiny ? "/shiny" : "");
    if (!e.text.empty())
        text += ", text \"" + e.text + "\"";
    if (!e.other.empty())
        text += ", other \"" + e.other + "\"";
    return text;
}

template <class T>
std::string Facts(const std::expected<T, Error>& result)
{
    return result ? std::string("(no failure)") : Facts(result.error());
}

} // namespace orv::test
