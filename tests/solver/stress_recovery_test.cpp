#include "solver/stress_recovery.h"

#include <gtest/gtest.h>

namespace shellfem {
namespace {

SolvingModel modelOf(std::vector<Vec3> nodes, std::vector<std::array<int, 4>> connectivity) {
    SolvingModel m;
    m.materials = {{2.1e11, 0.3}};
    m.thicknesses = {0.01};
    m.nodes = std::move(nodes);
    for (const auto& c : connectivity)
        m.elements.push_back({c, 0, 0});
    return m;
}

std::vector<ShellElement> elementsOf(const SolvingModel& m) {
    std::vector<ShellElement> elements;
    for (const ElementRecord& e : m.elements) {
        std::array<Vec3, 4> corners;
        for (std::size_t k = 0; k < 4; ++k)
            corners[k] = m.nodes[static_cast<std::size_t>(e.nodes[k])];
        elements.emplace_back(corners, 2.1e11, 0.3, 0.01);
    }
    return elements;
}

// Distinct made-up stresses: element e, corner k, surface (top 1, bottom 2).
std::vector<ElementStresses> labelled(std::size_t count) {
    std::vector<ElementStresses> s(count);
    for (std::size_t e = 0; e < count; ++e)
        for (std::size_t k = 0; k < 4; ++k)
            for (std::size_t c = 0; c < 6; ++c) {
                s[e].top[k][c] = 100.0 * e + 10.0 * k + 1 + c;
                s[e].bottom[k][c] = -(100.0 * e + 10.0 * k + 2 + c);
            }
    return s;
}

TEST(NodalAveraging, SingleElementKeepsItsOwnValues) {
    const SolvingModel m = modelOf({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2, 3}});
    const auto stresses = labelled(1);
    const auto averaged = averageNodalStresses(m, elementsOf(m), stresses);
    EXPECT_EQ(averaged[0].top, stresses[0].top);
    EXPECT_EQ(averaged[0].bottom, stresses[0].bottom);
}

TEST(NodalAveraging, OppositeNormalsExchangeSurfacesAndFoldsStayApart) {
    const std::vector<Vec3> nodes = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0},
                                     {1, 1, 0}, {2, 1, 0}, {1, 0, 1}, {1, 1, 1}};
    // Element 1 runs clockwise (normal −z) and shares nodes 1 and 4 with element 0;
    // element 2 stands upright on the edge 1–4 (a fold of 90°).
    const SolvingModel m = modelOf(nodes, {{0, 1, 4, 3}, {1, 4, 5, 2}, {1, 6, 7, 4}});
    const auto elements = elementsOf(m);
    ASSERT_LT(elements[1].normal().z, 0.0);
    const auto s = labelled(3);
    const auto averaged = averageNodalStresses(m, elements, s);
    // Element 0 corner 1 is node 1, which is element 1's corner 0.
    for (std::size_t c = 0; c < 6; ++c) {
        EXPECT_DOUBLE_EQ(averaged[0].top[1][c], (s[0].top[1][c] + s[1].bottom[0][c]) / 2);
        EXPECT_DOUBLE_EQ(averaged[0].bottom[1][c], (s[0].bottom[1][c] + s[1].top[0][c]) / 2);
    }
    // The upright element's corner 0 (node 1) is averaged with nobody.
    EXPECT_EQ(averaged[2].top[0], s[2].top[0]);
    EXPECT_EQ(averaged[2].bottom[3], s[2].bottom[3]);
    // Corners of element 0 that no other element touches are unchanged.
    EXPECT_EQ(averaged[0].top[0], s[0].top[0]);
}

TEST(NodalAveraging, ThicknessStepBeyondATenthIsNotAveraged) {
    SolvingModel m = modelOf({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}},
                             {{0, 1, 4, 3}, {1, 2, 5, 4}});
    std::vector<ShellElement> elements = elementsOf(m);
    elements[1] =
        ShellElement({m.nodes[1], m.nodes[2], m.nodes[5], m.nodes[4]}, 2.1e11, 0.3, 0.013);
    const auto s = labelled(2);
    const auto averaged = averageNodalStresses(m, elements, s);
    EXPECT_EQ(averaged[0].top[1], s[0].top[1]);
    // Seen from the thicker element the step is 0.0015 < 0.0013, still too large.
    EXPECT_EQ(averaged[1].top[0], s[1].top[0]);
}

} // namespace
} // namespace shellfem
