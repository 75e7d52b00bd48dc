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

// Two unit squares, the second shifted half a square right and nearer the eye.
struct TwoSquares {
    ContourModel model;
    std::vector<view3d::ScreenPoint> nodes;
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

TEST(ElementsInRectangle, TakeElementsWithAllCornersInsideWhateverTheDragDirection) {
    const TwoSquares squares(0.0, 1.0);
    // Edges count; the second square has two corners outside.
    EXPECT_EQ(elementsInRectangle(squares.model, squares.nodes, {100, 100}, {0, 0}),
              std::vector<int>{0});
    EXPECT_EQ(elementsInRectangle(squares.model, squares.nodes, {-1, -1}, {151, 101}),
              (std::vector<int>{0, 1}));
    EXPECT_TRUE(elementsInRectangle(squares.model, squares.nodes, {40, 40}, {60, 60}).empty());
}

} // namespace
} // namespace shellfem::viewer
