#pragma once
// Byte sources for walking a stream: memory of known size, or a file.

#include <cstdint>

#include "vexlib.h"

namespace vex {

// Longest stream any count can describe.
inline constexpr int64_t kMaxStreamBytes = INT32_MAX;

class MemoryReader {
public:
    MemoryReader(const uint8_t* data, int64_t size)
        : data_(data), size_(size < kMaxStreamBytes ? size : kMaxStreamBytes),
          limited_(size > kMaxStreamBytes)
    {
    }

    bool next(uint8_t& b)
    {
        if (pos_ >= size_)
            return false;
        b = data_[pos_++];
        return true;
    }
    bool skip(int64_t n)
    {
        if (n > size_ - pos_)
            return false;
        pos_ += n;
        return true;
    }
    int64_t consumed() const { return pos_; }
    VexStatus failure() const { return limited_ && pos_ >= size_ ? VEX_TOO_LONG : VEX_NO_END_MARKER; }

private:
    const uint8_t* data_;
    int64_t size_;
    bool limited_;
    int64_t pos_ = 0;
};

// Reads a file in chunks from start on, either with pread (the descriptor's
// position untouched) or with lseek/read at the descriptor's own position.
class FdReader {
public:
    enum class Mode { Positional, Sequential };
    FdReader(int fd, int64_t start, Mode mode);

    bool next(uint8_t& b)
    {
        if (pos_ - bufferStart_ >= bufferLength_ && !refill())
            return false;
        b = buffer_[pos_ - bufferStart_];
        ++pos_;
        return true;
    }
    // Skipping past the end of the file shows at the next read.
    bool skip(int64_t n)
    {
        pos_ += n;
        return true;
    }
    int64_t consumed() const { return pos_; }
    VexStatus failure() const { return failure_; }

private:
    bool refill();

    int fd_;
    int64_t start_;
    Mode mode_;
    int64_t filePosition_; // descriptor position as left by this reader (Sequential)
    int64_t pos_ = 0;      // stream bytes consumed
    int64_t bufferStart_ = 0;
    int64_t bufferLength_ = 0;
    VexStatus failure_ = VEX_NO_END_MARKER;
    uint8_t buffer_[4096];
};

} // namespace vex
