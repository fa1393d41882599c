// Arbitrary bytes as game text and as a typed name: decoding never fails,
// encoded text decodes back to itself, and a name field has its length.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "fuzz_check.h"
#include "game_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string decoded = orv::rom::DecodeGameText(std::span(data, size));
    // Text that encodes decodes back to itself.
    if (const auto again = orv::rom::EncodeGameText(decoded))
        Check(orv::rom::DecodeGameText(*again) == decoded);

    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    if (const auto encoded = orv::rom::EncodeGameText(typed))
        Check(orv::rom::DecodeGameText(*encoded) == typed);
    const int length = size ? 1 + data[0] % 20 : 10;
    if (const auto field = orv::rom::NameFieldBytes(typed, length))
        Check(field->size() == static_cast<size_t>(length));
    return 0;
}
