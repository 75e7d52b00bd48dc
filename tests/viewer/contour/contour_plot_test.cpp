#include "viewer/contour/contour_plot.h"

#include "platform/fake/recording_canvas.h"
#include "viewer/contour/contour_legend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

namespace shellfem::viewer {
namespace {

using platform::Color;
using platform::RecordingCanvas;
using Kind = RecordingCanvas::Kind;

const Color kBlack{0, 0, 0};
const Color kWhite{255, 255, 255};

// A strip of two square elements, 100 pixels each, on screen at x 0..200, y 100..200.
// Every stress component grows with x: node at x carries x / 20 times (component + 1).
struct Strip {
    ContourModel model;
    std::vector<view3d::ScreenPoint> nodes;
    Strip() {
        model.nodes.resize(6);
        nodes = {{0, 100, 0}, {100, 100, 0}, {200, 100, 0},
                 {0, 200, 0}, {100, 200, 0}, {200, 200, 0}};
        model.elements.resize(2);
        model.elements[0].nodes = {0, 1, 4, 3};
        model.elements[1].nodes = {1, 2, 5, 4};
        for (ContourElement& element : model.elements)
            for (std::size_t k = 0; k < 4; ++k)
                for (std::size_t c = 0; c < 7; ++c) {
                    const double x = nodes[static_cast<std::size_t>(element.nodes[k])].x;
                    element.top[k][c] = x / 20.0 * (c + 1.0);
                    element.bottom[k][c] = -1000.0; // never shown
                }
    }
};

DisplayStates nothingButContour(bool contour) {
    DisplayStates states;
    states.contour = contour;
    return states;
}

std::vector<std::string> textsOf(const RecordingCanvas& canvas) {
    std::vector<std::string> texts;
    for (const RecordingCanvas::Call* call : canvas.of(Kind::Text))
        texts.push_back(call->text);
    return texts;
}

bool hasText(const RecordingCanvas& canvas, const std::string& text) {
    const std::vector<std::string> texts = textsOf(canvas);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

std::size_t distinctFillColours(const RecordingCanvas& canvas) {
    std::set<std::tuple<int, int, int>> colours;
    for (const RecordingCanvas::Call* call : canvas.of(Kind::FillPolygon))
        colours.insert({call->brush.r, call->brush.g, call->brush.b});
    return colours.size();
}

TEST(ContourPlot, ContourFillsBandsOfManyColoursAndTheLegendNamesTheComponent) {
    const Strip strip;
    RecordingCanvas canvas(800, 600);
    drawContourPlot(canvas, strip.model, strip.nodes, DisplayStates{}, Selection{}, kBlack);
    EXPECT_GE(distinctFillColours(canvas), 9u);
    EXPECT_TRUE(hasText(canvas, "Se (top surface)"));
    EXPECT_TRUE(hasText(canvas, "Min = 0"));
    EXPECT_TRUE(hasText(canvas, "Max = 70")); // top values only: the bottom is -1000
    for (const RecordingCanvas::Call* call : canvas.of(Kind::Text))
        EXPECT_EQ(call->textColor, kWhite) << call->text;
    // Bands stay on the mesh; the legend boxes sit at the right edge.
    for (const RecordingCanvas::Call* call : canvas.of(Kind::FillPolygon))
        for (const platform::PixelPoint& p : call->points)
            EXPECT_TRUE(p.x >= 0 && p.x <= 200 && p.y >= 100 && p.y <= 200);
    const auto boxes = canvas.of(Kind::Rectangle);
    EXPECT_GE(boxes.size(), 9u);
    for (const RecordingCanvas::Call* box : boxes)
        EXPECT_GE(box->points[0].x, 800 - kLegendWidthPixels);
}

TEST(ContourPlot, ChosenComponentSetsTitleAndRange) {
    const Strip strip;
    RecordingCanvas canvas;
    DisplayStates states;
    states.component = 1;
    drawContourPlot(canvas, strip.model, strip.nodes, states, Selection{}, kWhite);
    EXPECT_TRUE(hasText(canvas, "Sy (top surface)"));
    EXPECT_TRUE(hasText(canvas, "Max = 20"));
    for (const RecordingCanvas::Call* call : canvas.of(Kind::Text))
        EXPECT_EQ(call->textColor, kBlack) << call->text;
}

TEST(ContourPlot, ConstantFieldDrawsOneColourAndItsValue) {
    Strip strip;
    for (ContourElement& element : strip.model.elements)
        for (StressValues& corner : element.top)
            corner[6] = 3.0;
    RecordingCanvas canvas;
    drawContourPlot(canvas, strip.model, strip.nodes, DisplayStates{}, Selection{}, kBlack);
    EXPECT_FALSE(canvas.of(Kind::FillPolygon).empty());
    EXPECT_EQ(distinctFillColours(canvas), 1u);
    EXPECT_TRUE(hasText(canvas, "Min = 3"));
    EXPECT_TRUE(hasText(canvas, "Max = 3"));
    for (const RecordingCanvas::Call& call : canvas.calls)
        for (const platform::PixelPoint& p : call.points)
            EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
}

// The strip's elements moved onto one square, so that only the drawing order decides.
TEST(ContourPlot, ElementsAreDrawnFarToNearEachWithItsOutline) {
    for (bool secondIsNearer : {true, false}) {
        Strip strip;
        strip.nodes = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}, {100, 100, 0}, {10, 10, 0}, {0, 0, 0}};
        strip.model.elements[0].nodes = {0, 1, 3, 2};
        strip.model.elements[1].nodes = {4, 1, 3, 2};
        strip.nodes[4].depth = secondIsNearer ? 10.0 : -10.0;
        DisplayStates states = nothingButContour(false);
        states.elementFill = Show::All;
        states.outlines = Show::All;
        RecordingCanvas canvas;
        drawContourPlot(canvas, strip.model, strip.nodes, states, Selection{}, kBlack);
        ASSERT_EQ(canvas.calls.size(), 4u);
        EXPECT_EQ(canvas.calls[0].kind, Kind::FillPolygon);
        EXPECT_EQ(canvas.calls[1].kind, Kind::Polyline);
        EXPECT_EQ(canvas.calls[2].kind, Kind::FillPolygon);
        EXPECT_EQ(canvas.calls[3].kind, Kind::Polyline);
        // Element 0 starts at node 0 at depth 0 either way; element 1's first corner is node 4.
        const std::size_t farCorner = secondIsNearer ? 0 : 4;
        const std::size_t nearCorner = secondIsNearer ? 4 : 0;
        EXPECT_EQ(canvas.calls[0].points[0].x, strip.nodes[farCorner].x);
        EXPECT_EQ(canvas.calls[2].points[0].x, strip.nodes[nearCorner].x);
        EXPECT_EQ(canvas.calls[0].points.size(), 4u);
        EXPECT_EQ(canvas.calls[1].points.size(), 5u); // closed
    }
}

TEST(ContourPlot, SelectedOutlineIsDrawnOverNearerElements) {
    Strip strip;
    strip.nodes[0].depth = strip.nodes[3].depth = -10.0; // element 0 is the far one
    Selection selection;
    selection.reset(2, 6);
    selection.elements[0] = 1;
    DisplayStates states;
    states.outlines = Show::All;
    RecordingCanvas canvas;
    drawContourPlot(canvas, strip.model, strip.nodes, states, selection, kBlack);
    const auto outlines = canvas.of(Kind::Polyline);
    ASSERT_EQ(outlines.size(), 2u);
    EXPECT_EQ(outlines[0]->pen.color, kWhite);
    EXPECT_EQ(outlines[1]->points[0].x, strip.nodes[0].x);
    EXPECT_NE(outlines[1]->pen.color, kWhite);
    const auto last = std::find_if(canvas.calls.rbegin(), canvas.calls.rend(),
                                   [](const auto& call) { return call.kind == Kind::FillPolygon; });
    EXPECT_LT(&*last, outlines[1]);
}

TEST(ContourPlot, NoneStatesDrawNothingOfTheirKind) {
    const Strip strip;
    Selection everything;
    everything.elements.assign(2, 1);
    everything.nodes.assign(6, 1);
    RecordingCanvas blank;
    drawContourPlot(blank, strip.model, strip.nodes, nothingButContour(false), everything, kBlack);
    EXPECT_TRUE(blank.calls.empty());

    RecordingCanvas contourOnly(800, 600);
    drawContourPlot(contourOnly, strip.model, strip.nodes, nothingButContour(true), everything,
                    kBlack);
    EXPECT_TRUE(contourOnly.of(Kind::Polyline).empty());
    for (const RecordingCanvas::Call* call : contourOnly.of(Kind::Text))
        EXPECT_GE(call->points[0].x, 800 - kLegendWidthPixels) << call->text;
    for (const RecordingCanvas::Call* call : contourOnly.of(Kind::Rectangle))
        EXPECT_GE(call->points[0].x, 800 - kLegendWidthPixels);
}

TEST(ContourPlot, AllStatesDrawEveryNodeAndNumber) {
    const Strip strip;
    DisplayStates states = nothingButContour(false);
    states.outlines = Show::All;
    states.nodes = Show::All;
    states.nodeNumbers = Show::All;
    states.elementNumbers = Show::All;
    RecordingCanvas canvas;
    drawContourPlot(canvas, strip.model, strip.nodes, states, Selection{}, kWhite);
    EXPECT_EQ(canvas.of(Kind::Polyline).size(), 2u);
    const auto squares = canvas.of(Kind::Rectangle);
    ASSERT_EQ(squares.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        const double cx = 0.5 * (squares[i]->points[0].x + squares[i]->points[1].x);
        const double cy = 0.5 * (squares[i]->points[0].y + squares[i]->points[1].y);
        EXPECT_EQ(cx, strip.nodes[i].x);
        EXPECT_EQ(cy, strip.nodes[i].y);
        EXPECT_EQ(squares[i]->brush, kBlack);
    }
    std::vector<std::string> texts = textsOf(canvas);
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"0", "0", "1", "1", "2", "3", "4", "5"}));
}

TEST(ContourPlot, SelectedStatesDrawOnlyTheSelectionHighlighted) {
    const Strip strip;
    Selection selection;
    selection.reset(2, 6);
    selection.elements[1] = 1;
    selection.nodes[2] = 1;
    DisplayStates states = nothingButContour(false);
    states.elementFill = Show::Selected;
    states.outlines = Show::Selected;
    states.nodes = Show::Selected;
    states.nodeNumbers = Show::Selected;
    states.elementNumbers = Show::Selected;
    RecordingCanvas canvas;
    drawContourPlot(canvas, strip.model, strip.nodes, states, selection, kBlack);

    const auto fills = canvas.of(Kind::FillPolygon);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0]->points[0].x, 100); // element 1 starts at node 1
    const Color highlight = fills[0]->brush;
    EXPECT_NE(highlight, kBlack);
    EXPECT_NE(highlight, kWhite);
    const auto outlines = canvas.of(Kind::Polyline);
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_EQ(outlines[0]->pen.color, highlight);
    const auto squares = canvas.of(Kind::Rectangle);
    ASSERT_EQ(squares.size(), 1u);
    EXPECT_EQ(squares[0]->brush, highlight);
    EXPECT_EQ(0.5 * (squares[0]->points[0].x + squares[0]->points[1].x), 200);
    std::vector<std::string> texts = textsOf(canvas);
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"1", "2"}));

    RecordingCanvas unselected;
    drawContourPlot(unselected, strip.model, strip.nodes, states, Selection{}, kBlack);
    EXPECT_TRUE(unselected.calls.empty());
}

TEST(ContourPlot, MissingProjectionsAreSkippedNotRead) {
    Strip strip;
    strip.nodes.resize(3); // elements need nodes 3..5 too
    DisplayStates states;
    states.nodes = Show::All;
    states.outlines = Show::All;
    RecordingCanvas canvas;
    drawContourPlot(canvas, strip.model, strip.nodes, states, Selection{}, kBlack);
    EXPECT_TRUE(canvas.of(Kind::FillPolygon).empty());
    EXPECT_TRUE(canvas.of(Kind::Polyline).empty());
    EXPECT_EQ(canvas.of(Kind::Rectangle).size(), 3u); // the three projected nodes, no legend
}

} // namespace
} // namespace shellfem::viewer
