#pragma once

#include "geometry/vec3.h"

#include <array>
#include <vector>

namespace shellfem::preprocessor {

// Where a point lies beside the segment from a to b (which must not be of zero length).
struct SegmentOffset {
    double length = 0.0; // length of the segment
    double along = 0.0;  // distance of the point's projection from a, towards b
    double across = 0.0; // distance of the point from the segment's line
};

SegmentOffset offsetFromSegment(const Vec3& p, const Vec3& a, const Vec3& b);

// A node that lies inside the edge of an element which no other element shares:
// the two sides of that line are not connected (a hanging node or a crack).
struct HangingNode {
    int node = -1;
    int element = -1; // the element whose free edge passes through the node
};

// Looks only at places that involve an element flagged in `isNew`, so that a
// defect elsewhere does not block meshing. Returns false when the mesh conforms.
bool findHangingNode(const std::vector<Vec3>& nodes,
                     const std::vector<std::array<int, 4>>& elements,
                     const std::vector<bool>& isNew, double tolerance, HangingNode& found);

} // namespace shellfem::preprocessor
