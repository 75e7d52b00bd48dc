#include "viewer/contour/selection.h"

#include <gtest/gtest.h>

#include <climits>

namespace shellfem::viewer {
namespace {

std::vector<char> flagsOf(std::initializer_list<int> bits) {
    std::vector<char> flags;
    for (int bit : bits)
        flags.push_back(static_cast<char>(bit));
    return flags;
}

TEST(SelectRange, SelectsAndClearsInclusiveSteps) {
    std::vector<char> flags(10, 0);
    ASSERT_TRUE(selectRange(flags, 1, 7, 3, true).ok());
    EXPECT_EQ(flags, flagsOf({0, 1, 0, 0, 1, 0, 0, 1, 0, 0}));
    ASSERT_TRUE(selectRange(flags, 0, 9, 1, true).ok());
    ASSERT_TRUE(selectRange(flags, 9, 9, 1, false).ok());
    ASSERT_TRUE(selectRange(flags, 0, 4, 2, false).ok());
    EXPECT_EQ(flags, flagsOf({0, 1, 0, 1, 0, 1, 1, 1, 1, 0}));
}

TEST(SelectRange, HugeStepTakesOnlyTheFirstAndDoesNotOverflow) {
    std::vector<char> flags(3, 0);
    ASSERT_TRUE(selectRange(flags, 1, 2, INT_MAX, true).ok());
    EXPECT_EQ(flags, flagsOf({0, 1, 0}));
}

TEST(SelectRange, RefusesBadRangesNamingTheProblemAndChangesNothing) {
    struct Case {
        int first, last, step;
        const char* mentions;
    };
    for (const Case& c : {Case{0, 3, 0, "step"}, Case{0, 3, -2, "step"}, Case{5, 2, 1, "greater"},
                          Case{-1, 3, 1, "-1"}, Case{2, 4, 1, "out of range 0..3"},
                          Case{0, INT_MAX, 1, "out of range"}}) {
        std::vector<char> flags = flagsOf({1, 0, 1, 0});
        const Outcome selected = selectRange(flags, c.first, c.last, c.step, true);
        EXPECT_FALSE(selected.ok());
        EXPECT_NE(selected.message.find(c.mentions), std::string::npos) << selected.message;
        EXPECT_EQ(flags, flagsOf({1, 0, 1, 0}));
    }
    std::vector<char> none;
    const Outcome selected = selectRange(none, 0, 0, 1, true);
    EXPECT_FALSE(selected.ok());
    EXPECT_FALSE(selected.message.empty());
}

TEST(PickNode, NearestWithinToleranceFrontMostOnTies) {
    const std::vector<ProjectedNode> nodes = {
        {10, 10, 0.0}, {20, 10, 0.0}, {20, 10, 5.0}, {20, 10, 1.0}, {100, 100, 0.0}};
    EXPECT_EQ(pickNode(nodes, {12, 10}, 5), 0);
    // Three nodes at one pixel: the one nearest the eye.
    EXPECT_EQ(pickNode(nodes, {19, 10}, 5), 2);
    EXPECT_EQ(pickNode(nodes, {100, 104}, 4), 4); // on the tolerance circle
    EXPECT_EQ(pickNode(nodes, {100, 104.5}, 4), -1);
    EXPECT_EQ(pickNode(nodes, {50, 50}, 5), -1);
    EXPECT_EQ(pickNode({}, {0, 0}, 5), -1);
    EXPECT_EQ(pickNode(nodes, {10, 10}, -1), -1);
}

// Two unit squares, the second shifted half a square right and nearer the eye.
struct TwoSquares {
    ContourModel model;
    std::vector<ProjectedNode> nodes;
    TwoSquares(double depthOfFirst, double depthOfSecond) {
        model.nodes.resize(8);
        model.elements.resize(2);
        model.elements[0].nodes = {0, 1, 2, 3};
        model.elements[1].nodes = {4, 5, 6, 7};
        nodes = {{0, 0, depthOfFirst},      {100, 0, depthOfFirst},  {100, 100, depthOfFirst},
                 {0, 100, depthOfFirst},    {50, 0, depthOfSecond},  {150, 0, depthOfSecond},
                 {150, 100, depthOfSecond}, {50, 100, depthOfSecond}};
    }
};

TEST(PickElement, FrontMostQuadContainingThePoint) {
    const TwoSquares near(0.0, 1.0);
    EXPECT_EQ(pickElement(near.model, near.nodes, {25, 50}), 0);
    EXPECT_EQ(pickElement(near.model, near.nodes, {75, 50}), 1);
    EXPECT_EQ(pickElement(near.model, near.nodes, {125, 50}), 1);
    EXPECT_EQ(pickElement(near.model, near.nodes, {0, 0}), 0); // corner: boundary counts
    EXPECT_EQ(pickElement(near.model, near.nodes, {200, 50}), -1);
    const TwoSquares far(1.0, 0.0);
    EXPECT_EQ(pickElement(far.model, far.nodes, {75, 50}), 0);
}

TEST(PickElement, ClockwiseDegenerateAndUnprojectedElements) {
    TwoSquares squares(0.0, 1.0);
    squares.model.elements[0].nodes = {3, 2, 1, 0}; // opposite winding
    EXPECT_EQ(pickElement(squares.model, squares.nodes, {25, 50}), 0);
    squares.model.elements[1].nodes = {4, 4, 4, 4}; // no area
    EXPECT_EQ(pickElement(squares.model, squares.nodes, {50, 0}), 0);
    squares.model.elements[0].nodes = {0, 1, 2, 99}; // no projection for node 99
    EXPECT_EQ(pickElement(squares.model, squares.nodes, {25, 50}), -1);
}

TEST(PickInRectangle, AddsToTheSelectionWhateverTheDragDirection) {
    const TwoSquares squares(0.0, 1.0);
    std::vector<char> nodeFlags = flagsOf({0, 0, 0, 0, 0, 0, 0, 1});
    pickNodesInRectangle(squares.nodes, {110, 120}, {-10, -10}, nodeFlags);
    EXPECT_EQ(nodeFlags, flagsOf({1, 1, 1, 1, 1, 0, 0, 1}));

    std::vector<char> elementFlags(2, 0);
    pickElementsInRectangle(squares.model, squares.nodes, {100, 100}, {0, 0}, elementFlags);
    EXPECT_EQ(elementFlags, flagsOf({1, 0})); // edges count; the second has two corners out
    pickElementsInRectangle(squares.model, squares.nodes, {-1, -1}, {151, 101}, elementFlags);
    EXPECT_EQ(elementFlags, flagsOf({1, 1}));
}

TEST(PickInRectangle, FlagsShorterThanTheModelAreNotOverrun) {
    const TwoSquares squares(0.0, 1.0);
    std::vector<char> nodeFlags(2, 0);
    pickNodesInRectangle(squares.nodes, {-1, -1}, {200, 200}, nodeFlags);
    EXPECT_EQ(nodeFlags, flagsOf({1, 1}));
    std::vector<char> elementFlags(1, 0);
    pickElementsInRectangle(squares.model, squares.nodes, {-1, -1}, {200, 200}, elementFlags);
    EXPECT_EQ(elementFlags, flagsOf({1}));
}

} // namespace
} // namespace shellfem::viewer
