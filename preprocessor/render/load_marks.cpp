#include "preprocessor/render/load_marks.h"

#include "preprocessor/export/polygon_load_field.h"
#include "preprocessor/model/model_queries.h"

#include <algorithm>
#include <cmath>

namespace shellfem::preprocessor::render {

namespace {

// Share of the way from an element corner to the element centre at which its marks sit.
constexpr double kElementMarkInset = 0.2;

// The records sorted by `key`, each run of one key folded into its first record.
template <typename Record, typename Key, typename Fold>
std::vector<Record> foldedBy(std::vector<Record> records, Key key, Fold fold) {
    std::stable_sort(records.begin(), records.end(),
                     [&](const Record& a, const Record& b) { return key(a) < key(b); });
    std::vector<Record> folded;
    for (const Record& r : records) {
        if (!folded.empty() && key(folded.back()) == key(r))
            fold(folded.back(), r);
        else
            folded.push_back(r);
    }
    return folded;
}

template <typename Values> void addValues(Values& sum, const Values& more) {
    for (std::size_t i = 0; i < sum.size(); ++i)
        sum[i] += more[i];
}

} // namespace

std::vector<NodalForce> forcesByNode(const ModelData& data) {
    return foldedBy(
        data.forces, [](const NodalForce& f) { return f.node; },
        [](NodalForce& sum, const NodalForce& f) { addValues(sum.values, f.values); });
}

std::vector<PolygonLoad> loadsByPolygon(const ModelData& data) {
    return foldedBy(
        data.polygonLoads, [](const PolygonLoad& l) { return l.polygon; },
        [](PolygonLoad& sum, const PolygonLoad& l) { addValues(sum.q, l.q); });
}

std::vector<Restraint> restraintsByNode(const ModelData& data) {
    std::vector<Restraint> held = foldedBy(
        data.restraints, [](const Restraint& r) { return r.node; },
        [](Restraint& all, const Restraint& r) {
            for (std::size_t d = 0; d < all.flags.size(); ++d)
                all.flags[d] = all.flags[d] == 1 || r.flags[d] == 1 ? 1 : 0;
        });
    for (Restraint& r : held)
        for (int& flag : r.flags)
            flag = flag == 1 ? 1 : 0;
    return held;
}

double largestCornerPressure(const ModelData& data, const std::vector<PolygonLoad>& loads) {
    double largest = 0.0;
    for (const PolygonLoad& load : loads) {
        const Polygon& polygon = data.polygons[static_cast<std::size_t>(load.polygon)];
        if (!polygon.visible)
            continue;
        // Only four-corner polygons vary; the others carry q0 everywhere.
        const std::size_t used = polygon.vertices.size() == 4 ? 4 : 1;
        for (std::size_t c = 0; c < used; ++c)
            largest = std::max(largest, std::abs(load.q[c]));
    }
    return largest;
}

std::vector<PressureMark> polygonPressureMarks(const Model& model, const ProjectedModel& projected,
                                               const view3d::View& view, const PolygonLoad& load) {
    const Polygon& polygon = model.data().polygons[static_cast<std::size_t>(load.polygon)];
    const PolygonGeometry& geometry =
        model.polygonGeometry()[static_cast<std::size_t>(load.polygon)];
    if (!(geometry.area > 0.0))
        return {};
    std::vector<PressureMark> marks;
    for (std::size_t c = 0; c < polygon.vertices.size(); ++c) {
        const auto point = static_cast<std::size_t>(polygon.vertices[c]);
        marks.push_back({pixelOf(projected.points[point]), geometry.normal,
                         loadIntensityAt(geometry.corners, load.q, geometry.corners[c])});
    }
    marks.push_back({view.modelToPixel(geometry.centroid), geometry.normal,
                     loadIntensityAt(geometry.corners, load.q, geometry.centroid)});
    return marks;
}

std::vector<PressureMark> elementPressureMarks(const Model& model, const ProjectedModel& projected,
                                               int element, const PolygonLoad& load) {
    const ModelData& data = model.data();
    const Element& e = data.elements[static_cast<std::size_t>(element)];
    const Vec3 normal = unitOrZero(elementNormal(data, e));
    if (length(normal) == 0.0)
        return {};
    const std::array<double, 4> values = elementCornerLoads(
        data, e, model.polygonGeometry()[static_cast<std::size_t>(e.polygon)], load.q);
    std::array<platform::PixelPoint, 4> corners;
    platform::PixelPoint centre;
    for (std::size_t c = 0; c < 4; ++c) {
        corners[c] = pixelOf(projected.nodes[static_cast<std::size_t>(e.nodes[c])]);
        centre.x += 0.25 * corners[c].x;
        centre.y += 0.25 * corners[c].y;
    }
    std::vector<PressureMark> marks;
    marks.reserve(4);
    for (std::size_t c = 0; c < 4; ++c) {
        const platform::PixelPoint at{corners[c].x + kElementMarkInset * (centre.x - corners[c].x),
                                      corners[c].y + kElementMarkInset * (centre.y - corners[c].y)};
        marks.push_back({at, normal, values[c]});
    }
    return marks;
}

} // namespace shellfem::preprocessor::render
