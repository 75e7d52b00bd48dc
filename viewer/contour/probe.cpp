#include "viewer/contour/probe.h"

#include "geometry/bilinear.h"
#include "viewer/contour/element_geometry.h"
#include "viewer/contour/selection.h"

#include <algorithm>
#include <cmath>

namespace shellfem::viewer {

namespace {

platform::PixelPoint bilinearPoint(const std::array<view3d::ScreenPoint, 4>& c, double s,
                                   double t) {
    const std::array<double, 4> w = bilinearWeights(s, t);
    platform::PixelPoint p;
    for (std::size_t k = 0; k < 4; ++k) {
        p.x += w[k] * c[k].x;
        p.y += w[k] * c[k].y;
    }
    return p;
}

} // namespace

bool bilinearCoordinates(const std::array<view3d::ScreenPoint, 4>& c, platform::PixelPoint at,
                         double& s, double& t) {
    double size = 0.0;
    for (std::size_t k = 0; k < 4; ++k)
        size = std::max({size, std::fabs(c[k].x - c[0].x), std::fabs(c[k].y - c[0].y)});
    if (size == 0.0)
        return false;
    // Newton's method from the centre; one step is exact for a parallelogram.
    double u = 0.5, v = 0.5;
    for (int iteration = 0; iteration < 30; ++iteration) {
        const platform::PixelPoint p = bilinearPoint(c, u, v);
        const double fx = p.x - at.x, fy = p.y - at.y;
        if (std::hypot(fx, fy) <= 1e-9 * size) {
            s = std::clamp(u, 0.0, 1.0);
            t = std::clamp(v, 0.0, 1.0);
            return true;
        }
        const double dxds = (1 - v) * (c[1].x - c[0].x) + v * (c[2].x - c[3].x);
        const double dyds = (1 - v) * (c[1].y - c[0].y) + v * (c[2].y - c[3].y);
        const double dxdt = (1 - u) * (c[3].x - c[0].x) + u * (c[2].x - c[1].x);
        const double dydt = (1 - u) * (c[3].y - c[0].y) + u * (c[2].y - c[1].y);
        const double det = dxds * dydt - dxdt * dyds;
        if (std::fabs(det) <= 1e-12 * size * size)
            return false;
        u -= (fx * dydt - fy * dxdt) / det;
        v -= (dxds * fy - dyds * fx) / det;
        if (!std::isfinite(u) || !std::isfinite(v) || std::fabs(u) > 10 || std::fabs(v) > 10)
            return false;
    }
    return false;
}

std::optional<ProbePoint> probeAt(const ContourModel& model,
                                  const std::vector<view3d::ScreenPoint>& nodes,
                                  platform::PixelPoint at) {
    const int e = pickElement(model, nodes, at);
    if (e < 0)
        return std::nullopt;
    const ContourElement& element = model.elements[static_cast<std::size_t>(e)];
    std::array<view3d::ScreenPoint, 4> corners;
    if (!projectedCorners(element, nodes, corners))
        return std::nullopt;
    ProbePoint probe;
    probe.element = e;
    double nearest = INFINITY;
    for (std::size_t k = 0; k < 4; ++k) {
        const double d = std::hypot(corners[k].x - at.x, corners[k].y - at.y);
        if (d < nearest) {
            nearest = d;
            probe.corner = static_cast<int>(k);
        }
    }
    probe.node = element.nodes[static_cast<std::size_t>(probe.corner)];
    // Seen edge-on the map has no inverse: the nearest corner stands for the point.
    static constexpr double cornerS[4] = {0, 1, 1, 0}, cornerT[4] = {0, 0, 1, 1};
    probe.s = cornerS[probe.corner];
    probe.t = cornerT[probe.corner];
    bilinearCoordinates(corners, at, probe.s, probe.t);
    return probe;
}

double interpolate(const std::array<double, 4>& cornerValues, double s, double t) {
    const std::array<double, 4> w = bilinearWeights(s, t);
    return w[0] * cornerValues[0] + w[1] * cornerValues[1] + w[2] * cornerValues[2] +
           w[3] * cornerValues[3];
}

std::optional<platform::PixelPoint> probePosition(const ContourModel& model,
                                                  const std::vector<view3d::ScreenPoint>& nodes,
                                                  const ProbePoint& probe) {
    if (probe.element < 0 || static_cast<std::size_t>(probe.element) >= model.elements.size())
        return std::nullopt;
    std::array<view3d::ScreenPoint, 4> corners;
    if (!projectedCorners(model.elements[static_cast<std::size_t>(probe.element)], nodes, corners))
        return std::nullopt;
    return bilinearPoint(corners, probe.s, probe.t);
}

} // namespace shellfem::viewer
