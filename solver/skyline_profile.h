#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace shellfem {

// Column profile of a symmetric matrix stored from each diagonal upwards.
// Column c holds rows top(c)..c; entry (r, c) lies at diagonal(c) + (c − r).
// Heights are 32-bit like the equation numbers; addresses and the total are
// 64-bit, because a large model passes 2^31 entries long before it runs out of memory.
class SkylineProfile {
public:
    SkylineProfile() = default;
    explicit SkylineProfile(int equations);

    // Widens the columns of every equation in `equations` down to the smallest of them.
    template <std::size_t N> void addCoupling(const std::array<int, N>& equations);
    // Computes the diagonal addresses; call once all couplings are added.
    void finish();

    int equations() const { return static_cast<int>(heights_.size()); }
    int height(int column) const { return heights_[static_cast<std::size_t>(column)]; }
    int top(int column) const { return column - height(column) + 1; }
    std::int64_t diagonal(int column) const { return diagonals_[static_cast<std::size_t>(column)]; }
    std::int64_t entries() const { return entries_; }

private:
    std::vector<std::int32_t> heights_;
    std::vector<std::int64_t> diagonals_;
    std::int64_t entries_ = 0;
};

template <std::size_t N> void SkylineProfile::addCoupling(const std::array<int, N>& equations) {
    int lowest = equations[0];
    for (int e : equations)
        lowest = e < lowest ? e : lowest;
    for (int e : equations) {
        std::int32_t& h = heights_[static_cast<std::size_t>(e)];
        h = std::max<std::int32_t>(h, e - lowest + 1);
    }
}

} // namespace shellfem
