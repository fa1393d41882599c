#pragma once
// Numbers typed into text fields: leading blanks skipped, decimal digits
// (optionally signed, with a fraction taken to the nearest integer, halves to
// even), or hexadecimal digits after "&H"; reading stops at the first
// character that does not fit; empty text gives 0.

#include <string_view>

namespace orv {

long long ParseTypedNumber(std::string_view text);

} // namespace orv
