#include "viewer/contour/contour_plot.h"

#include "viewer/contour/clipping_canvas.h"
#include "viewer/contour/color_scale.h"
#include "viewer/contour/contour_field.h"
#include "viewer/contour/contour_legend.h"
#include "viewer/contour/element_geometry.h"
#include "viewer/contour/mesh_bands.h"
#include "viewer/contour/plot_colors.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <string>

namespace shellfem::viewer {

namespace {

using platform::Canvas;
using platform::Color;
using platform::PixelPoint;

constexpr double kNodeHalfSize = 2.0;
constexpr double kSelectedNodeHalfSize = 3.0;
constexpr int kNumberFontSize = 11;
constexpr double kMarkerHalfSize = 6.0;

// Elements far to near; those naming a node without a projection are left out.
std::vector<DrawnElement> elementsBackToFront(const ContourModel& model,
                                              const std::vector<view3d::ScreenPoint>& nodes) {
    std::vector<DrawnElement> drawn;
    drawn.reserve(model.elements.size());
    for (std::size_t e = 0; e < model.elements.size(); ++e) {
        DrawnElement d;
        d.index = e;
        if (!projectedCorners(model.elements[e], nodes, d.corners))
            continue;
        d.depth = view3d::meanDepth(d.corners);
        drawn.push_back(d);
    }
    // Stable, so that elements at one depth keep the model order.
    std::stable_sort(drawn.begin(), drawn.end(), [](const DrawnElement& a, const DrawnElement& b) {
        return a.depth < b.depth;
    });
    return drawn;
}

bool shows(Show state, bool selected) {
    return state == Show::All || (state == Show::Selected && selected);
}

// The contour's values at every drawn corner and the scale and legend they give.
struct Contour {
    ColorScale scale;
    LegendText legend;
};

std::optional<Contour> contourOf(const ContourModel& model, std::vector<DrawnElement>& drawn,
                                 const DisplayStates& states, const PlotOptions& options) {
    if (drawn.empty())
        return std::nullopt;
    double low = 0.0, high = 0.0;
    bool first = true;
    for (DrawnElement& d : drawn) {
        d.values = cornerValues(model, options.unaveraged, d.index, states);
        for (double v : d.values) {
            low = first ? v : std::min(low, v);
            high = first ? v : std::max(high, v);
            first = false;
        }
    }
    joinRoundedValues(model, drawn);
    return Contour{scaleFor(options.legend, low, high),
                   {fieldTitle(states), low, high, options.legendNotes}};
}

std::vector<PixelPoint> outlineOf(const std::array<view3d::ScreenPoint, 4>& corners) {
    std::vector<PixelPoint> points;
    for (const view3d::ScreenPoint& c : corners)
        points.push_back({c.x, c.y});
    return points;
}

void drawClosedOutline(Canvas& canvas, std::vector<PixelPoint> outline) {
    outline.push_back(outline.front());
    canvas.polyline(outline);
}

// Every element in the colour of its mean value, before any band piece: should neighbours
// not meet in the same points (nodes apart at one place, a degenerate element), the
// rounding to pixels may open a sliver between their pieces, which then shows a band
// colour rather than the background. Drawn first, this never covers a neighbour's piece.
void drawUnderlays(Canvas& canvas, const std::vector<DrawnElement>& drawn,
                   const ColorScale& scale) {
    for (const DrawnElement& d : drawn) {
        canvas.setBrush(
            scale.bandColor(scale.bandOf(cornerMean(d.values, [](double v) { return v; }))));
        canvas.fillPolygon(outlineOf(d.corners));
    }
}

void drawElements(Canvas& canvas, const ContourModel& model, const std::vector<DrawnElement>& drawn,
                  const DisplayStates& states, const std::vector<char>& selectedElements,
                  const std::optional<Contour>& contour, Color ink) {
    std::vector<std::vector<BandPiece>> pieces;
    if (contour) {
        drawUnderlays(canvas, drawn, contour->scale);
        pieces = meshBandPieces(model, drawn, contour->scale.limits());
    }
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        const DrawnElement& d = drawn[i];
        const bool selected = isSelected(selectedElements, d.index);
        const std::vector<PixelPoint> outline = outlineOf(d.corners);
        const bool outlined = !selected && states.outlines == Show::All;
        if (contour) {
            for (const BandPiece& piece : pieces[i]) {
                canvas.setBrush(contour->scale.bandColor(piece.band));
                canvas.fillPolygon(piece.polygon);
            }
        } else if (shows(states.elementFill, selected)) {
            const Color fill = selected ? kSelectedFillColor : kPlainFillColor;
            canvas.setBrush(fill);
            canvas.fillPolygon(outline);
            if (!outlined) { // neighbours of one fill stay apart
                canvas.setPen({edgeColorOn(fill), 1, platform::LineStyle::Solid});
                drawClosedOutline(canvas, outline);
            }
        }
        // Each outline right after its own fill, so that nearer elements cover it.
        if (outlined) {
            canvas.setPen({ink, 1, platform::LineStyle::Solid});
            drawClosedOutline(canvas, outline);
        }
    }
    // Selected outlines over everything, so that the neighbours' edges do not hide them.
    if (states.outlines == Show::None)
        return;
    canvas.setPen({kHighlightColor, 2, platform::LineStyle::Solid});
    for (const DrawnElement& d : drawn)
        if (isSelected(selectedElements, d.index))
            drawClosedOutline(canvas, outlineOf(d.corners));
}

// The undeformed mesh behind the deformed one, grey.
void drawUndeformedMesh(Canvas& canvas, const ContourModel& model,
                        const std::vector<view3d::ScreenPoint>& undeformed, Color muted) {
    canvas.setPen({muted, 1, platform::LineStyle::Solid});
    for (const ContourElement& element : model.elements) {
        std::array<view3d::ScreenPoint, 4> corners;
        if (projectedCorners(element, undeformed, corners))
            drawClosedOutline(canvas, outlineOf(corners));
    }
}

// The undeformed mesh's boundary (the edges of one element only) dashed over the deformed
// one, so that the place the shell left shows where the deformed shell covers it.
void drawUndeformedBoundary(Canvas& canvas, const ContourModel& model,
                            const std::vector<view3d::ScreenPoint>& undeformed, Color muted) {
    std::map<std::pair<int, int>, int> uses;
    for (const ContourElement& element : model.elements)
        for (std::size_t k = 0; k < 4; ++k) {
            const int a = element.nodes[k], b = element.nodes[(k + 1) % 4];
            ++uses[{std::min(a, b), std::max(a, b)}];
        }
    canvas.setPen({muted, 1, platform::LineStyle::Dash});
    for (const auto& [edge, count] : uses) {
        const auto [a, b] = edge;
        if (count != 1 || a < 0 || static_cast<std::size_t>(b) >= undeformed.size())
            continue;
        const view3d::ScreenPoint& p = undeformed[static_cast<std::size_t>(a)];
        const view3d::ScreenPoint& q = undeformed[static_cast<std::size_t>(b)];
        canvas.line({p.x, p.y}, {q.x, q.y});
    }
}

void drawNodes(Canvas& canvas, const std::vector<view3d::ScreenPoint>& nodes, std::size_t count,
               Show state, const std::vector<char>& selectedNodes, Color ink) {
    if (state == Show::None)
        return;
    for (std::size_t i = 0; i < count; ++i) {
        const bool selected = isSelected(selectedNodes, i);
        if (!shows(state, selected))
            continue;
        const double half = selected ? kSelectedNodeHalfSize : kNodeHalfSize;
        const Color color = selected ? kHighlightColor : ink;
        canvas.setBrush(color);
        canvas.setPen({color, 1, platform::LineStyle::Solid});
        canvas.rectangle({nodes[i].x - half, nodes[i].y - half},
                         {nodes[i].x + half, nodes[i].y + half}, true, true);
    }
}

// A number on a patch of the background, so that it reads over every band colour.
void drawNumber(Canvas& canvas, PixelPoint topLeft, const std::string& number, Color background) {
    const double width = canvas.textWidth(number);
    canvas.setBrush(background);
    canvas.rectangle({topLeft.x - 1.0, topLeft.y},
                     {topLeft.x + width + 1.0, topLeft.y + kNumberFontSize + 1.0}, true, false);
    canvas.text(topLeft, number);
}

void drawNodeNumbers(Canvas& canvas, const std::vector<view3d::ScreenPoint>& nodes,
                     std::size_t count, Show state, const std::vector<char>& selectedNodes,
                     Color ink, Color background) {
    if (state == Show::None)
        return;
    canvas.setFont({"", kNumberFontSize});
    // Numbers stay in the ink colour even when selected: the highlight colour reads
    // poorly over the contour bands.
    canvas.setTextColor(ink);
    for (std::size_t i = 0; i < count; ++i) {
        const bool selected = isSelected(selectedNodes, i);
        if (!shows(state, selected))
            continue;
        // Above and to the right of the node square, clear of it.
        drawNumber(canvas,
                   {nodes[i].x + kSelectedNodeHalfSize + 1.0,
                    nodes[i].y - kSelectedNodeHalfSize - kNumberFontSize},
                   std::to_string(i), background);
    }
}

void drawElementNumbers(Canvas& canvas, const std::vector<DrawnElement>& drawn, Show state,
                        const std::vector<char>& selectedElements, Color ink, Color background) {
    if (state == Show::None)
        return;
    canvas.setFont({"", kNumberFontSize});
    canvas.setTextColor(ink);
    for (const DrawnElement& d : drawn) {
        const bool selected = isSelected(selectedElements, d.index);
        if (!shows(state, selected))
            continue;
        const PixelPoint centre = view3d::centreOf(d.corners);
        const std::string number = std::to_string(d.index);
        drawNumber(canvas,
                   {centre.x - canvas.textWidth(number) / 2.0, centre.y - kNumberFontSize / 2.0},
                   number, background);
    }
}

// A cross in a ring, outlined in the background colour so that it shows on any band.
void drawMarker(Canvas& canvas, PixelPoint at, Color ink, Color background) {
    const double h = kMarkerHalfSize;
    for (const auto& [color, width] : {std::pair{background, 3}, std::pair{ink, 1}}) {
        canvas.setPen({color, width, platform::LineStyle::Solid});
        canvas.line({at.x - h, at.y}, {at.x + h, at.y});
        canvas.line({at.x, at.y - h}, {at.x, at.y + h});
        canvas.ellipse(at, h - 2.0, h - 2.0, false, true);
    }
}

void drawModel(Canvas& canvas, const ContourModel& model,
               const std::vector<view3d::ScreenPoint>& nodes, const DisplayStates& states,
               const Selection& selection, Color background, const PlotOptions& options,
               const std::vector<DrawnElement>& drawn, const std::optional<Contour>& contour) {
    const Color ink = contrastingColor(background);
    if (options.undeformed)
        drawUndeformedMesh(canvas, model, *options.undeformed, mutedColor(background));
    drawElements(canvas, model, drawn, states, selection.elements, contour, ink);
    if (options.undeformed)
        drawUndeformedBoundary(canvas, model, *options.undeformed, mutedColor(background));
    const std::size_t nodeCount = std::min(nodes.size(), model.nodes.size());
    drawNodes(canvas, nodes, nodeCount, states.nodes, selection.nodes, ink);
    drawNodeNumbers(canvas, nodes, nodeCount, states.nodeNumbers, selection.nodes, ink, background);
    drawElementNumbers(canvas, drawn, states.elementNumbers, selection.elements, ink, background);
    if (options.marker)
        drawMarker(canvas, *options.marker, ink, background);
}

} // namespace

void drawContourPlot(Canvas& canvas, const ContourModel& model,
                     const std::vector<view3d::ScreenPoint>& nodes, const DisplayStates& states,
                     const Selection& selection, Color background, const PlotOptions& options) {
    std::vector<DrawnElement> drawn = elementsBackToFront(model, nodes);
    const std::optional<Contour> contour =
        states.contour ? contourOf(model, drawn, states, options) : std::nullopt;
    if (!contour) {
        drawModel(canvas, model, nodes, states, selection, background, options, drawn, contour);
        return;
    }
    ClippingCanvas modelArea(canvas, 0.0, 0.0, canvas.width() - kLegendWidthPixels,
                             canvas.height());
    drawModel(modelArea, model, nodes, states, selection, background, options, drawn, contour);
    drawContourLegend(canvas, contour->scale, contour->legend, background);
}

} // namespace shellfem::viewer
