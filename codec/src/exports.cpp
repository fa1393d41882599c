// The exported C interface over the stream walkers, decoder and compressor.

#include <unistd.h>

#include "byte_readers.h"
#include "decode.h"
#include "encode.h"
#include "measure.h"
#include "vexlib.h"

using namespace vex;

namespace {

constexpr int64_t kUnbounded = INT64_MAX;

// The calls that are given no work area compress in one on the stack: the
// hash chains of any input, and the suffix index of inputs up to about 1600
// bytes (a picture of 10 x 10 tiles). Beyond that the chains alone: quick on
// pictures, quadratic on inputs of very few distinct strings.
constexpr size_t kStackAreaBytes = 128 * 1024;
static_assert(kStackAreaBytes >= kChainAreaBytes);

Encoded encodeOnStack(const uint8_t* source, int32_t n, uint8_t* destination, int64_t capacity)
{
    alignas(WorkArea::kAlign) uint8_t area[kStackAreaBytes];
    return encodeGreedy(source, n, destination, capacity, WorkArea(area, sizeof area));
}

void store(const Measurement& m, int32_t* compressedLength, int32_t* decompressedLength)
{
    *compressedLength = m.compressed;
    *decompressedLength = m.decompressed;
}

} // namespace

extern "C" {

VEX_API int32_t DecPokeGoldL(const uint8_t* source, uint8_t* destination)
{
    if (!source || !destination)
        return 0;
    return static_cast<int32_t>(decodeStream(source, kUnbounded, destination, kUnbounded).written);
}

VEX_API void LoadPokeGoldR(const uint8_t* source, int32_t* compressedLength,
                           int32_t* decompressedLength)
{
    if (!source || !compressedLength || !decompressedLength)
        return;
    MemoryReader reader(source, kUnbounded);
    store(measureStream(reader, CopyCheck::Trust), compressedLength, decompressedLength);
}

VEX_API void LoadPokeGoldFH(const int* handle, const int32_t* offset, int32_t* compressedLength,
                            int32_t* decompressedLength)
{
    if (!handle || !offset || !compressedLength || !decompressedLength)
        return;
    Measurement m{VEX_IO_ERROR, 0, 0};
    if (*offset >= 0) {
        FdReader reader(*handle, *offset, FdReader::Mode::Sequential);
        m = measureStream(reader, CopyCheck::Trust);
        if (m.status == VEX_OK && lseek(*handle, int64_t{*offset} + m.compressed, SEEK_SET) < 0)
            m = {VEX_IO_ERROR, 0, 0};
    }
    store(m, compressedLength, decompressedLength);
}

VEX_API int32_t EncPokeGoldAsm(const uint8_t* source, uint8_t* destination,
                               const int32_t* length)
{
    if (!destination)
        return 0;
    const int32_t n = source && length && *length > 0 ? *length : 0;
    return static_cast<int32_t>(encodeOnStack(source, n, destination, kUnbounded).written);
}

VEX_API int32_t VexMeasure(const uint8_t* source, int32_t sourceLength,
                           int32_t* compressedLength, int32_t* decompressedLength)
{
    if ((!source && sourceLength != 0) || sourceLength < 0 || !compressedLength
        || !decompressedLength)
        return VEX_BAD_ARGUMENT;
    MemoryReader reader(source, sourceLength);
    const Measurement m = measureStream(reader, CopyCheck::Verify);
    store(m, compressedLength, decompressedLength);
    return m.status;
}

VEX_API int32_t VexMeasureLimited(const uint8_t* source, int32_t sourceLength,
                                  int32_t maxDecompressed, int32_t* compressedLength,
                                  int32_t* decompressedLength)
{
    if ((!source && sourceLength != 0) || sourceLength < 0 || maxDecompressed < 0
        || !compressedLength || !decompressedLength)
        return VEX_BAD_ARGUMENT;
    MemoryReader reader(source, sourceLength);
    const Measurement m = measureStream(reader, CopyCheck::Verify, maxDecompressed);
    store(m, compressedLength, decompressedLength);
    return m.status;
}

VEX_API int32_t VexMeasureFd(int fd, int64_t offset, int32_t* compressedLength,
                             int32_t* decompressedLength)
{
    // No file reaches INT64_MAX / 2; the bound keeps offset + length in range.
    if (fd < 0 || offset < 0 || offset > INT64_MAX / 2 || !compressedLength
        || !decompressedLength)
        return VEX_BAD_ARGUMENT;
    FdReader reader(fd, offset, FdReader::Mode::Positional);
    Measurement m = measureStream(reader, CopyCheck::Verify);
    if (m.status == VEX_OK && lseek(fd, offset + m.compressed, SEEK_SET) < 0)
        m = {VEX_IO_ERROR, 0, 0};
    store(m, compressedLength, decompressedLength);
    return m.status;
}

// A null buffer is only valid with size 0; sizes are never negative.
static bool validBuffers(const uint8_t* source, int32_t sourceLength, const uint8_t* destination,
                         int32_t destinationCapacity, const int32_t* written)
{
    return (source || sourceLength == 0) && sourceLength >= 0 && destinationCapacity >= 0
        && (destination || destinationCapacity == 0) && written;
}

VEX_API int32_t VexDecode(const uint8_t* source, int32_t sourceLength, uint8_t* destination,
                          int32_t destinationCapacity, int32_t* written)
{
    if (!validBuffers(source, sourceLength, destination, destinationCapacity, written))
        return VEX_BAD_ARGUMENT;
    const Decoded d = decodeStream(source, sourceLength, destination, destinationCapacity);
    *written = static_cast<int32_t>(d.written);
    return d.status;
}

VEX_API int32_t VexEncode(const uint8_t* source, int32_t sourceLength, uint8_t* destination,
                          int32_t destinationCapacity, int32_t* written)
{
    if (!validBuffers(source, sourceLength, destination, destinationCapacity, written))
        return VEX_BAD_ARGUMENT;
    const Encoded e = encodeOnStack(source, sourceLength, destination, destinationCapacity);
    *written = e.fits ? static_cast<int32_t>(e.written) : 0;
    return e.fits ? VEX_OK : VEX_OUTPUT_FULL;
}

VEX_API int64_t VexEncodeAreaSize(int32_t inputLength)
{
    return inputLength < 0 ? -1 : static_cast<int64_t>(encodeAreaBytes(inputLength));
}

VEX_API int32_t VexEncodeInArea(const uint8_t* source, int32_t sourceLength, uint8_t* destination,
                                int32_t destinationCapacity, void* area, int64_t areaSize,
                                int32_t* written)
{
    if (!validBuffers(source, sourceLength, destination, destinationCapacity, written) || !area
        || areaSize < VexEncodeAreaSize(sourceLength))
        return VEX_BAD_ARGUMENT;
    const Encoded e = encodeGreedy(source, sourceLength, destination, destinationCapacity,
                                   WorkArea(area, static_cast<size_t>(areaSize)));
    *written = e.fits ? static_cast<int32_t>(e.written) : 0;
    return e.fits ? VEX_OK : VEX_OUTPUT_FULL;
}

VEX_API int32_t VexMaxEncodedSize(int32_t inputLength)
{
    if (inputLength < 0)
        return -1;
    const int64_t size = int64_t{inputLength} + inputLength / 16 + 4;
    return size > INT32_MAX ? -1 : static_cast<int32_t>(size);
}

} // extern "C"
