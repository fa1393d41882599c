#pragma once
// The small pieces every message is made of, so each exists once: a quoted
// name and an offset in hexadecimal digits.

#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

// "\"<text>\"".
std::string Quoted(std::string_view text);
// Upper-case hexadecimal digits after "&H", the way the wizard's offset
// fields take them; a negative value as "-&H...".
std::string HexGerman(int64_t value);
// The same after "0x", the way the command line reads and writes them.
std::string HexEnglish(int64_t value);

} // namespace orv
