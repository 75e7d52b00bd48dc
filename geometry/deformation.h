#pragma once

#include "geometry/vec3.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace shellfem {

// Displacements hold six values per node in the order u, v, w, θx, θy, θz.

// `position` moved by `scale` times the node's translation.
inline Vec3 displacedPosition(const Vec3& position, const std::vector<double>& displacements,
                              std::size_t node, double scale) {
    const double* u = displacements.data() + 6 * node;
    return {position.x + scale * u[0], position.y + scale * u[1], position.z + scale * u[2]};
}

// The scale that draws the largest translation component at 5 % of the largest side of the
// nodes' bounding box; 0 when nothing moves (or there are no nodes). `displacements` holds
// six values for every node.
inline double deformationScale(const std::vector<Vec3>& nodes,
                               const std::vector<double>& displacements) {
    if (nodes.empty())
        return 0.0;
    Vec3 lo = nodes[0], hi = nodes[0];
    double largestTranslation = 0.0;
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        const Vec3& p = nodes[n];
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        for (std::size_t d = 0; d < 3; ++d)
            largestTranslation = std::max(largestTranslation, std::fabs(displacements[6 * n + d]));
    }
    const double extent = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
    const double scale = largestTranslation > 0.0 ? 0.05 * extent / largestTranslation : 0.0;
    // Translations so small against the model that the scale overflows do not show.
    return std::isfinite(scale) ? scale : 0.0;
}

} // namespace shellfem
