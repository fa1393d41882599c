// Arbitrary bytes as a stream: measuring (in memory and through a file) and
// decoding must agree and stay inside their buffers.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "fuzz_check.h"
#include "vexlib.h"

namespace {

// The same bytes through a file descriptor, stored behind a few others.
void checkThroughFile(const uint8_t* data, size_t size, int32_t status, int32_t compressed,
                      int32_t decompressed)
{
    static const int fd = memfd_create("vexlib-fuzz", 0);
    if (fd < 0)
        return;
    const int64_t offset = static_cast<int64_t>(size % 7);
    Check(ftruncate(fd, 0) == 0);
    Check(pwrite(fd, "\x81\x81\x81\x81\x81\x81\x81", static_cast<size_t>(offset), 0) == offset);
    Check(pwrite(fd, data, size, offset) == static_cast<ssize_t>(size));

    int32_t c = -1, d = -1;
    Check(VexMeasureFd(fd, offset, &c, &d) == status);
    Check(c == compressed && d == decompressed);
    if (status == VEX_OK) {
        Check(lseek(fd, 0, SEEK_CUR) == offset + compressed);
        const int32_t at = static_cast<int32_t>(offset);
        c = d = -1;
        LoadPokeGoldFH(&fd, &at, &c, &d);
        Check(c == compressed && d == decompressed);
        Check(lseek(fd, 0, SEEK_CUR) == offset + compressed);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 20))
        return 0;
    const auto length = static_cast<int32_t>(size);
    int32_t compressed = -1, decompressed = -1;
    const int32_t status = VexMeasure(data, length, &compressed, &decompressed);
    Check(status == VEX_OK || status == VEX_NO_END_MARKER || status == VEX_BAD_COPY_SOURCE);
    if (status != VEX_OK)
        Check(compressed == 0 && decompressed == 0);
    else
        Check(compressed >= 1 && compressed <= length && decompressed >= 0);
    checkThroughFile(data, size, status, compressed, decompressed);

    // Into a bounded buffer: the measured failure, or output full first.
    static std::vector<uint8_t> bounded(1 << 16);
    int32_t written = -1;
    const int32_t bstatus = VexDecode(data, length, bounded.data(),
                                      static_cast<int32_t>(bounded.size()), &written);
    Check(written >= 0 && written <= static_cast<int32_t>(bounded.size()));
    Check(bstatus == status || bstatus == VEX_OUTPUT_FULL);
    if (status != VEX_OK)
        return 0;

    // A measured stream decodes into exactly the measured length, through
    // both the safe and the classic calls, and one byte less is too little.
    std::vector<uint8_t> exact(static_cast<size_t>(decompressed));
    Check(VexDecode(data, compressed, exact.data(), decompressed, &written) == VEX_OK);
    Check(written == decompressed);
    if (bstatus == VEX_OK && !exact.empty())
        Check(memcmp(exact.data(), bounded.data(), exact.size()) == 0);
    if (decompressed > 0) {
        std::vector<uint8_t> smaller(static_cast<size_t>(decompressed - 1));
        Check(VexDecode(data, compressed, smaller.data(), decompressed - 1, &written) ==
              VEX_OUTPUT_FULL);
    }
    int32_t c = -1, d = -1;
    LoadPokeGoldR(data, &c, &d);
    Check(c == compressed && d == decompressed);
    std::vector<uint8_t> classic(static_cast<size_t>(decompressed));
    Check(DecPokeGoldL(data, classic.data()) == decompressed);
    Check(classic == exact);
    return 0;
}
