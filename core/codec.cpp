#include "codec.h"

#include <algorithm>

#include "codec_binding.h"

namespace orv::codec {

namespace {

Error fromStatus(int32_t status)
{
    switch (status) {
    case VEX_NO_END_MARKER: return Error::NoEndMarker;
    case VEX_BAD_COPY_SOURCE: return Error::BadCopySource;
    case VEX_OUTPUT_FULL: return Error::OutputFull;
    case VEX_IO_ERROR: return Error::Io;
    default: return Error::TooLong;
    }
}

} // namespace

std::string LoadProblem() { return ActiveCodec().problem; }

std::expected<Lengths, Error> Measure(std::span<const uint8_t> data)
{
    const auto& b = ActiveCodec();
    if (!b.problem.empty())
        return std::unexpected(Error::LibraryMissing);
    if (data.size() > INT32_MAX)
        return std::unexpected(Error::TooLong);
    Lengths out;
    int32_t status = b.measure(data.data(), static_cast<int32_t>(data.size()), &out.compressed, &out.decompressed);
    if (status != VEX_OK)
        return std::unexpected(fromStatus(status));
    return out;
}

std::expected<Lengths, Error> Measure(std::span<const uint8_t> data, int32_t maxDecompressed)
{
    const auto& b = ActiveCodec();
    if (!b.problem.empty())
        return std::unexpected(Error::LibraryMissing);
    // Only the first bytes can matter: the output bounds the stream's length.
    const auto length = static_cast<int32_t>(std::min<size_t>(data.size(), INT32_MAX));
    Lengths out;
    int32_t status = b.measureLimited(data.data(), length, std::max(maxDecompressed, 0), &out.compressed,
                                      &out.decompressed);
    if (status != VEX_OK)
        return std::unexpected(fromStatus(status));
    return out;
}

std::expected<std::vector<uint8_t>, Error> Decode(std::span<const uint8_t> stream, int32_t decompressedLength)
{
    const auto& b = ActiveCodec();
    if (!b.problem.empty())
        return std::unexpected(Error::LibraryMissing);
    if (stream.size() > INT32_MAX || decompressedLength < 0)
        return std::unexpected(Error::TooLong);
    std::vector<uint8_t> out(static_cast<size_t>(decompressedLength));
    int32_t written = 0;
    int32_t status = b.decode(stream.data(), static_cast<int32_t>(stream.size()), out.data(), decompressedLength,
                              &written);
    if (status != VEX_OK)
        return std::unexpected(fromStatus(status));
    out.resize(static_cast<size_t>(written));
    return out;
}

std::expected<std::vector<uint8_t>, Error> Encode(std::span<const uint8_t> raw)
{
    const auto& b = ActiveCodec();
    if (!b.problem.empty())
        return std::unexpected(Error::LibraryMissing);
    if (raw.size() > INT32_MAX / 2)
        return std::unexpected(Error::TooLong);
    const int32_t n = static_cast<int32_t>(raw.size());
    std::vector<uint8_t> out(static_cast<size_t>(b.maxEncoded(n)));
    // With a work area every input compresses in n log n time; without one,
    // long inputs of few byte values take quadratic time. Inputs far beyond
    // any picture (the raw codec's) go without, rather than take gigabytes.
    constexpr int64_t kMaxArea = int64_t{64} << 20;
    const int64_t areaSize = b.encodeAreaSize(n);
    int32_t written = 0;
    int32_t status;
    if (areaSize >= 0 && areaSize <= kMaxArea) {
        // The area needs no clearing: each thread keeps one for pictures (a
        // batch allocates it once); larger inputs get theirs for the call.
        constexpr int64_t kKeptArea = int64_t{4} << 20;
#if defined(__wasi__)
        static std::vector<uint8_t> kept; // one thread, and no hooks at a thread's end
#else
        thread_local std::vector<uint8_t> kept;
#endif
        std::vector<uint8_t> once;
        std::vector<uint8_t>& area = areaSize <= kKeptArea ? kept : once;
        if (static_cast<int64_t>(area.size()) < areaSize)
            area.resize(static_cast<size_t>(areaSize));
        status = b.encodeInArea(raw.data(), n, out.data(), static_cast<int32_t>(out.size()), area.data(), areaSize,
                                &written);
    } else {
        status = b.encode(raw.data(), n, out.data(), static_cast<int32_t>(out.size()), &written);
    }
    if (status != VEX_OK)
        return std::unexpected(fromStatus(status));
    out.resize(static_cast<size_t>(written));
    return out;
}

} // namespace orv::codec
