#include "picture_io.h"

#include "binary_file.h"
#include "bitmap.h"

namespace orv {

std::expected<void, Error> WriteOrvFile(const std::filesystem::path& path, std::span<const uint8_t> encoded,
                                        Colour colour1, Colour colour2, int width, int height, TileOrder order,
                                        bool flush)
{
    auto bytes = EncodeOrv(encoded, colour1, colour2, width, height, order);
    if (!bytes)
        return std::unexpected(bytes.error());
    if (auto written = WriteWholeFile(path, *bytes, flush); !written)
        return std::unexpected(Error{.kind = ErrorKind::OrvWriteFailed, .systemCode = written.error().code});
    return {};
}

std::expected<OrvPicture, Error> ReadOrvFile(const std::filesystem::path& path)
{
    auto file = BinaryFile::open(path);
    if (!file)
        return std::unexpected(Error{.kind = ErrorKind::OpenFailed, .systemCode = file.error().code});
    // The stream of the largest picture is far shorter than this; bytes
    // beyond the trailer are ignored anyway.
    std::vector<uint8_t> bytes(kOrvMaxReadBytes);
    auto got = file->readSomeAt(0, bytes);
    if (!got)
        return std::unexpected(Error{.kind = ErrorKind::OrvUnreadable});
    bytes.resize(*got);
    return DecodeOrv(bytes);
}

std::expected<void, Error> WriteBitmapFile(const std::filesystem::path& path, const WorkingPicture& picture,
                                           bool flush)
{
    const std::vector<uint8_t> bytes = EncodeBitmap(picture);
    if (bytes.empty())
        return std::unexpected(Error{.kind = ErrorKind::BitmapEmpty});
    if (auto written = WriteWholeFile(path, bytes, flush); !written)
        return std::unexpected(Error{.kind = ErrorKind::BitmapWriteFailed, .systemCode = written.error().code});
    return {};
}

} // namespace orv
