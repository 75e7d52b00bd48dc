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

ZeroedBuffer::ZeroedBuffer(std::size_t count) : size_(count) {
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(double) - kHugePage)
        throw std::bad_alloc();
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t bytes = (count * sizeof(double) + kHugePage - 1) / kHugePage * kHugePage;
    data_ = static_cast<double*>(std::aligned_alloc(kHugePage, bytes == 0 ? kHugePage : bytes));
    if (!data_)
        throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    ::madvise(data_, bytes, MADV_HUGEPAGE);
#endif
    std::memset(data_, 0, count * sizeof(double));
}

ZeroedBuffer::~ZeroedBuffer() {
    std::free(data_);
}

} // namespace shellfem
