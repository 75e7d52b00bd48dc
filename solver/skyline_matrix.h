#pragma once

#include "solver/skyline_profile.h"
#include "solver/zeroed_buffer.h"

#include <array>
#include <cstdint>

namespace shellfem {

// Upper triangle of a symmetric matrix in the store of a SkylineProfile.
// The profile is shared, not owned: it must outlive the matrix.
class SkylineMatrix {
public:
    // Allocates and zeroes the store; throws std::bad_alloc when memory is short.
    explicit SkylineMatrix(const SkylineProfile& profile);

    const SkylineProfile& profile() const { return *profile_; }
    int equations() const { return profile_->equations(); }

    // Entry (r, c) with top(c) <= r <= c.
    double& at(int row, int column) { return store_[address(row, column)]; }
    double at(int row, int column) const { return store_[address(row, column)]; }
    double& diagonal(int column) {
        return store_[static_cast<std::size_t>(profile_->diagonal(column))];
    }

    // Adds a full symmetric element matrix (n × n, row-major) whose local index j
    // is equation `equations[j]`; each pair j <= k is added once.
    template <std::size_t N>
    void addElementMatrix(const std::array<int, N>& equations, const double* K);

    // Column c's stored entries, from its diagonal upwards (rows c, c−1, …, top(c)).
    double* column(int c) { return store_.data() + profile_->diagonal(c); }
    const double* column(int c) const { return store_.data() + profile_->diagonal(c); }

private:
    std::size_t address(int row, int column) const {
        return static_cast<std::size_t>(profile_->diagonal(column) + (column - row));
    }

    const SkylineProfile* profile_;
    ZeroedBuffer store_;
};

template <std::size_t N>
void SkylineMatrix::addElementMatrix(const std::array<int, N>& equations, const double* K) {
    for (std::size_t j = 0; j < N; ++j)
        for (std::size_t k = j; k < N; ++k) {
            const int a = equations[j];
            const int b = equations[k];
            store_[a < b ? address(a, b) : address(b, a)] += K[j * N + k];
        }
}

} // namespace shellfem
