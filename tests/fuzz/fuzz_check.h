#pragma once

#include <cstdio>
#include <cstdlib>

// A property that every input must keep; a broken one ends the run like a crash, so
// that the fuzzer keeps the input and the corpus replay fails on it.
#define FUZZ_CHECK(condition, what)                                                                \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", what, __FILE__, __LINE__);       \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
