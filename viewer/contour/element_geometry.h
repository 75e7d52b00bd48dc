#pragma once

#include "formats/stress_file.h"
#include "platform/canvas.h"
#include "viewer/contour/projected_node.h"

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
inline bool projectedCorners(const ContourElement& element, const std::vector<ProjectedNode>& nodes,
                             std::array<ProjectedNode, 4>& corners) {
    for (std::size_t k = 0; k < 4; ++k) {
        const int node = element.nodes[k];
        if (node < 0 || static_cast<std::size_t>(node) >= nodes.size())
            return false;
        corners[k] = nodes[static_cast<std::size_t>(node)];
    }
    return true;
}

// The mean depth of the corners: the element's depth for drawing and picking.
inline double meanDepth(const std::array<ProjectedNode, 4>& corners) {
    return cornerMean(corners, [](const ProjectedNode& n) { return n.depth; });
}

// The mean of the corners in window pixels: the quadrilateral's centre.
inline platform::PixelPoint quadCentre(const std::array<ProjectedNode, 4>& corners) {
    return {cornerMean(corners, [](const ProjectedNode& n) { return n.x; }),
            cornerMean(corners, [](const ProjectedNode& n) { return n.y; })};
}

} // namespace shellfem::viewer
