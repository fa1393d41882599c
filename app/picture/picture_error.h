#pragma once
// A failure of the picture core that reaches the user.

#include <string>

namespace orv {

struct PictureError {
    std::string message; // German, UTF-8, shown as it is in the "Fehler" box
    std::string english; // the same facts in English
};

} // namespace orv
