#include "preprocessor/model/polygon_geometry.h"

#include <algorithm>

namespace shellfem::preprocessor {

namespace {

// Sine of the smallest turn accepted at a corner of a convex polygon.
const double kMinimumCornerSine = 1e-6;

} // namespace

PolygonGeometry polygonGeometry(const std::vector<Vec3>& corners) {
    PolygonGeometry g;
    g.corners = corners;
    const std::size_t n = corners.size();
    if (n < 3)
        return g;
    Vec3 origin = corners[0];
    Vec3 areaVector;
    Vec3 weightedCentre;
    double fanWeight = 0.0;
    for (std::size_t k = 1; k + 1 < n; ++k) {
        Vec3 twiceArea = cross(corners[k] - origin, corners[k + 1] - origin);
        areaVector = areaVector + twiceArea;
        Vec3 centre = (1.0 / 3.0) * (origin + corners[k] + corners[k + 1]);
        weightedCentre = weightedCentre + length(twiceArea) * centre;
        fanWeight += length(twiceArea);
    }
    double twiceArea = length(areaVector);
    g.area = 0.5 * twiceArea;
    if (twiceArea <= 0.0)
        return g;
    g.normal = (1.0 / twiceArea) * areaVector;
    g.centroid = (1.0 / fanWeight) * weightedCentre;
    g.strictlyConvex = true;
    for (std::size_t k = 0; k < n; ++k) {
        Vec3 incoming = corners[k] - corners[(k + n - 1) % n];
        Vec3 outgoing = corners[(k + 1) % n] - corners[k];
        double scale = length(incoming) * length(outgoing);
        if (scale <= 0.0 ||
            dot(cross(incoming, outgoing), g.normal) <= kMinimumCornerSine * scale) {
            g.strictlyConvex = false;
            g.firstBadCorner = static_cast<int>(k);
            break;
        }
    }
    return g;
}

double coincidenceTolerance(const ModelExtent& extent) {
    // The preprocessing file keeps five decimals, so a position read back may lie
    // up to 0.87e-5 from where it was meshed; nearer positions cannot be told apart.
    const double fileResolution = 1e-5;
    const double relative = 1e-6;
    return std::max(fileResolution, relative * extent.size);
}

} // namespace shellfem::preprocessor
