#pragma once
// Memory the caller lends for one call, handed out front to back.

#include <cstddef>
#include <cstdint>

namespace vex {

class WorkArea {
public:
    static constexpr size_t kAlign = 64;

    WorkArea() = default;
    WorkArea(void* base, size_t size) : next_(static_cast<uint8_t*>(base)), end_(next_ + size)
    {
        skipToAlignment();
    }

    // Bytes that take<T>(count) consumes at most, alignment included.
    template <class T>
    static constexpr size_t bytesFor(size_t count)
    {
        return (count * sizeof(T) + kAlign - 1) / kAlign * kAlign;
    }

    // count fresh (uninitialised) elements, or null when they do not fit.
    template <class T>
    T* take(size_t count)
    {
        const size_t bytes = bytesFor<T>(count);
        if (static_cast<size_t>(end_ - next_) < bytes)
            return nullptr;
        T* at = reinterpret_cast<T*>(next_);
        next_ += bytes;
        return at;
    }

    size_t left() const { return static_cast<size_t>(end_ - next_); }

    // What is taken after mark() is given back by release(mark).
    uint8_t* mark() const { return next_; }
    void release(uint8_t* mark) { next_ = mark; }

private:
    void skipToAlignment()
    {
        const auto misalignment = reinterpret_cast<uintptr_t>(next_) % kAlign;
        const size_t skip = misalignment ? kAlign - misalignment : 0;
        next_ = skip <= static_cast<size_t>(end_ - next_) ? next_ + skip : end_;
    }

    uint8_t* next_ = nullptr;
    uint8_t* end_ = nullptr;
};

} // namespace vex
