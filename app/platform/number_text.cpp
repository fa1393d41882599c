#include "number_text.h"

#include <cctype>
#include <cmath>

namespace orv {

long long ParseTypedNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i + 1 < text.size() && text[i] == '&' && (text[i + 1] == 'H' || text[i + 1] == 'h')) {
        unsigned long long value = 0;
        size_t digits = 0;
        for (i += 2; i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])); ++i) {
            int c = std::tolower(static_cast<unsigned char>(text[i]));
            value = value * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : c - 'a' + 10);
            if (++digits > 15)
                break; // beyond any file offset; stop rather than overflow
        }
        return static_cast<long long>(value);
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long double value = 0;
    bool any = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        any = true;
    }
    if (i < text.size() && text[i] == '.') {
        long double scale = 0.1L;
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
            value += (text[i] - '0') * scale;
            scale /= 10;
            any = true;
        }
    }
    if (!any)
        return 0;
    if (value > 9.0e17L)
        value = 9.0e17L;
    long long rounded = std::llrint(value); // round half to even, as the default FP mode does
    return negative ? -rounded : rounded;
}

} // namespace orv
