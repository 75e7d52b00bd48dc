#pragma once

#include "tests/support/child_process.h"

#include <cstddef>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

// The address-space limit cannot be combined with the sanitizers' shadow memory.
#if defined(__SANITIZE_ADDRESS__)
#define SHELLFEM_MEMORY_LIMITS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SHELLFEM_MEMORY_LIMITS 0
#endif
#endif
#ifndef SHELLFEM_MEMORY_LIMITS
#define SHELLFEM_MEMORY_LIMITS 1
#endif

namespace shellfem {

// Bytes of address space the process holds now.
inline std::size_t addressSpaceInUse() {
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    unsigned long pages = 0;
    if (statm) {
        if (std::fscanf(statm, "%lu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// Runs `body` in a child process that may take at most `budget` bytes of memory
// beyond what it holds at its start, so that a reader that allocates by what a file
// claims fails at once instead of swapping. True when `body` returned true; an
// allocation failure, a crash or false is false.
inline bool succeedsWithinMemory(std::size_t budget, const std::function<bool()>& body) {
    return succeedsInChild(
        [budget] {
            struct rlimit limit {};
            ::getrlimit(RLIMIT_AS, &limit);
            limit.rlim_cur = addressSpaceInUse() + budget;
            ::setrlimit(RLIMIT_AS, &limit);
        },
        body);
}

} // namespace shellfem
