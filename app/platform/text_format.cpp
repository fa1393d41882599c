#include "text_format.h"

#include <cstdio>

namespace orv {

namespace {
std::string hex(const char* prefix, int64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%s%s%llX", value < 0 ? "-" : "", prefix,
                  static_cast<unsigned long long>(value < 0 ? -value : value));
    return text;
}
} // namespace

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }
std::string HexGerman(int64_t value) { return hex("&H", value); }
std::string HexEnglish(int64_t value) { return hex("0x", value); }

} // namespace orv
