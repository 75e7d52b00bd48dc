#pragma once

#include "geometry/vec3.h"

#include <array>
#include <cstddef>
#include <vector>

namespace shellfem::preprocessor {

// Entries of the solver's skyline store for this node numbering: six equations
// per node in node order, each column from its diagonal up to the lowest
// equation of any element that holds it. Memory and factorisation time follow it.
long long skylineEntries(std::size_t nodeCount, const std::vector<std::array<int, 4>>& elements);

// A node numbering with a small profile: reverse Cuthill-McKee over each connected
// part of the mesh, started from a pseudo-peripheral node. Nodes of no element
// keep their relative order after the others. Returns the new index of each node.
std::vector<int> reverseCuthillMcKee(std::size_t nodeCount,
                                     const std::vector<std::array<int, 4>>& elements);

// A node numbering in sweeps along the mesh's longest extent: by the coordinate
// along that axis (coordinates within `tolerance` count as equal), then along the
// second longest, then the third. On meshes of rectangular outline this numbers
// across the short direction, which Cuthill-McKee from a corner does not.
// Nodes of no element keep their relative order after the others.
std::vector<int> sweepAlongLongestAxis(const std::vector<Vec3>& positions,
                                       const std::vector<std::array<int, 4>>& elements,
                                       double tolerance);

} // namespace shellfem::preprocessor
