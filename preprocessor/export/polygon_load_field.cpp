#include "preprocessor/export/polygon_load_field.h"

#include "geometry/bilinear.h"
#include "preprocessor/model/model_queries.h"

#include <algorithm>
#include <cmath>

namespace shellfem::preprocessor {

std::array<double, 2> bilinearCoordinates(const std::array<Vec3, 4>& corners, const Vec3& p) {
    // Worked relative to corner 0 in units of the quadrilateral's size, so that the
    // products below stay finite however large the coordinates are.
    double size = 0.0;
    for (const Vec3& corner : corners)
        size = std::max({size, std::abs(corner.x - corners[0].x), std::abs(corner.y - corners[0].y),
                         std::abs(corner.z - corners[0].z)});
    if (!(size > 0.0) || !std::isfinite(size))
        return {0.5, 0.5};
    const auto local = [&](const Vec3& x) { return (1.0 / size) * (x - corners[0]); };
    const std::array<Vec3, 4> c = {local(corners[0]), local(corners[1]), local(corners[2]),
                                   local(corners[3])};
    const Vec3 target = local(p);
    // Gauss-Newton on |X(s,t) - p|^2; the surface is close to flat, so a few steps
    // reach the roundoff level from the middle of a convex quadrilateral. A warped
    // or stretched one may send the steps away: they are kept near the square and a
    // step that is not finite ends the search where it stands.
    const int maximumSteps = 50;
    double s = 0.5;
    double t = 0.5;
    for (int step = 0; step < maximumSteps; ++step) {
        const std::array<double, 4> w = bilinearWeights(s, t);
        Vec3 x = w[0] * c[0] + w[1] * c[1] + w[2] * c[2] + w[3] * c[3];
        Vec3 dxds = (1 - t) * (c[1] - c[0]) + t * (c[2] - c[3]);
        Vec3 dxdt = (1 - s) * (c[3] - c[0]) + s * (c[2] - c[1]);
        Vec3 r = x - target;
        double a = dot(dxds, dxds);
        double b = dot(dxds, dxdt);
        double d = dot(dxdt, dxdt);
        double determinant = a * d - b * b;
        if (!(determinant > 0.0))
            break;
        double gs = dot(dxds, r);
        double gt = dot(dxdt, r);
        double ds = -(d * gs - b * gt) / determinant;
        double dt = -(a * gt - b * gs) / determinant;
        if (!std::isfinite(ds) || !std::isfinite(dt))
            break;
        s = std::clamp(s + ds, -1.0, 2.0);
        t = std::clamp(t + dt, -1.0, 2.0);
        if (std::abs(ds) + std::abs(dt) < 1e-14)
            break;
    }
    return {std::clamp(s, 0.0, 1.0), std::clamp(t, 0.0, 1.0)};
}

double loadIntensityAt(const std::vector<Vec3>& corners, const std::array<double, 4>& q,
                       const Vec3& p) {
    if (corners.size() != 4)
        return q[0];
    auto [s, t] = bilinearCoordinates({corners[0], corners[1], corners[2], corners[3]}, p);
    const std::array<double, 4> w = bilinearWeights(s, t);
    return w[0] * q[0] + w[1] * q[1] + w[2] * q[2] + w[3] * q[3];
}

std::array<double, 4> elementCornerLoads(const ModelData& data, const Element& element,
                                         const PolygonGeometry& polygon,
                                         const std::array<double, 4>& q) {
    const double sign = dot(elementNormal(data, element), polygon.normal) < 0.0 ? -1.0 : 1.0;
    std::array<double, 4> corners{};
    for (std::size_t c = 0; c < 4; ++c) {
        const Vec3& p = data.nodes[static_cast<std::size_t>(element.nodes[c])].position;
        corners[c] = sign * loadIntensityAt(polygon.corners, q, p);
    }
    return corners;
}

} // namespace shellfem::preprocessor
