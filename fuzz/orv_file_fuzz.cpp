// Arbitrary bytes as an own picture file: the reader refuses or hands on a
// picture whose parts agree with each other.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "orv_file.h"

namespace {

void check(bool condition)
{
    if (!condition)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto picture = orv::ParseOrvFile(std::span(data, size), "fuzz.orv");
    if (!picture) {
        check(!picture.error().message.empty() && !picture.error().english.empty());
        return 0;
    }
    check(!picture->stream.empty() && picture->stream.size() + orv::kOrvTrailerBytes <= size);
    check(picture->width >= 1 && picture->width <= orv::kOrvMaxSide);
    check(picture->height >= 1 && picture->height <= orv::kOrvMaxSide);
    check(picture->tileData.size() <= static_cast<size_t>(orv::kOrvMaxTileBytes));
    check(picture->paletteText.size() == 8);
    return 0;
}
