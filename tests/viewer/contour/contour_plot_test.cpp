#include "viewer/contour/contour_plot.h"

#include "platform/fake/recording_canvas.h"
#include "viewer/contour/contour_legend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
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

// Node squares are filled and outlined; the patches behind numbers are filled only.
std::vector<const RecordingCanvas::Call*> nodeSquares(const RecordingCanvas& canvas) {
    std::vector<const RecordingCanvas::Call*> squares;
    for (const RecordingCanvas::Call* call : canvas.of(Kind::Rectangle))
        if (call->outline)
            squares.push_back(call);
    return squares;
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
    const auto squares = nodeSquares(canvas);
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

TEST(ContourPlot, NumbersSitOnAPatchOfTheBackgroundOverTheBands) {
    const Strip strip;
    DisplayStates states; // the contour, with every number
    states.nodeNumbers = Show::All;
    states.elementNumbers = Show::All;
    for (const Color background : {kBlack, kWhite}) {
        RecordingCanvas canvas(800, 600);
        drawContourPlot(canvas, strip.model, strip.nodes, states, Selection{}, background);
        int numbers = 0;
        for (std::size_t i = 0; i < canvas.calls.size(); ++i) {
            const RecordingCanvas::Call& call = canvas.calls[i];
            if (call.kind != Kind::Text || call.points[0].x >= 800 - kLegendWidthPixels)
                continue; // the legend's texts stand on its own panel
            ++numbers;
            ASSERT_GT(i, 0u);
            const RecordingCanvas::Call& patch = canvas.calls[i - 1];
            EXPECT_EQ(patch.kind, Kind::Rectangle) << call.text;
            EXPECT_TRUE(patch.fill);
            EXPECT_EQ(patch.brush, background);
            EXPECT_NE(call.textColor, background);
            EXPECT_LE(patch.points[0].x, call.points[0].x);
            EXPECT_GE(patch.points[1].x, call.points[0].x + canvas.textWidth(call.text));
            EXPECT_LE(patch.points[0].y, call.points[0].y);
            EXPECT_GE(patch.points[1].y, call.points[0].y + call.font.size);
        }
        EXPECT_EQ(numbers, 8);
    }
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
    const auto outlines = canvas.of(Kind::Polyline);
    ASSERT_EQ(outlines.size(), 2u); // its edge on the fill, then the highlighted outline
    const Color highlight = outlines[1]->pen.color;
    EXPECT_NE(highlight, kBlack);
    EXPECT_NE(highlight, kWhite);
    // The fill is not the outline's colour, and its own edge differs from both.
    EXPECT_NE(fills[0]->brush, highlight);
    EXPECT_NE(outlines[0]->pen.color, fills[0]->brush);
    EXPECT_NE(outlines[0]->pen.color, highlight);
    EXPECT_EQ(outlines[0]->points[0].x, 100);
    const auto squares = nodeSquares(canvas);
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

TEST(ContourPlot, NeighbouringSelectedFillsKeepTheirEdges) {
    const Strip strip;
    Selection both;
    both.reset(2, 6);
    both.elements = {1, 1};
    DisplayStates states = nothingButContour(false);
    states.elementFill = Show::Selected;
    RecordingCanvas canvas;
    drawContourPlot(canvas, strip.model, strip.nodes, states, both, kBlack);
    const auto fills = canvas.of(Kind::FillPolygon);
    const auto edges = canvas.of(Kind::Polyline);
    ASSERT_EQ(fills.size(), 2u);
    ASSERT_EQ(edges.size(), 2u); // one closed edge per element, on its fill
    for (const RecordingCanvas::Call* edge : edges) {
        EXPECT_EQ(edge->points.size(), 5u);
        EXPECT_NE(edge->pen.color, fills[0]->brush);
    }
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

// A mesh reaching under the legend: the strip stretched to x = 0..800 on an 800 wide canvas.
Strip wideStrip() {
    Strip strip;
    for (view3d::ScreenPoint& n : strip.nodes)
        n.x *= 4.0;
    return strip;
}

TEST(ContourPlot, LegendComesLastOnItsOwnPanelAndTheModelStaysOutOfIt) {
    const Strip strip = wideStrip();
    DisplayStates states;
    states.outlines = Show::All;
    states.nodes = Show::All;
    states.nodeNumbers = Show::All;
    states.elementNumbers = Show::All;
    RecordingCanvas canvas(800, 600);
    drawContourPlot(canvas, strip.model, strip.nodes, states, Selection{}, kBlack);
    const double panelLeft = 800 - kLegendWidthPixels;
    // The panel: an opaque rectangle of the background over the whole right-hand strip.
    std::size_t panel = canvas.calls.size();
    for (std::size_t i = 0; i < canvas.calls.size(); ++i) {
        const RecordingCanvas::Call& c = canvas.calls[i];
        if (c.kind == Kind::Rectangle && c.fill && c.points[0].x == panelLeft &&
            c.points[0].y == 0 && c.points[1].x >= 800 && c.points[1].y >= 600) {
            panel = i;
            break;
        }
    }
    ASSERT_LT(panel, canvas.calls.size());
    EXPECT_EQ(canvas.calls[panel].brush, kBlack);
    // Before it, nothing of the model reaches into the panel; after it, only the legend.
    for (std::size_t i = 0; i < panel; ++i)
        for (const platform::PixelPoint& p : canvas.calls[i].points)
            EXPECT_LE(p.x, panelLeft) << "call " << i;
    for (std::size_t i = panel; i < canvas.calls.size(); ++i) {
        EXPECT_NE(canvas.calls[i].kind, Kind::FillPolygon) << "call " << i;
        for (const platform::PixelPoint& p : canvas.calls[i].points)
            EXPECT_GE(p.x, panelLeft) << "call " << i;
    }
    EXPECT_TRUE(hasText(canvas, "Se (top surface)"));
    // The model was drawn up to the panel's edge, clipped there.
    double reach = 0.0;
    for (const RecordingCanvas::Call* fill : canvas.of(Kind::FillPolygon))
        for (const platform::PixelPoint& p : fill->points)
            reach = std::max(reach, p.x);
    EXPECT_EQ(reach, panelLeft);
}

// Every edge of every piece that is not on the mesh's outline is also, reversed and exactly,
// an edge of another piece: the fill has no gap anywhere inside the mesh.
void expectWatertight(const std::vector<const RecordingCanvas::Call*>& pieces, double left,
                      double right, double top, double bottom) {
    using Edge = std::tuple<double, double, double, double>;
    std::multiset<Edge> edges;
    for (const RecordingCanvas::Call* piece : pieces)
        for (std::size_t i = 0; i < piece->points.size(); ++i) {
            const platform::PixelPoint& a = piece->points[i];
            const platform::PixelPoint& b = piece->points[(i + 1) % piece->points.size()];
            edges.insert({a.x, a.y, b.x, b.y});
        }
    std::size_t inner = 0;
    for (const auto& [ax, ay, bx, by] : edges) {
        const bool outline = (ax == left && bx == left) || (ax == right && bx == right) ||
                             (ay == top && by == top) || (ay == bottom && by == bottom);
        if (outline)
            continue;
        ++inner;
        EXPECT_EQ(edges.count({bx, by, ax, ay}), 1u)
            << "(" << ax << ", " << ay << ") to (" << bx << ", " << by << ") has no twin";
    }
    EXPECT_GT(inner, 20u);
}

std::vector<const RecordingCanvas::Call*> bandPieces(const RecordingCanvas& canvas,
                                                     std::size_t underlays) {
    std::vector<const RecordingCanvas::Call*> fills = canvas.of(Kind::FillPolygon);
    fills.erase(fills.begin(), fills.begin() + static_cast<std::ptrdiff_t>(underlays));
    return fills;
}

TEST(ContourPlot, BandPiecesOfNeighboursShareTheirEdgesExactly) {
    // Averaged values (equal at the shared nodes) and values that jump across the shared
    // edge x = 100, as where elements meet at a fold: both must close up.
    for (bool jump : {false, true}) {
        Strip strip;
        for (std::size_t k = 0; k < 4; ++k)
            for (std::size_t c = 0; c < 7; ++c) {
                const double y = strip.nodes[strip.model.elements[1].nodes[k]].y;
                strip.model.elements[1].top[k][c] += jump ? 0.37 * (c + 1) * (y - 90) / 10 : 0;
            }
        RecordingCanvas canvas(800, 600);
        drawContourPlot(canvas, strip.model, strip.nodes, DisplayStates{}, Selection{}, kBlack);
        // First one underlay per element, its quadrilateral, then the pieces.
        const auto fills = canvas.of(Kind::FillPolygon);
        ASSERT_GT(fills.size(), 2u);
        for (std::size_t e = 0; e < 2; ++e) {
            ASSERT_EQ(fills[e]->points.size(), 4u);
            EXPECT_EQ(fills[e]->points[0].x, strip.nodes[strip.model.elements[e].nodes[0]].x);
        }
        SCOPED_TRACE(jump ? "values jump across the shared edge" : "averaged values");
        expectWatertight(bandPieces(canvas, 2), 0, 200, 100, 200);
    }
}

TEST(ContourPlot, LegendSettingsChooseTheBandsAndTheRange) {
    const Strip strip; // Se from 0 to 70
    PlotOptions options;
    options.legend.bands = 5;
    RecordingCanvas five(800, 600);
    drawContourPlot(five, strip.model, strip.nodes, DisplayStates{}, Selection{}, kBlack, options);
    EXPECT_EQ(distinctFillColours(five), 5u);
    EXPECT_TRUE(hasText(five, "56"));
    options.legend = {4, true, 20.0, 60.0};
    RecordingCanvas fixed(800, 600);
    drawContourPlot(fixed, strip.model, strip.nodes, DisplayStates{}, Selection{}, kBlack, options);
    EXPECT_TRUE(hasText(fixed, "20"));
    EXPECT_TRUE(hasText(fixed, "30"));
    EXPECT_TRUE(hasText(fixed, "60"));
    EXPECT_TRUE(hasText(fixed, "Min = 0")); // the data's range is still told
    EXPECT_TRUE(hasText(fixed, "Max = 70"));
}

TEST(ContourPlot, DeformedPlotHasTheUndeformedOutlineBehindItAndTheNotes) {
    Strip strip;
    std::vector<view3d::ScreenPoint> undeformed = strip.nodes;
    for (view3d::ScreenPoint& n : strip.nodes)
        n.y += 0.1 * n.x; // drawn deformed
    PlotOptions options;
    options.undeformed = &undeformed;
    options.legendNotes = {"Deformed, scale 12.5"};
    options.marker = platform::PixelPoint{50, 150};
    RecordingCanvas canvas(800, 600);
    drawContourPlot(canvas, strip.model, strip.nodes, DisplayStates{}, Selection{}, kBlack,
                    options);
    ASSERT_GE(canvas.calls.size(), 2u);
    for (std::size_t e = 0; e < 2; ++e) {
        const RecordingCanvas::Call& outline = canvas.calls[e];
        ASSERT_EQ(outline.kind, Kind::Polyline);
        EXPECT_NE(outline.pen.color, kBlack);
        EXPECT_NE(outline.pen.color, kWhite);
        EXPECT_EQ(outline.points[0].y,
                  undeformed[strip.model.elements[e].nodes[0]].y); // the undeformed place
    }
    // Its boundary (the six edges of one element only) dashed over the model's pieces.
    std::size_t lastPiece = 0, dashed = 0;
    for (std::size_t i = 0; i < canvas.calls.size(); ++i) {
        const RecordingCanvas::Call& c = canvas.calls[i];
        if (c.kind == Kind::FillPolygon && c.points[0].x < 800 - kLegendWidthPixels)
            lastPiece = i;
        if (c.kind == Kind::Line && c.pen.style == platform::LineStyle::Dash) {
            ++dashed;
            EXPECT_GT(i, lastPiece);
            const bool onUndeformed = c.points[0].y == 100 || c.points[0].y == 200;
            EXPECT_TRUE(onUndeformed) << c.points[0].y;
        }
    }
    EXPECT_EQ(dashed, 6u);
    EXPECT_TRUE(hasText(canvas, "Deformed, scale 12.5"));
    // The pinned probe's marker: lines crossing at the point.
    bool crossed = false;
    for (const RecordingCanvas::Call* line : canvas.of(Kind::Line))
        crossed = crossed || (line->points[0].y == 150 && line->points[1].y == 150 &&
                              line->points[0].x < 50 && line->points[1].x > 50);
    EXPECT_TRUE(crossed);
}

} // namespace
} // namespace shellfem::viewer
