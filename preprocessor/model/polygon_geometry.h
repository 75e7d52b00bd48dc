#pragma once

#include "geometry/vec3.h"

#include <vector>

namespace shellfem::preprocessor {

// Geometry of a polygon given by its corners in vertex order (model units).
struct PolygonGeometry {
    std::vector<Vec3> corners;
    Vec3 normal;   // unit normal by the right-hand rule over the vertex order; zero if degenerate
    Vec3 centroid; // area centroid
    double area = 0.0;
    // Every corner turns the same way as the normal by more than a sliver of angle,
    // so the polygon can be meshed without folded or flattened elements.
    bool strictlyConvex = false;
    int firstBadCorner = -1; // the first corner that breaks strict convexity, -1 if none
};

PolygonGeometry polygonGeometry(const std::vector<Vec3>& corners);

// Axis-aligned box around the model's points and nodes.
struct ModelExtent {
    Vec3 min;
    Vec3 max;
    double size = 0.0; // length of the box diagonal; 0 for an empty or one-point model
};

// Distance below which two positions are the same point: relative to the model
// size, and never finer than the preprocessing file keeps coordinates.
double coincidenceTolerance(const ModelExtent& extent);

} // namespace shellfem::preprocessor
