// Arbitrary bytes as the start of a picture file: the structure walk stays
// inside what it is given, answers within its promises, and a walk on more
// of the same file never contradicts one on less.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "fuzz_check.h"
#include "picture_structure.h"

namespace {

using Kind = orv::PictureExtent::Kind;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> file(data, size);
    const auto whole = static_cast<int64_t>(size);
    const orv::PictureExtent all = orv::MeasurePicture(file, whole);
    Check(all.kind != Kind::NeedMore);
    Check(all.kind != Kind::Complete || (all.bytes >= 0 && all.bytes <= whole));
    Check(all.kind != Kind::Truncated || all.bytes > whole);

    // The same file seen through a shorter prefix that still holds the
    // format's signature, as the loader reads it in steps.
    for (const size_t cut : {size / 2, size / 3, size > 40 ? size_t{40} : size}) {
        if (cut < 8)
            continue;
        const orv::PictureExtent part = orv::MeasurePicture(file.first(cut), whole);
        if (part.kind == Kind::NeedMore) {
            Check(part.bytes > static_cast<int64_t>(cut) && part.bytes <= whole);
            continue;
        }
        Check(part.kind == all.kind && part.bytes == all.bytes);
    }
    // A file said to be longer than the bytes at hand.
    const orv::PictureExtent longer = orv::MeasurePicture(file, whole + 1000);
    Check(longer.kind != Kind::NeedMore || longer.bytes > whole);
    return 0;
}
