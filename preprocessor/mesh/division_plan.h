#pragma once

#include "common/outcome.h"
#include "preprocessor/mesh/quad_mesher.h"

#include <string>
#include <vector>

namespace shellfem::preprocessor {

// The point where a polygon of other than four corners is split into quadrilaterals.
Vec3 polygonCentre(const std::vector<Vec3>& corners);

// divisions[p][k] = element edges along edge k (corner k to corner k+1) of polygons[p].
// Four-corner polygons have equal counts on opposite edges; the others the same
// even count on every edge. Shared edges get equal counts, or the plan is refused.
Outcome planDivisions(const std::vector<PolygonToMesh>& polygons,
                      const std::vector<MeshedEdge>& meshedEdges, const MeshControl& control,
                      double tolerance, std::vector<std::vector<int>>& divisions);

} // namespace shellfem::preprocessor
