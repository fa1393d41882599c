#pragma once
// Thin test-side wrappers over the library's exports, and a temporary file.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <unistd.h>

#include "sample_inputs.h"
#include "vexlib.h"

namespace vextest {

inline Bytes classicEncode(const Bytes& input)
{
    const int32_t n = static_cast<int32_t>(input.size());
    Bytes out(VEX_MAX_ENCODED_SIZE(input.size()));
    const int32_t written = EncPokeGoldAsm(input.data(), out.data(), &n);
    out.resize(static_cast<size_t>(written));
    return out;
}

struct Measured {
    int32_t status;
    int32_t compressed;
    int32_t decompressed;
};

inline Measured safeMeasure(const Bytes& stream)
{
    Measured m{-1, -1, -1};
    m.status = VexMeasure(stream.data(), static_cast<int32_t>(stream.size()), &m.compressed,
                          &m.decompressed);
    return m;
}

// A file holding content, removed again at the end of the test.
class TempFile {
public:
    explicit TempFile(const Bytes& content)
    {
        std::string pattern = testing::TempDir() + "vexlib-XXXXXX";
        fd_ = mkstemp(pattern.data());
        path_ = pattern;
        EXPECT_GE(fd_, 0);
        EXPECT_EQ(write(fd_, content.data(), content.size()), static_cast<ssize_t>(content.size()));
    }
    ~TempFile()
    {
        close(fd_);
        unlink(path_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return fd_; }
    int64_t position() const { return lseek(fd_, 0, SEEK_CUR); }

private:
    int fd_ = -1;
    std::string path_;
};

// filler bytes, then stream, then a few bytes that are no part of it.
inline Bytes storedAt(size_t offset, const Bytes& stream)
{
    static constexpr uint8_t trailer[] = {0x00, 0xFF, 0x81, 0x81};
    Bytes file(offset + stream.size() + sizeof trailer, 0x5A);
    std::copy(stream.begin(), stream.end(), file.begin() + static_cast<long>(offset));
    std::copy(std::begin(trailer), std::end(trailer), file.end() - sizeof trailer);
    return file;
}

} // namespace vextest
