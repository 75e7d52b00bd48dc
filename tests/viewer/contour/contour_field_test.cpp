#include "viewer/contour/contour_field.h"

#include <gtest/gtest.h>

#include <cmath>

namespace shellfem::viewer {
namespace {

// One element whose corner k has top = (100 + k, 20, 0, 10, 0, 0) and
// bottom = (60 + k, -20, 0, -10, 0, 0), with the SE the file would hold.
ContourModel oneElement() {
    ContourModel m;
    m.nodes = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    ContourElement e;
    e.nodes = {0, 1, 2, 3};
    for (std::size_t k = 0; k < 4; ++k) {
        const double d = static_cast<double>(k);
        e.top[k] = {100 + d, 20, 0, 10, 0, 0, 0};
        e.bottom[k] = {60 + d, -20, 0, -10, 0, 0, 0};
        for (StressValues* v : {&e.top[k], &e.bottom[k]})
            (*v)[6] = equivalentStress((*v)[0], (*v)[1], (*v)[2], (*v)[3], (*v)[4], (*v)[5]);
    }
    m.elements = {e};
    return m;
}

TEST(ContourField, SurfacesCombineEveryComponentAndTakeSeFromTheCombination) {
    const ContourModel m = oneElement();
    const ContourElement& e = m.elements[0];
    EXPECT_EQ(surfaceStress(e, 1, Surface::Top), e.top[1]);
    EXPECT_EQ(surfaceStress(e, 1, Surface::Bottom), e.bottom[1]);
    // Corner 0 by hand: membrane (80, 0, 0, 0, 0, 0), bending (20, 20, 0, 10, 0, 0).
    const StressValues membrane = surfaceStress(e, 0, Surface::Membrane);
    const StressValues bending = surfaceStress(e, 0, Surface::Bending);
    const StressValues membraneByHand{80, 0, 0, 0, 0, 0, 80}; // sqrt((80² + 80²) / 2)
    const StressValues bendingByHand{20, 20, 0, 10, 0, 0, std::sqrt(700.0)};
    for (std::size_t c = 0; c < 7; ++c) {
        EXPECT_DOUBLE_EQ(membrane[c], membraneByHand[c]) << c;
        EXPECT_DOUBLE_EQ(bending[c], bendingByHand[c]) << c;
    }
    // Not the mean of the two SE values.
    EXPECT_GT(std::fabs(membrane[6] - 0.5 * (e.top[0][6] + e.bottom[0][6])), 1.0);
    // Top and bottom come back from membrane and bending.
    const StressValues bendingAt3 = surfaceStress(e, 3, Surface::Bending);
    const StressValues membraneAt3 = surfaceStress(e, 3, Surface::Membrane);
    for (std::size_t c = 0; c < 6; ++c) {
        EXPECT_DOUBLE_EQ(membraneAt3[c] + bendingAt3[c], e.top[3][c]);
        EXPECT_DOUBLE_EQ(membraneAt3[c] - bendingAt3[c], e.bottom[3][c]);
    }
}

TEST(ContourField, CornerValuesFollowTheComponentAndTheSurface) {
    const ContourModel m = oneElement();
    DisplayStates states;
    states.component = 0; // Sx
    states.surface = Surface::Membrane;
    EXPECT_EQ(cornerValues(m, nullptr, 0, states), (std::array<double, 4>{80, 81, 82, 83}));
    states.surface = Surface::Bottom;
    EXPECT_EQ(cornerValues(m, nullptr, 0, states), (std::array<double, 4>{60, 61, 62, 63}));
    EXPECT_EQ(fieldRange(m, nullptr, states), (std::pair{60.0, 63.0}));
    // The jump needs the unaveraged stresses; without them the values themselves show.
    states.averagingJump = true;
    EXPECT_EQ(cornerValues(m, nullptr, 0, states), (std::array<double, 4>{60, 61, 62, 63}));
}

TEST(ContourField, AveragingJumpIsTheDistanceToTheUnaveragedValues) {
    // Averaged: the element above; unaveraged: Sx off by -3, 0, +2, +5 on both surfaces.
    const ContourModel averaged = oneElement();
    ContourModel unaveraged = averaged;
    const double offsets[4] = {-3, 0, 2, 5};
    for (std::size_t k = 0; k < 4; ++k) {
        unaveraged.elements[0].top[k][0] += offsets[k];
        unaveraged.elements[0].bottom[k][0] += offsets[k];
    }
    DisplayStates states;
    states.component = 0;
    states.averagingJump = true;
    for (Surface s : {Surface::Top, Surface::Bottom, Surface::Membrane}) {
        states.surface = s;
        EXPECT_EQ(cornerValues(averaged, &unaveraged, 0, states),
                  (std::array<double, 4>{3, 0, 2, 5}));
    }
    states.surface = Surface::Bending; // equal offsets on both faces cancel
    EXPECT_EQ(cornerValues(averaged, &unaveraged, 0, states), (std::array<double, 4>{}));
    states.component = 1; // Sy did not change anywhere
    states.surface = Surface::Top;
    EXPECT_EQ(fieldRange(averaged, &unaveraged, states), (std::pair{0.0, 0.0}));
}

TEST(ContourField, TitlesNameComponentSurfaceAndJump) {
    DisplayStates states;
    EXPECT_EQ(fieldTitle(states), std::vector<std::string>{"Se (top surface)"});
    states.component = 3;
    states.surface = Surface::Bending;
    EXPECT_EQ(fieldTitle(states), std::vector<std::string>{"Txy (bending)"});
    states.surface = Surface::Membrane;
    states.averagingJump = true;
    EXPECT_EQ(fieldTitle(states),
              (std::vector<std::string>{"Averaging jump of Txy", "(membrane)"}));
}

TEST(ContourField, SameMeshNamesTheFirstDifference) {
    const ContourModel m = oneElement();
    EXPECT_TRUE(sameMesh(m, "a.txt", m, "b.txt").ok());
    ContourModel fewer = m;
    fewer.nodes.pop_back();
    EXPECT_EQ(sameMesh(m, "a.txt", fewer, "b.txt").message, "b.txt has 3 nodes where a.txt has 4");
    ContourModel moved = m;
    moved.nodes[2].x += 0.01;
    EXPECT_EQ(sameMesh(m, "a.txt", moved, "b.txt").message,
              "b.txt places node 2 elsewhere than a.txt");
    ContourModel renumbered = m;
    renumbered.elements[0].nodes = {1, 2, 3, 0};
    EXPECT_EQ(sameMesh(m, "a.txt", renumbered, "b.txt").message,
              "b.txt gives element 0 other nodes than a.txt");
    ContourModel none = m;
    none.elements.clear();
    EXPECT_FALSE(sameMesh(m, "a.txt", none, "b.txt").ok());
}

} // namespace
} // namespace shellfem::viewer
