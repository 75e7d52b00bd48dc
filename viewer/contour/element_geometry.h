#pragma once

#include "formats/stress_file.h"
#include "platform/canvas.h"
#include "view3d/picking.h"

#include <array>
#include <cstddef>
#include <vector>

namespace shellfem::viewer {

// Whether item `i` has a flag and it is set.
inline bool isSelected(const std::vector<char>& flags, std::size_t i) {
    return i < flags.size() && flags[i];
}

// The mean of `field` over the four corners of a quadrilateral, each added as a quarter.
template <typename Corner, typename Field>
double cornerMean(const std::array<Corner, 4>& corners, Field field) {
    double mean = 0.0;
    for (const Corner& corner : corners)
        mean += 0.25 * field(corner);
    return mean;
}

// The element's four projected corners, when all its node numbers have a projected node;
// false (and `corners` partly filled) otherwise.
inline bool projectedCorners(const ContourElement& element,
                             const std::vector<view3d::ScreenPoint>& nodes,
                             std::array<view3d::ScreenPoint, 4>& corners) {
    for (std::size_t k = 0; k < 4; ++k) {
        const int node = element.nodes[k];
        if (node < 0 || static_cast<std::size_t>(node) >= nodes.size())
            return false;
        corners[k] = nodes[static_cast<std::size_t>(node)];
    }
    return true;
}

} // namespace shellfem::viewer
