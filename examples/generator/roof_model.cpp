#include "examples/generator/roof_model.h"

#include <cmath>
#include <functional>
#include <vector>

namespace shellfem {

using preprocessor::ApplyMode;
using preprocessor::EditResult;
using preprocessor::Model;

namespace {

constexpr double kLength = 8.0; // along x
constexpr double kWidth = 6.0;  // along y
constexpr double kRise = 2.0;
constexpr double kTolerance = 1e-9;

bool near(double a, double b) {
    return std::abs(a - b) < kTolerance;
}

// The nodes the predicate holds for, in node order.
template <typename Predicate> std::vector<int> nodesWhere(const Model& model, Predicate holds) {
    std::vector<int> nodes;
    const auto& all = model.data().nodes;
    for (std::size_t n = 0; n < all.size(); ++n)
        if (holds(all[n].position))
            nodes.push_back(static_cast<int>(n));
    return nodes;
}

int nodeAt(const Model& model, const Vec3& p) {
    const std::vector<int> found =
        nodesWhere(model, [&](const Vec3& q) { return length(q - p) < kTolerance; });
    return found.empty() ? -1 : found.front();
}

using Step = std::function<EditResult(Model&)>;

// Runs the edits in order and stops at the first one refused.
Outcome applySteps(Model& model, const std::vector<Step>& steps) {
    for (const Step& step : steps)
        if (const EditResult result = step(model); !result.ok())
            return Outcome::failure(result.status, result.message);
    return Outcome::success();
}

} // namespace

preprocessor::MeshControl hippedRoofMeshControl() {
    preprocessor::MeshControl control;
    control.mode = preprocessor::MeshControl::Mode::ElementSize;
    control.elementSize = 1.0;
    return control;
}

Outcome makeHippedRoof(Model& model) {
    model.clear();
    const double ridgeStart = 0.5 * kWidth, ridgeEnd = kLength - 0.5 * kWidth;
    const Vec3 eaveSW{0, 0, 0}, eaveSE{kLength, 0, 0}, eaveNE{kLength, kWidth, 0};
    const Vec3 eaveNW{0, kWidth, 0}, ridgeW{ridgeStart, 0.5 * kWidth, kRise};
    const Vec3 ridgeE{ridgeEnd, 0.5 * kWidth, kRise};
    std::vector<Step> geometry = {
        [](Model& m) {
            return m.addMaterial({3.0e10, 0.2});
        },
        [](Model& m) {
            return m.addMaterial({1.2e10, 0.25});
        },
        [](Model& m) { return m.addThickness(0.12); },
        [](Model& m) { return m.addThickness(0.08); },
    };
    for (const Vec3& p : {eaveSW, eaveSE, eaveNE, eaveNW, ridgeW, ridgeE})
        geometry.push_back([p](Model& m) { return m.addPoint(p); });
    // South, east hip, north, west hip; counter-clockwise seen from above, so that
    // every normal points out of the roof.
    geometry.push_back([](Model& m) { return m.createPolygon({0, 1, 5, 4}, 0, 0); });
    geometry.push_back([](Model& m) { return m.createPolygon({1, 2, 5}, 1, 1); });
    geometry.push_back([](Model& m) { return m.createPolygon({2, 3, 4, 5}, 0, 0); });
    geometry.push_back([](Model& m) { return m.createPolygon({3, 0, 4}, 1, 1); });
    geometry.push_back([](Model& m) {
        return m.meshPolygons({0, 1, 2, 3}, hippedRoofMeshControl());
    });
    // Pressures act along the outward normal: snow pushes in (negative), wind sucks out.
    geometry.push_back([](Model& m) {
        return m.applyPolygonLoad({0}, {-2000, -2000, -1200, -1200});
    });
    geometry.push_back([](Model& m) { return m.applyPolygonLoad({2}, {600, 600, 900, 900}); });
    geometry.push_back([](Model& m) { return m.applyPolygonLoad({1, 3}, {-1500, 0, 0, 0}); });
    if (const Outcome built = applySteps(model, geometry); !built.ok())
        return built;

    // The nodes exist now.
    const std::vector<int> eaves = nodesWhere(model, [](const Vec3& p) { return near(p.z, 0); });
    const int pinned = nodeAt(model, eaveSW), roller = nodeAt(model, eaveSE);
    const int mastWest = nodeAt(model, ridgeW), mastEast = nodeAt(model, ridgeE);
    return applySteps(
        model,
        {
            [&](Model& m) {
                return m.applyRestraints(eaves, {0, 0, 1, 0, 0, 0}, ApplyMode::Add);
            },
            [&](Model& m) {
                return m.applyRestraints({pinned}, {1, 1, 1, 0, 0, 0}, ApplyMode::Add);
            },
            [&](Model& m) {
                return m.applyRestraints({roller}, {0, 1, 1, 0, 0, 0}, ApplyMode::Add);
            },
            [&](Model& m) {
                return m.applyForces({mastWest}, {0, 0, -5000, 400, 0, 0}, ApplyMode::Replace);
            },
            [&](Model& m) {
                return m.applyForces({mastEast}, {1500, 0, -5000, 0, -300, 0}, ApplyMode::Replace);
            },
        });
}

} // namespace shellfem
