#include "codec_library.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>

#include "vexlib.h"

namespace orv::codec {

namespace {

struct Bindings {
    decltype(&VexMeasure) measure = nullptr;
    decltype(&VexMeasureLimited) measureLimited = nullptr;
    decltype(&VexDecode) decode = nullptr;
    decltype(&VexEncode) encode = nullptr;
    decltype(&VexEncodeInArea) encodeInArea = nullptr;
    decltype(&VexEncodeAreaSize) encodeAreaSize = nullptr;
    decltype(&VexMaxEncodedSize) maxEncoded = nullptr;
    std::string problem;
};

std::filesystem::path executableFolder()
{
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self.parent_path();
}

Bindings load()
{
    Bindings b;
    void* handle = nullptr;
    // Beside the program in the build folder, in the library folder of an
    // installation, then wherever the system's loader looks. By soname: a
    // run-time install has no libvexlib.so link, and a later major is another ABI.
    const std::filesystem::path folder = executableFolder();
    for (const std::filesystem::path& candidate :
         {folder / ORV_VEXLIB_SONAME, folder / ORV_LIBDIR_FROM_BINDIR / ORV_VEXLIB_SONAME}) {
        if (!folder.empty() && std::filesystem::exists(candidate))
            handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle)
            break;
    }
    if (!handle)
        handle = dlopen(ORV_VEXLIB_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        b.problem = why ? why : "libvexlib.so not found";
        return b;
    }
    auto bind = [&](auto& slot, const char* name) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(handle, name));
        if (!slot && b.problem.empty())
            b.problem = std::string("libvexlib.so lacks ") + name;
    };
    bind(b.measure, "VexMeasure");
    bind(b.measureLimited, "VexMeasureLimited");
    bind(b.decode, "VexDecode");
    bind(b.encode, "VexEncode");
    bind(b.encodeInArea, "VexEncodeInArea");
    bind(b.encodeAreaSize, "VexEncodeAreaSize");
    bind(b.maxEncoded, "VexMaxEncodedSize");
    return b;
}

const Bindings& bindings()
{
    static const Bindings b = load();
    return b;
}

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

std::string loadProblem() { return bindings().problem; }

std::expected<Lengths, Error> measure(std::span<const uint8_t> data)
{
    const auto& b = bindings();
    if (!b.problem.empty())
        return std::unexpected(Error::LibraryMissing);
    if (data.size() > INT32_MAX)
        return std::unexpected(Error::TooLong);
    Lengths out;
    int32_t status = b.measure(data.data(), static_cast<int32_t>(data.size()), &out.compressed,
                               &out.decompressed);
    if (status != VEX_OK)
        return std::unexpected(fromStatus(status));
    return out;
}

std::expected<Lengths, Error> measure(std::span<const uint8_t> data, int32_t maxDecompressed)
{
    const auto& b = bindings();
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

std::expected<std::vector<uint8_t>, Error> decode(std::span<const uint8_t> stream,
                                                  int32_t decompressedLength)
{
    const auto& b = bindings();
    if (!b.problem.empty())
        return std::unexpected(Error::LibraryMissing);
    if (stream.size() > INT32_MAX || decompressedLength < 0)
        return std::unexpected(Error::TooLong);
    std::vector<uint8_t> out(static_cast<size_t>(decompressedLength));
    int32_t written = 0;
    int32_t status = b.decode(stream.data(), static_cast<int32_t>(stream.size()), out.data(),
                              decompressedLength, &written);
    if (status != VEX_OK)
        return std::unexpected(fromStatus(status));
    out.resize(static_cast<size_t>(written));
    return out;
}

std::expected<std::vector<uint8_t>, Error> encode(std::span<const uint8_t> raw)
{
    const auto& b = bindings();
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
        thread_local std::vector<uint8_t> kept;
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

std::string describe(Error error)
{
    switch (error) {
    case Error::NoEndMarker: return "no end marker before the end of the data";
    case Error::BadCopySource: return "a copy reads outside the output written so far";
    case Error::OutputFull: return "output larger than the space given";
    case Error::Io: return "file could not be read";
    case Error::TooLong: return "length out of range";
    case Error::LibraryMissing: return "libvexlib.so could not be loaded: " + loadProblem();
    }
    return "unknown codec error";
}

} // namespace orv::codec
