#include "preprocessor/render/symbol_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace shellfem::preprocessor::render {
namespace {

using platform::PixelPoint;

void expectAt(PixelPoint actual, PixelPoint expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}

TEST(SymbolGeometry, ArrowLengthsFollowTheValueBetweenTheMinimumAndTheLargest) {
    const LengthRange range{10.0, 50.0};
    EXPECT_DOUBLE_EQ(arrowLength(4.0, 4.0, range), 50.0);
    EXPECT_DOUBLE_EQ(arrowLength(-2.0, 4.0, range), 25.0);
    EXPECT_DOUBLE_EQ(arrowLength(0.1, 4.0, range), 10.0);
    EXPECT_DOUBLE_EQ(arrowLength(1.0, 0.0, range), 10.0);
}

TEST(SymbolGeometry, ArrowsEndOnTheirPointAndMomentsCarryASecondHeadBehindTheFirst) {
    const VectorSymbol force = vectorSymbol({100, 100}, {0.6, 0.0, 0.8}, 50.0, 1);
    EXPECT_FALSE(force.endOn);
    expectAt(force.arrow.tail, {70, 100}); // foreshortened to 30 pixels
    const std::vector<std::vector<PixelPoint>> one = arrowHeads(force.arrow, {8.0, 4.0});
    ASSERT_EQ(one.size(), 1u);
    expectAt(one[0][0], {100, 100});
    expectAt(one[0][1], {92, 104});
    expectAt(one[0][2], {92, 96});

    const VectorSymbol moment = vectorSymbol({100, 100}, {0.0, -1.0, 0.0}, 40.0, 2);
    const std::vector<std::vector<PixelPoint>> two = arrowHeads(moment.arrow, {8.0, 4.0});
    ASSERT_EQ(two.size(), 2u);
    expectAt(two[1][0], {100, 108});

    // A short arrow's heads shrink so that they never reach past its tail.
    const Arrow stub{{100, 100}, {106, 100}, 2};
    const std::vector<std::vector<PixelPoint>> heads = arrowHeads(stub, {8.0, 4.0});
    for (const std::vector<PixelPoint>& head : heads)
        for (const PixelPoint& p : head)
            EXPECT_GE(p.x, 100.0 - 1e-9);
}

TEST(SymbolGeometry, AVectorAlongTheSightLineIsAMarkThatTellsItsWay) {
    const VectorSymbol towards = vectorSymbol({5, 5}, {0.05, 0.05, 0.99}, 50.0, 1);
    EXPECT_TRUE(towards.endOn);
    EXPECT_TRUE(towards.towardsViewer);
    expectAt(towards.arrow.tail, {5, 5});
    EXPECT_FALSE(vectorSymbol({5, 5}, {0.0, 0.1, -0.99}, 50.0, 1).towardsViewer);
}

TEST(SymbolGeometry, RestraintWedgePointsOntoTheNodeAndTheRingSitsBehindIt) {
    const PixelPoint node{50, 50};
    const RestraintGlyph both = restraintGlyph(node, {1, 0}, true, true);
    ASSERT_EQ(both.wedge.size(), 3u);
    expectAt(both.wedge[0], node);
    // The base stands square to the axis on the node's far side.
    const double baseX = both.wedge[1].x;
    EXPECT_LT(baseX, node.x);
    EXPECT_NEAR(both.wedge[2].x, baseX, 1e-9);
    EXPECT_NEAR(both.wedge[1].y + both.wedge[2].y, 2.0 * node.y, 1e-9);
    ASSERT_TRUE(both.ringCentre);
    EXPECT_LT(both.ringCentre->x + both.ringRadius, baseX) << "clear of the wedge";
    EXPECT_NEAR(both.ringCentre->y, 50.0, 1e-9);
    expectAt(both.stemEnd, {both.ringCentre->x + both.ringRadius, 50});

    const RestraintGlyph translation = restraintGlyph(node, {0, -1}, true, false);
    EXPECT_FALSE(translation.ringCentre);
    const RestraintGlyph rotation = restraintGlyph(node, {0, -1}, false, true);
    EXPECT_TRUE(rotation.wedge.empty());
    EXPECT_GT(rotation.ringCentre->y, 50.0) << "below the node for an axis pointing up";
}

TEST(SymbolGeometry, RestraintDirectionsFollowTheAxisOrFanOutWhenItIsSeenEndOn) {
    expectAt(restraintDirection({3.0, 4.0, 0.0}, 0), {0.6, 0.8});
    const PixelPoint x = restraintDirection({0.0, 0.01, 1.0}, 0);
    const PixelPoint y = restraintDirection({0.01, 0.0, 1.0}, 1);
    const PixelPoint z = restraintDirection({0.0, 0.0, 1.0}, 2);
    for (const PixelPoint& d : {x, y, z})
        EXPECT_NEAR(std::hypot(d.x, d.y), 1.0, 1e-3);
    EXPECT_GT(std::hypot(x.x - y.x, x.y - y.y), 1.0);
    EXPECT_GT(std::hypot(x.x - z.x, x.y - z.y), 0.9);
    EXPECT_GT(std::hypot(y.x - z.x, y.y - z.y), 0.9);
}

} // namespace
} // namespace shellfem::preprocessor::render
