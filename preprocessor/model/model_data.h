#pragma once

#include "formats/solving_file.h"
#include "geometry/vec3.h"

#include <array>
#include <vector>

namespace shellfem::preprocessor {

// The pre-processor's model, one array per section of the preprocessing file.
// Every ID is the 0-based position of the record in its array; coordinates and
// loads are in the model's consistent units.

struct GeometricPoint {
    Vec3 position;
    bool visible = true;
};

// A plane face of the shell bounded by straight edges between its vertices.
// The vertex order fixes the polygon's normal (right-hand rule), and the
// elements meshed on it keep that orientation.
struct Polygon {
    std::vector<int> vertices; // geometric-point IDs, at least three
    int material = 0;
    int thickness = 0;
    bool visible = true;
    bool meshed = false; // true when at least one element belongs to the polygon
};

// Pressure at the polygon's vertices 0..3, positive along the polygon normal.
// Only four-corner polygons use q1..q3; the others carry q0 uniformly.
struct PolygonLoad {
    int polygon = 0;
    std::array<double, 4> q{};
};

struct Node {
    Vec3 position;
    bool visible = true;
};

// A four-node quadrilateral; its material and thickness are its polygon's.
struct Element {
    std::array<int, 4> nodes{}; // corner order fixes the element normal
    int polygon = 0;
    bool visible = true;
};

// Restraints and nodal forces are the very records of the solving file.
using Restraint = RestraintRecord;
using NodalForce = ForceRecord;

struct ModelData {
    std::vector<Material> materials;
    std::vector<double> thicknesses;
    std::vector<GeometricPoint> points;
    std::vector<Polygon> polygons;
    std::vector<PolygonLoad> polygonLoads;
    std::vector<Node> nodes;
    std::vector<Element> elements;
    std::vector<Restraint> restraints;
    std::vector<NodalForce> forces;
};

} // namespace shellfem::preprocessor
