#include <cerrno>
#include <unistd.h>

#include "byte_readers.h"

namespace vex {

FdReader::FdReader(int fd, int64_t start, Mode mode)
    : fd_(fd), start_(start), mode_(mode), filePosition_(-1)
{
}

bool FdReader::refill()
{
    if (pos_ >= kMaxStreamBytes) {
        failure_ = VEX_TOO_LONG;
        return false;
    }
    const int64_t at = start_ + pos_;
    ssize_t got;
    do {
        if (mode_ == Mode::Positional) {
            got = pread(fd_, buffer_, sizeof buffer_, at);
        } else {
            if (filePosition_ != at && lseek(fd_, at, SEEK_SET) != at) {
                failure_ = VEX_IO_ERROR;
                return false;
            }
            filePosition_ = at;
            got = read(fd_, buffer_, sizeof buffer_);
        }
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        failure_ = VEX_IO_ERROR;
        return false;
    }
    if (got == 0) {
        failure_ = VEX_NO_END_MARKER;
        return false;
    }
    filePosition_ = at + got;
    bufferStart_ = pos_;
    bufferLength_ = got;
    return true;
}

} // namespace vex
