#pragma once

#include "common/outcome.h"
#include "geometry/vec3.h"
#include "preprocessor/mesh/mesh_control.h"

#include <array>
#include <string>
#include <vector>

namespace shellfem::preprocessor {

// A strictly convex polygon to be meshed, corners in vertex order.
struct PolygonToMesh {
    int polygon = 0;           // polygon ID, for messages
    std::vector<int> vertices; // point IDs, for messages
    std::vector<Vec3> corners;
};

// An edge of a polygon that is already meshed and stays as it is: polygons meshed
// now must put the same number of element edges on it to conform.
struct MeshedEdge {
    Vec3 from;
    Vec3 to;
    int divisions = 0;
    int polygon = 0;
};

// The mesh of one polygon in its own node numbering (0-based, local to the polygon).
// Element corners run the same way round as the polygon's vertices.
struct PolygonMesh {
    int polygon = 0;
    std::vector<Vec3> nodes;
    std::vector<std::array<int, 4>> elements;
};

// Refuses meshes larger than this in one step, so that a mistyped element size
// cannot exhaust memory.
inline const long long kMaximumElementsPerMeshing = 2000000;

// Chooses the number of element edges on every polygon edge so that edges shared
// by two polygons (or by a polygon and a meshed neighbour) get the same count,
// then meshes every polygon mapped. Refuses with a message naming the
// polygons and points of an edge whose counts cannot agree.
Outcome meshQuadrilaterals(const std::vector<PolygonToMesh>& polygons,
                           const std::vector<MeshedEdge>& meshedEdges, const MeshControl& control,
                           double tolerance, std::vector<PolygonMesh>& meshes);

} // namespace shellfem::preprocessor
