#include "preprocessor/mesh/node_merger.h"

#include <cmath>

namespace shellfem::preprocessor {

NodeMerger::NodeMerger(double tolerance) : tolerance_(tolerance), cellSize_(2.0 * tolerance) {}

std::size_t NodeMerger::CellHash::operator()(const Cell& c) const {
    std::uint64_t h = static_cast<std::uint64_t>(c.i) * 0x9E3779B97F4A7C15ULL;
    h ^= static_cast<std::uint64_t>(c.j) * 0xC2B2AE3D27D4EB4FULL + (h << 6) + (h >> 2);
    h ^= static_cast<std::uint64_t>(c.k) * 0x165667B19E3779F9ULL + (h << 6) + (h >> 2);
    return static_cast<std::size_t>(h);
}

NodeMerger::Cell NodeMerger::cellOf(const Vec3& p) const {
    return {static_cast<std::int64_t>(std::floor(p.x / cellSize_)),
            static_cast<std::int64_t>(std::floor(p.y / cellSize_)),
            static_cast<std::int64_t>(std::floor(p.z / cellSize_))};
}

int NodeMerger::find(const Vec3& p) const {
    Cell centre = cellOf(p);
    for (std::int64_t di = -1; di <= 1; ++di)
        for (std::int64_t dj = -1; dj <= 1; ++dj)
            for (std::int64_t dk = -1; dk <= 1; ++dk) {
                auto found = cells_.find({centre.i + di, centre.j + dj, centre.k + dk});
                if (found == cells_.end())
                    continue;
                for (int index : found->second)
                    if (length(positions_[static_cast<std::size_t>(index)] - p) <= tolerance_)
                        return index;
            }
    return -1;
}

int NodeMerger::insert(const Vec3& p) {
    int existing = find(p);
    return existing >= 0 ? existing : append(p);
}

int NodeMerger::append(const Vec3& p) {
    int index = static_cast<int>(positions_.size());
    positions_.push_back(p);
    cells_[cellOf(p)].push_back(index);
    return index;
}

} // namespace shellfem::preprocessor
