#include "preprocessor/render/plot_drawing.h"
#include "preprocessor/render/plot_layers.h"

namespace shellfem::preprocessor::render {

namespace {

using platform::PixelPoint;

constexpr double kPickedMarker = 4.0;  // half side of a picked point, radius of a picked node
constexpr double kHoveredMarker = 7.0; // a hollow marker around the hovered point or node
constexpr int kPickedPolygonWidth = 3;
constexpr int kHoveredPolygonWidth = 5;
constexpr int kHoveredElementWidth = 4;
constexpr int kOutlineInProgressWidth = 2;

// Whether `id` names an item of `items` that is shown: a pick may outlive its item.
template <typename Items> bool shown(const Items& items, int id) {
    return id >= 0 && static_cast<std::size_t>(id) < items.size() &&
           items[static_cast<std::size_t>(id)].visible;
}

PixelPoint pointPixel(const PlotContext& c, int id) {
    return pixelOf(c.projected.points[static_cast<std::size_t>(id)]);
}

PixelPoint nodePixel(const PlotContext& c, int id) {
    return pixelOf(c.projected.nodes[static_cast<std::size_t>(id)]);
}

} // namespace

void drawPicks(const PlotContext& c) {
    const ModelData& data = c.model.data();
    const Selection& picked = c.model.selection();
    const platform::Color colour = c.palette.highlight;
    c.canvas.setPen(solidPen(colour, kPickedPolygonWidth));
    for (int p : picked.polygons)
        if (shown(data.polygons, p))
            drawClosedOutline(c.canvas, c.polygonPixels(p));
    for (int p : picked.points)
        if (shown(data.points, p))
            drawSquare(c.canvas, pointPixel(c, p), kPickedMarker, colour, true);
    for (int n : picked.nodes)
        if (shown(data.nodes, n))
            drawDot(c.canvas, nodePixel(c, n), kPickedMarker, colour, true);
}

void drawPolygonInProgress(const PlotContext& c, const ModelHighlight& highlight) {
    const std::vector<GeometricPoint>& points = c.model.data().points;
    std::vector<PixelPoint> outline;
    for (int p : c.model.selection().polygonOutline)
        if (shown(points, p))
            outline.push_back(pointPixel(c, p));
    if (outline.empty())
        return;
    const platform::Color colour = c.palette.highlight;
    c.canvas.setPen(solidPen(colour, kOutlineInProgressWidth));
    if (outline.size() > 1)
        c.canvas.polyline(outline);
    for (const PixelPoint& p : outline)
        drawSquare(c.canvas, p, kPickedMarker, colour, true);
    if (highlight.cursor) {
        c.canvas.setPen({colour, 1, platform::LineStyle::Dash});
        c.canvas.line(outline.back(), *highlight.cursor);
    }
}

void drawHovered(const PlotContext& c, const ModelHighlight& highlight) {
    if (!highlight.hovered)
        return;
    const ModelData& data = c.model.data();
    const platform::Color colour = c.palette.highlight;
    const int id = highlight.hovered->id;
    switch (highlight.hovered->kind) {
    case ItemKind::Point:
        if (shown(data.points, id))
            drawSquare(c.canvas, pointPixel(c, id), kHoveredMarker, colour, false);
        break;
    case ItemKind::Node:
        if (shown(data.nodes, id))
            drawDot(c.canvas, nodePixel(c, id), kHoveredMarker, colour, false);
        break;
    case ItemKind::Polygon:
        if (shown(data.polygons, id)) {
            c.canvas.setPen(solidPen(colour, kHoveredPolygonWidth));
            drawClosedOutline(c.canvas, c.polygonPixels(id));
        }
        break;
    case ItemKind::Element:
        if (shown(data.elements, id)) {
            c.canvas.setPen(solidPen(colour, kHoveredElementWidth));
            drawClosedOutline(c.canvas, c.elementPixels(id));
        }
        break;
    }
}

} // namespace shellfem::preprocessor::render
