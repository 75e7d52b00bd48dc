#include "examples/generator/roof_model.h"

#include <cmath>

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

// Runs the edits in order and stops at the first one refused.
class EditChain {
public:
    explicit EditChain(Model& model) : model_(model) {}
    template <typename Edit> EditChain& then(Edit edit) {
        if (outcome_.ok()) {
            const EditResult result = edit(model_);
            if (!result.ok())
                outcome_ = Outcome::failure(result.status, result.message);
        }
        return *this;
    }
    const Outcome& outcome() const { return outcome_; }

private:
    Model& model_;
    Outcome outcome_ = Outcome::success();
};

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
    const Vec3 eaveSW{0, 0, 0}, eaveSE{kLength, 0, 0}, eaveNE{kLength, kWidth, 0},
        eaveNW{0, kWidth, 0}, ridgeW{ridgeStart, 0.5 * kWidth, kRise},
        ridgeE{ridgeEnd, 0.5 * kWidth, kRise};
    EditChain chain(model);
    chain.then([](Model& m) {
             return m.addMaterial({3.0e10, 0.2});
         })
        .then([](Model& m) {
            return m.addMaterial({1.2e10, 0.25});
        })
        .then([](Model& m) { return m.addThickness(0.12); })
        .then([](Model& m) { return m.addThickness(0.08); });
    for (const Vec3& p : {eaveSW, eaveSE, eaveNE, eaveNW, ridgeW, ridgeE})
        chain.then([&p](Model& m) { return m.addPoint(p); });
    // Counter-clockwise seen from above: every normal points out of the roof.
    chain
        .then([](Model& m) {
            return m.createPolygon({0, 1, 5, 4}, 0, 0);
        }) // south
        .then([](Model& m) {
            return m.createPolygon({1, 2, 5}, 1, 1);
        }) // east hip
        .then([](Model& m) {
            return m.createPolygon({2, 3, 4, 5}, 0, 0);
        }) // north
        .then([](Model& m) {
            return m.createPolygon({3, 0, 4}, 1, 1);
        }) // west hip
        .then([](Model& m) {
            return m.meshPolygons({0, 1, 2, 3}, hippedRoofMeshControl());
        });
    // Pressures act along the outward normal: snow pushes in (negative), wind sucks out.
    chain.then([](Model& m) {
             return m.applyPolygonLoad({0}, {-2000, -2000, -1200, -1200});
         })
        .then([](Model& m) {
            return m.applyPolygonLoad({2}, {600, 600, 900, 900});
        })
        .then([](Model& m) {
            return m.applyPolygonLoad({1, 3}, {-1500, 0, 0, 0});
        });
    if (!chain.outcome().ok())
        return chain.outcome();

    const std::vector<int> eaves = nodesWhere(model, [](const Vec3& p) { return near(p.z, 0); });
    const int pinned = nodeAt(model, eaveSW), roller = nodeAt(model, eaveSE);
    const int mastWest = nodeAt(model, ridgeW), mastEast = nodeAt(model, ridgeE);
    chain
        .then([&](Model& m) {
            return m.applyRestraints(eaves, {0, 0, 1, 0, 0, 0}, ApplyMode::Add);
        })
        .then([&](Model& m) {
            return m.applyRestraints({pinned}, {1, 1, 1, 0, 0, 0}, ApplyMode::Add);
        })
        .then([&](Model& m) {
            return m.applyRestraints({roller}, {0, 1, 1, 0, 0, 0}, ApplyMode::Add);
        })
        .then([&](Model& m) {
            return m.applyForces({mastWest}, {0, 0, -5000, 400, 0, 0}, ApplyMode::Replace);
        })
        .then([&](Model& m) {
            return m.applyForces({mastEast}, {1500, 0, -5000, 0, -300, 0}, ApplyMode::Replace);
        });
    return chain.outcome();
}

} // namespace shellfem
