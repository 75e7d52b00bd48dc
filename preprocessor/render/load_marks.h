#pragma once

#include "platform/canvas.h"
#include "preprocessor/model/model.h"
#include "preprocessor/render/screen_projection.h"

#include <array>
#include <vector>

namespace shellfem::preprocessor::render {

// What the solver applies, one record per loaded or restrained item in ascending
// ID order: the sum of a node's forces, the sum of a polygon's loads, the union
// of the degrees of freedom a node's restraints hold (flag 1).
std::vector<NodalForce> forcesByNode(const ModelData& data);
std::vector<PolygonLoad> loadsByPolygon(const ModelData& data);
std::vector<Restraint> restraintsByNode(const ModelData& data);

// The largest pressure at a corner of a shown polygon under `loads`: the largest
// a load arrow shows, since the bilinear field peaks at the corners.
double largestCornerPressure(const ModelData& data, const std::vector<PolygonLoad>& loads);

// `v` scaled to length 1; the zero vector stays zero.
inline Vec3 unitOrZero(const Vec3& v) {
    const double size = length(v);
    return size > 0.0 ? (1.0 / size) * v : Vec3{};
}

// A pressure `value` acting at the window pixel `at`, positive along the unit
// model vector `direction`.
struct PressureMark {
    platform::PixelPoint at;
    Vec3 direction;
    double value = 0.0;
};

// The load of a polygon at its corners and its centroid, along the polygon normal;
// none for a polygon without area, which has no normal.
std::vector<PressureMark> polygonPressureMarks(const Model& model, const ProjectedModel& projected,
                                               const view3d::View& view, const PolygonLoad& load);

// The pressure at an element's corners as the solver takes it (along the element
// normal), each mark set a little inside the element so that neighbours' marks
// at a shared node stay apart; none for an element without area.
std::vector<PressureMark> elementPressureMarks(const Model& model, const ProjectedModel& projected,
                                               int element, const PolygonLoad& load);

} // namespace shellfem::preprocessor::render
