#pragma once

#include "geometry/vec3.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace shellfem::preprocessor {

// Collects positions, treating two positions closer than the tolerance as one.
// Lookups are by a hash grid, so merging n positions takes about n steps.
class NodeMerger {
public:
    explicit NodeMerger(double tolerance);

    // Index of a stored position within the tolerance of `p`, or -1.
    int find(const Vec3& p) const;
    // Index of the stored position that `p` merges with, storing `p` if there is none.
    int insert(const Vec3& p);
    // Stores `p` even where another position lies within the tolerance, so that
    // indices follow an existing list (whose nodes may already coincide).
    int append(const Vec3& p);

private:
    struct Cell {
        std::int64_t i, j, k;
        bool operator==(const Cell& o) const { return i == o.i && j == o.j && k == o.k; }
    };
    struct CellHash {
        std::size_t operator()(const Cell& c) const;
    };
    Cell cellOf(const Vec3& p) const;

    double tolerance_;
    double cellSize_;
    std::vector<Vec3> positions_;
    std::unordered_map<Cell, std::vector<int>, CellHash> cells_;
};

} // namespace shellfem::preprocessor
