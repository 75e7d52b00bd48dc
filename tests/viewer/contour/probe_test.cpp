#include "viewer/contour/probe.h"

#include "viewer/contour/probe_report.h"

#include <gtest/gtest.h>

#include <cmath>

namespace shellfem::viewer {
namespace {

using view3d::ScreenPoint;

// One element drawn as a general (not parallelogram) quadrilateral.
struct Quad {
    ContourModel model;
    std::vector<ScreenPoint> nodes{{100, 100, 0}, {300, 120, 0}, {280, 260, 0}, {90, 230, 0}};
    Quad() {
        model.nodes.resize(4);
        model.elements.resize(1);
        model.elements[0].nodes = {0, 1, 2, 3};
    }
    platform::PixelPoint at(double s, double t) const {
        const double w[4] = {(1 - s) * (1 - t), s * (1 - t), s * t, (1 - s) * t};
        platform::PixelPoint p;
        for (std::size_t k = 0; k < 4; ++k) {
            p.x += w[k] * nodes[k].x;
            p.y += w[k] * nodes[k].y;
        }
        return p;
    }
};

// A bilinear field a + b s + c t + d s t at the corners (0,0), (1,0), (1,1), (0,1).
double field(double s, double t) {
    return 7.0 - 3.0 * s + 5.0 * t + 11.0 * s * t;
}

TEST(Probe, BilinearFieldIsExactAtAnyPointOfTheElement) {
    const Quad quad;
    const std::array<double, 4> corners = {field(0, 0), field(1, 0), field(1, 1), field(0, 1)};
    for (const auto& [s, t] :
         {std::pair{0.5, 0.5}, {0.1, 0.8}, {0.93, 0.07}, {0.25, 0.6}, {0.0, 0.0}, {1.0, 0.5}}) {
        const std::optional<ProbePoint> probe = probeAt(quad.model, quad.nodes, quad.at(s, t));
        ASSERT_TRUE(probe) << s << ", " << t;
        EXPECT_EQ(probe->element, 0);
        EXPECT_NEAR(probe->s, s, 1e-9);
        EXPECT_NEAR(probe->t, t, 1e-9);
        EXPECT_NEAR(interpolate(corners, probe->s, probe->t), field(s, t), 1e-9);
    }
}

TEST(Probe, NearestNodeIsTheElementsCornerClosestOnScreen) {
    Quad quad;
    quad.model.elements[0].nodes = {7, 4, 5, 6}; // node numbers apart from corner numbers
    quad.model.nodes.resize(8);
    std::vector<ScreenPoint> nodes(8);
    for (std::size_t k = 0; k < 4; ++k)
        nodes[static_cast<std::size_t>(quad.model.elements[0].nodes[k])] = quad.nodes[k];
    const std::pair<double, double> nearCorner[4] = {
        {0.1, 0.2}, {0.8, 0.1}, {0.9, 0.7}, {0.2, 0.9}};
    for (int k = 0; k < 4; ++k) {
        const std::optional<ProbePoint> probe =
            probeAt(quad.model, nodes, quad.at(nearCorner[k].first, nearCorner[k].second));
        ASSERT_TRUE(probe);
        EXPECT_EQ(probe->corner, k);
        EXPECT_EQ(probe->node, quad.model.elements[0].nodes[static_cast<std::size_t>(k)]);
    }
}

TEST(Probe, NothingOutsideTheMeshAndTheFrontElementWhereTwoOverlap) {
    Quad quad;
    EXPECT_FALSE(probeAt(quad.model, quad.nodes, {20, 20}));
    EXPECT_FALSE(probeAt(quad.model, quad.nodes, {400, 400}));
    // A second element over the first, nearer to the eye.
    quad.model.nodes.resize(8);
    quad.model.elements.push_back(quad.model.elements[0]);
    quad.model.elements[1].nodes = {4, 5, 6, 7};
    for (std::size_t k = 0; k < 4; ++k)
        quad.nodes.push_back({quad.nodes[k].x, quad.nodes[k].y, 5.0});
    const std::optional<ProbePoint> probe = probeAt(quad.model, quad.nodes, quad.at(0.5, 0.5));
    ASSERT_TRUE(probe);
    EXPECT_EQ(probe->element, 1);
}

TEST(Probe, EdgeOnElementFallsBackToTheNearestCorner) {
    Quad quad;
    quad.nodes = {{100, 100, 0}, {200, 100, 0}, {200, 100, 0}, {100, 100, 0}}; // no area
    double s = -1, t = -1;
    EXPECT_FALSE(bilinearCoordinates({quad.nodes[0], quad.nodes[1], quad.nodes[2], quad.nodes[3]},
                                     {120, 100}, s, t));
    EXPECT_EQ(s, -1); // left alone
}

TEST(Probe, ReportTellsElementNodeValueAndTheNodesComponents) {
    Quad quad;
    ContourElement& e = quad.model.elements[0];
    for (std::size_t k = 0; k < 4; ++k) {
        e.top[k] = {10.0 * k, 1, 2, 3, 4, 5, 6};
        e.bottom[k] = {-10.0 * k, -1, -2, -3, -4, -5, 6};
    }
    DisplayStates states;
    states.component = 0;
    const std::optional<ProbePoint> probe = probeAt(quad.model, quad.nodes, quad.at(0.9, 0.85));
    ASSERT_TRUE(probe);
    ASSERT_EQ(probe->node, 2);
    const std::vector<double> displacements(24, 0.5);
    const ProbeReport report = describeProbe(quad.model, nullptr, &displacements, states, *probe);
    EXPECT_NE(report.status.find("Element 0, nearest node 2"), std::string::npos) << report.status;
    const double here = 10.0 * (0.9 * 0.15 + 2 * 0.9 * 0.85 + 3 * 0.1 * 0.85);
    char expected[64];
    std::snprintf(expected, sizeof expected, "Sx (top surface) here: %.4g", here);
    EXPECT_NE(report.status.find(expected), std::string::npos) << report.status;
    EXPECT_NE(report.status.find("Sx 20 Sy 1 Sz 2 Txy 3 Txz 4 Tyz 5"), std::string::npos)
        << report.status;
    bool displacementRow = false, seRow = false;
    for (const std::vector<std::string>& row : report.rows) {
        ASSERT_EQ(row.size(), 2u);
        displacementRow = displacementRow || (row[0] == "dz at node" && row[1] == "0.5");
        seRow = seRow || (row[0] == "Se at node, top surface" && row[1] == "6");
    }
    EXPECT_TRUE(displacementRow);
    EXPECT_TRUE(seRow);
    EXPECT_EQ(describeProbe(quad.model, nullptr, nullptr, states, *probe).rows.size(),
              report.rows.size() - 6);
}

} // namespace
} // namespace shellfem::viewer
