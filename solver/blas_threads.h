#pragma once

#include <cblas.h>

#include <algorithm>

namespace shellfem {

// Sets the BLAS's thread count for a piece of work and gives it back after.
class BlasThreads {
public:
    explicit BlasThreads(int threads) : previous_(openblas_get_num_threads()) {
        openblas_set_num_threads(std::max(1, threads));
    }
    ~BlasThreads() { openblas_set_num_threads(previous_); }
    BlasThreads(const BlasThreads&) = delete;
    BlasThreads& operator=(const BlasThreads&) = delete;

private:
    int previous_;
};

} // namespace shellfem
