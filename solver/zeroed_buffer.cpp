#include "solver/zeroed_buffer.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <system_error>
#include <thread>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace shellfem {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Zeroes `bytes` at `memory`, the second half on a second thread when it is worth
// one: the first touch of fresh pages is the kernel clearing them, which two cores
// can share.
void zeroOnTwoThreads(void* memory, std::size_t bytes) {
    constexpr std::size_t kWorthASecondThread = std::size_t{64} << 20;
    auto* begin = static_cast<char*>(memory);
    const std::size_t half = bytes / 2;
    std::thread second;
    if (bytes >= kWorthASecondThread) {
        try {
            second = std::thread([=] { std::memset(begin + half, 0, bytes - half); });
        } catch (const std::system_error&) {
            // No second thread: this one zeroes it all.
        }
    }
    std::memset(begin, 0, second.joinable() ? half : bytes);
    if (second.joinable())
        second.join();
}

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
    zeroOnTwoThreads(data_, count * sizeof(double));
}

ZeroedBuffer::~ZeroedBuffer() {
    std::free(data_);
}

} // namespace shellfem
