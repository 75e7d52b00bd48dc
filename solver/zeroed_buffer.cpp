#include "solver/zeroed_buffer.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace shellfem {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

} // namespace

void* allocateInHugePages(std::size_t bytes) {
    if (bytes > std::numeric_limits<std::size_t>::max() - kHugePage)
        return nullptr;
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t rounded =
        bytes == 0 ? kHugePage : (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* memory = std::aligned_alloc(kHugePage, rounded);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (memory)
        ::madvise(memory, rounded, MADV_HUGEPAGE);
#endif
    return memory;
}

ZeroedBuffer::ZeroedBuffer(std::size_t count) : size_(count) {
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(double))
        throw std::bad_alloc();
    data_ = static_cast<double*>(allocateInHugePages(count * sizeof(double)));
    if (!data_)
        throw std::bad_alloc();
    std::memset(data_, 0, count * sizeof(double));
}

ZeroedBuffer::~ZeroedBuffer() {
    std::free(data_);
}

} // namespace shellfem
