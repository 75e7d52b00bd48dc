#include "render_test_support.h"

namespace shellfem::preprocessor::render {
namespace {

using namespace testing;

Color highlightColour() {
    return plotPalette(kBlack).highlight;
}

PixelPoint pixelOfPoint(const Model& model, const view3d::View& view, int point) {
    return view.modelToPixel(model.data().points[static_cast<std::size_t>(point)].position);
}

TEST(Highlight, PickedPointsPolygonsAndNodesAreDrawnInTheHighlightColour) {
    Model model = twoPlates();
    const int node = nodeAt(model, 1, 1);
    const int hiddenNode = nodeAt(model, 4, 1);
    ASSERT_TRUE(model.setPolygonsVisible({1}, false).ok());
    model.selection().points = {1};
    model.selection().polygons = {0, 1};
    model.selection().nodes = {node, hiddenNode};
    const view3d::View view = topView(model);
    const RecordingCanvas canvas = draw(model, view, nothingShown());

    const std::vector<const Call*> squares = callsIn(canvas, highlightColour(), Kind::Rectangle);
    ASSERT_EQ(squares.size(), 1u);
    EXPECT_TRUE(near(*squares[0], pixelOfPoint(model, view, 1), 6.0));
    const std::vector<const Call*> outlines = callsIn(canvas, highlightColour(), Kind::Polyline);
    ASSERT_EQ(outlines.size(), 1u) << "the hidden polygon stays hidden";
    EXPECT_EQ(outlines[0]->points.size(), 5u) << "closed";
    const std::vector<const Call*> dots = callsIn(canvas, highlightColour(), Kind::Ellipse);
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_TRUE(near(*dots[0], view.modelToPixel({1, 1, 0}), 0.0));
}

TEST(Highlight, TheHoveredItemOfEachKindIsMarkedUnlessHiddenOrGone) {
    Model model = twoPlates();
    const int node = nodeAt(model, 2, 0);
    ASSERT_TRUE(model.setPolygonsVisible({1}, false).ok());
    const view3d::View view = topView(model);
    auto highlightCalls = [&](ItemKind kind, int id) {
        ModelHighlight highlight;
        highlight.hovered = ItemRef{kind, id};
        return callsIn(draw(model, view, nothingShown(), highlight), highlightColour(),
                       kind == ItemKind::Point  ? Kind::Rectangle
                       : kind == ItemKind::Node ? Kind::Ellipse
                                                : Kind::Polyline)
            .size();
    };
    EXPECT_EQ(highlightCalls(ItemKind::Point, 2), 1u);
    EXPECT_EQ(highlightCalls(ItemKind::Node, node), 1u);
    EXPECT_EQ(highlightCalls(ItemKind::Polygon, 0), 1u);
    EXPECT_EQ(highlightCalls(ItemKind::Element, 0), 1u);
    EXPECT_EQ(highlightCalls(ItemKind::Polygon, 1), 0u) << "hidden";
    EXPECT_EQ(highlightCalls(ItemKind::Element, 2), 0u) << "hidden with its polygon";
    EXPECT_EQ(highlightCalls(ItemKind::Point, 99), 0u);
    EXPECT_EQ(highlightCalls(ItemKind::Node, -1), 0u);

    // Hovered outlines are wider than picked ones, so that both read where they meet.
    ModelHighlight hoveredPolygon;
    hoveredPolygon.hovered = ItemRef{ItemKind::Polygon, 0};
    model.selection().polygons = {0};
    const RecordingCanvas canvas = draw(model, view, nothingShown(), hoveredPolygon);
    const std::vector<const Call*> outlines = callsIn(canvas, highlightColour(), Kind::Polyline);
    ASSERT_EQ(outlines.size(), 2u);
    EXPECT_GT(outlines[1]->pen.width, outlines[0]->pen.width);
}

TEST(Highlight, APolygonBeingCreatedIsAnOpenLineWithARubberLineToTheCursor) {
    Model model = twoPlates();
    model.selection().polygonOutline = {0, 1, 2};
    const view3d::View view = topView(model);
    ModelHighlight highlight;
    RecordingCanvas canvas = draw(model, view, nothingShown(), highlight);
    const std::vector<const Call*> lines = callsIn(canvas, highlightColour(), Kind::Polyline);
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_EQ(lines[0]->points.size(), 3u) << "open: the last corner is not joined to the first";
    EXPECT_TRUE(near(*lines[0], pixelOfPoint(model, view, 2), 0.0));
    EXPECT_TRUE(callsIn(canvas, highlightColour(), Kind::Line).empty()) << "no cursor, no rubber";

    highlight.cursor = PixelPoint{10, 20};
    canvas = draw(model, view, nothingShown(), highlight);
    const std::vector<const Call*> rubber = callsIn(canvas, highlightColour(), Kind::Line);
    ASSERT_EQ(rubber.size(), 1u);
    EXPECT_TRUE(near(*rubber[0], pixelOfPoint(model, view, 2), 0.0));
    EXPECT_TRUE(near(*rubber[0], {10, 20}, 0.0));
    EXPECT_EQ(rubber[0]->pen.style, platform::LineStyle::Dash);
}

} // namespace
} // namespace shellfem::preprocessor::render
