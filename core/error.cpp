#include "error.h"

namespace orv {

Error OutOfRangeError(NumberField field, int64_t value, int64_t low, int64_t high)
{
    return {.kind = ErrorKind::OutOfRange, .value = value, .low = low, .high = high, .field = field};
}

Error TooShortError(RomPart part, int64_t end, int64_t size)
{
    return {.kind = ErrorKind::TooShort, .value = size, .high = end, .part = part};
}

Error CodecMissingError(std::string detail)
{
    return {.kind = ErrorKind::CodecMissing, .text = std::move(detail)};
}

} // namespace orv
