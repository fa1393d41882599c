// The codec binding of the desktop programs: libvexlib.so bound by name at
// the first call, as the programs ship it beside themselves.

#include <dlfcn.h>
#include <filesystem>

#include "codec_binding.h"

namespace orv::codec {

namespace {

std::filesystem::path executableFolder()
{
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : self.parent_path();
}

Binding load()
{
    Binding b;
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

} // namespace

const Binding& ActiveCodec()
{
    static const Binding b = load();
    return b;
}

} // namespace orv::codec
