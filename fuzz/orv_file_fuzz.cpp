// Arbitrary bytes as an own picture file: the reader refuses or hands on a
// picture whose parts agree with each other.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "fuzz_check.h"
#include "orv_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto picture = orv::DecodeOrv(std::span(data, size));
    if (!picture) {
        Check(picture.error().kind >= orv::ErrorKind::OrvCodecMissing &&
              picture.error().kind <= orv::ErrorKind::OrvSizeMismatch);
        return 0;
    }
    Check(!picture->stream.empty() && picture->stream.size() + orv::kOrvTrailerBytes <= size);
    Check(picture->width >= 1 && picture->width <= orv::kOrvMaxSide);
    Check(picture->height >= 1 && picture->height <= orv::kOrvMaxSide);
    Check(picture->tileData.size() <= static_cast<size_t>(orv::kOrvMaxTileBytes));
    Check(picture->paletteText.size() == 8);
    return 0;
}
