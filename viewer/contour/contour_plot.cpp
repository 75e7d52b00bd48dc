#include "viewer/contour/contour_plot.h"

#include "viewer/contour/color_scale.h"
#include "viewer/contour/contour_legend.h"
#include "viewer/contour/element_geometry.h"
#include "viewer/contour/iso_bands.h"
#include "viewer/contour/plot_colors.h"
#include "viewer/contour/stress_component.h"

#include <algorithm>
#include <array>
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

struct DrawnElement {
    std::size_t index = 0;
    double depth = 0.0; // mean of the corner depths
    std::array<view3d::ScreenPoint, 4> corners;
};

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

// The scale over the top-surface values of the shown component at every drawn corner.
std::optional<ColorScale> contourScale(const ContourModel& model,
                                       const std::vector<DrawnElement>& drawn, int component) {
    if (drawn.empty() || component < 0 || component >= kStressComponentCount)
        return std::nullopt;
    const auto column = static_cast<std::size_t>(component);
    double low = model.elements[drawn.front().index].top[0][column];
    double high = low;
    for (const DrawnElement& d : drawn)
        for (const StressValues& corner : model.elements[d.index].top) {
            low = std::min(low, corner[column]);
            high = std::max(high, corner[column]);
        }
    return ColorScale(low, high);
}

std::vector<PixelPoint> outlineOf(const DrawnElement& d) {
    std::vector<PixelPoint> points;
    for (const view3d::ScreenPoint& c : d.corners)
        points.push_back({c.x, c.y});
    return points;
}

void drawClosedOutline(Canvas& canvas, std::vector<PixelPoint> outline) {
    outline.push_back(outline.front());
    canvas.polyline(outline);
}

void fillWithBands(Canvas& canvas, const DrawnElement& d, const ContourElement& element,
                   const ColorScale& scale, std::size_t column) {
    std::array<ValuedPoint, 4> corners;
    for (std::size_t k = 0; k < 4; ++k)
        corners[k] = {{d.corners[k].x, d.corners[k].y}, element.top[k][column]};
    for (const BandPiece& piece : splitQuadIntoBands(corners, scale.limits())) {
        canvas.setBrush(scale.bandColor(piece.band));
        canvas.fillPolygon(piece.polygon);
    }
}

void drawElements(Canvas& canvas, const ContourModel& model, const std::vector<DrawnElement>& drawn,
                  const DisplayStates& states, const std::vector<char>& selectedElements,
                  const std::optional<ColorScale>& scale, Color ink) {
    for (const DrawnElement& d : drawn) {
        const bool selected = isSelected(selectedElements, d.index);
        const std::vector<PixelPoint> outline = outlineOf(d);
        if (scale) {
            fillWithBands(canvas, d, model.elements[d.index], *scale,
                          static_cast<std::size_t>(states.component));
        } else if (shows(states.elementFill, selected)) {
            canvas.setBrush(selected ? kHighlightColor : kPlainFillColor);
            canvas.fillPolygon(outline);
        }
        // Each outline right after its own fill, so that nearer elements cover it.
        if (!selected && states.outlines == Show::All) {
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
            drawClosedOutline(canvas, outlineOf(d));
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

void drawNodeNumbers(Canvas& canvas, const std::vector<view3d::ScreenPoint>& nodes,
                     std::size_t count, Show state, const std::vector<char>& selectedNodes,
                     Color ink) {
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
        canvas.text({nodes[i].x + kSelectedNodeHalfSize + 1.0,
                     nodes[i].y - kSelectedNodeHalfSize - kNumberFontSize},
                    std::to_string(i));
    }
}

void drawElementNumbers(Canvas& canvas, const std::vector<DrawnElement>& drawn, Show state,
                        const std::vector<char>& selectedElements, Color ink) {
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
        canvas.text({centre.x - canvas.textWidth(number) / 2.0, centre.y - kNumberFontSize / 2.0},
                    number);
    }
}

} // namespace

void drawContourPlot(Canvas& canvas, const ContourModel& model,
                     const std::vector<view3d::ScreenPoint>& nodes, const DisplayStates& states,
                     const Selection& selection, Color background) {
    const Color ink = contrastingColor(background);
    const std::vector<DrawnElement> drawn = elementsBackToFront(model, nodes);
    const std::optional<ColorScale> scale =
        states.contour ? contourScale(model, drawn, states.component) : std::nullopt;
    drawElements(canvas, model, drawn, states, selection.elements, scale, ink);
    const std::size_t nodeCount = std::min(nodes.size(), model.nodes.size());
    drawNodes(canvas, nodes, nodeCount, states.nodes, selection.nodes, ink);
    drawNodeNumbers(canvas, nodes, nodeCount, states.nodeNumbers, selection.nodes, ink);
    drawElementNumbers(canvas, drawn, states.elementNumbers, selection.elements, ink);
    if (scale)
        drawContourLegend(canvas, *scale, contourTitle(states.component), background);
}

} // namespace shellfem::viewer
