#pragma once

#include <cstddef>

namespace shellfem {

// `bytes` of uninitialised memory, in huge pages where the system offers them;
// nullptr when it cannot be had. Give it back with std::free.
void* allocateInHugePages(std::size_t bytes);

// A zero-filled array of doubles for stores of gigabytes. Where the system
// offers it, the array lies in huge pages: touching gigabytes 4 KiB at a time
// costs seconds of page faults, several times the factorisation of a mid-size model.
class ZeroedBuffer {
public:
    // Throws std::bad_alloc when the memory cannot be had.
    explicit ZeroedBuffer(std::size_t count);
    ~ZeroedBuffer();
    ZeroedBuffer(const ZeroedBuffer&) = delete;
    ZeroedBuffer& operator=(const ZeroedBuffer&) = delete;

    double* data() { return data_; }
    const double* data() const { return data_; }
    double& operator[](std::size_t i) { return data_[i]; }
    double operator[](std::size_t i) const { return data_[i]; }
    std::size_t size() const { return size_; }

private:
    double* data_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace shellfem
