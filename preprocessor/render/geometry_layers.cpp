#include "formats/number_format.h"
#include "preprocessor/render/plot_drawing.h"
#include "preprocessor/render/plot_layers.h"

#include <algorithm>
#include <set>
#include <string>

namespace shellfem::preprocessor::render {

namespace {

using platform::PixelPoint;

constexpr double kPointHalfSize = 2.5;
constexpr double kNodeRadius = 2.0;
constexpr int kPolygonOutlineWidth = 2;
constexpr double kKeyMargin = 8.0;
constexpr double kKeyBox = 12.0;
constexpr double kKeyRowHeight = 16.0;

bool colourMode(const PlotContext& c) {
    return c.switches.polygons && c.switches.polygonColourMode;
}

struct DepthOf {
    float depth = 0.0f;
    int id = 0;
};

// The IDs whose `shown` holds, far to near by `depth`; those at one depth keep their order.
template <typename Shown, typename Depth>
std::vector<int> backToFront(std::size_t count, Shown shown, Depth depth) {
    std::vector<DepthOf> order;
    order.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        if (shown(i))
            order.push_back({static_cast<float>(depth(i)), static_cast<int>(i)});
    std::stable_sort(order.begin(), order.end(),
                     [](const DepthOf& a, const DepthOf& b) { return a.depth < b.depth; });
    std::vector<int> ids;
    ids.reserve(order.size());
    for (const DepthOf& d : order)
        ids.push_back(d.id);
    return ids;
}

template <typename Ids, typename Projected>
double meanDepthOf(const Ids& ids, const Projected& projected) {
    double sum = 0.0;
    for (int id : ids)
        sum += projected[static_cast<std::size_t>(id)].depth;
    return ids.empty() ? 0.0 : sum / static_cast<double>(ids.size());
}

int attributeOf(const Polygon& polygon, PolygonColouring by) {
    return by == PolygonColouring::Material ? polygon.material : polygon.thickness;
}

std::string attributeLabel(const ModelData& data, PolygonColouring by, int id) {
    const auto at = static_cast<std::size_t>(id);
    if (by == PolygonColouring::Material) {
        std::string label = "Material " + std::to_string(id);
        if (id < 0 || at >= data.materials.size())
            return label + " (not defined)";
        return label + ": E=" + formatGeneral(data.materials[at].E) +
               ", Mu=" + formatGeneral(data.materials[at].Mu);
    }
    std::string label = "Thickness " + std::to_string(id);
    if (id < 0 || at >= data.thicknesses.size())
        return label + " (not defined)";
    return label + ": TK=" + formatGeneral(data.thicknesses[at]);
}

} // namespace

void drawPolygonFills(const PlotContext& c) {
    if (!colourMode(c))
        return;
    const std::vector<Polygon>& polygons = c.model.data().polygons;
    const std::vector<int> order = backToFront(
        polygons.size(), [&](std::size_t p) { return polygons[p].visible; },
        [&](std::size_t p) { return meanDepthOf(polygons[p].vertices, c.projected.points); });
    for (int p : order) {
        c.canvas.setBrush(attributeColour(
            attributeOf(polygons[static_cast<std::size_t>(p)], c.switches.colourBy), c.background));
        c.canvas.fillPolygon(c.polygonPixels(p));
    }
}

void drawElements(const PlotContext& c) {
    if (!c.switches.elements)
        return;
    const std::vector<Element>& elements = c.model.data().elements;
    const std::vector<int> order = backToFront(
        elements.size(),
        [&](std::size_t e) {
            return elements[e].visible && c.elementNearWindow(static_cast<int>(e), 0.0);
        },
        [&](std::size_t e) { return meanDepthOf(elements[e].nodes, c.projected.nodes); });
    // Filled faintly, so that nearer elements hide farther ones; not at all over
    // the attribute colours, which the elements would cover.
    const bool fill = !colourMode(c);
    c.canvas.setPen(solidPen(c.palette.element));
    c.canvas.setBrush(c.palette.elementFill);
    for (int e : order) {
        std::vector<PixelPoint> outline = c.elementPixels(e);
        if (fill)
            c.canvas.fillPolygon(outline);
        drawClosedOutline(c.canvas, std::move(outline));
    }
}

void drawPolygonOutlines(const PlotContext& c) {
    if (!c.switches.polygons)
        return;
    const std::vector<Polygon>& polygons = c.model.data().polygons;
    c.canvas.setPen(solidPen(c.palette.ink, kPolygonOutlineWidth));
    for (std::size_t p = 0; p < polygons.size(); ++p)
        if (polygons[p].visible)
            drawClosedOutline(c.canvas, c.polygonPixels(static_cast<int>(p)));
}

void drawPoints(const PlotContext& c) {
    if (!c.switches.points)
        return;
    const std::vector<GeometricPoint>& points = c.model.data().points;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PixelPoint at = pixelOf(c.projected.points[i]);
        if (points[i].visible && c.nearWindow(at, kPointHalfSize))
            drawSquare(c.canvas, at, kPointHalfSize, c.palette.point, true);
    }
}

void drawNodes(const PlotContext& c) {
    if (!c.switches.nodes)
        return;
    const std::vector<Node>& nodes = c.model.data().nodes;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const PixelPoint at = pixelOf(c.projected.nodes[i]);
        if (nodes[i].visible && c.nearWindow(at, kNodeRadius))
            drawDot(c.canvas, at, kNodeRadius, c.palette.node, true);
    }
}

void drawAttributeKey(const PlotContext& c) {
    if (!colourMode(c))
        return;
    std::set<int> shown;
    for (const Polygon& p : c.model.data().polygons)
        if (p.visible)
            shown.insert(attributeOf(p, c.switches.colourBy));
    c.canvas.setFont({"", kLabelFontSize + 1});
    c.canvas.setTextColor(c.palette.ink);
    c.canvas.setPen(solidPen(c.palette.ink));
    double y = kKeyMargin;
    for (int id : shown) {
        if (y + kKeyRowHeight > c.canvas.height())
            break;
        c.canvas.setBrush(attributeColour(id, c.background));
        c.canvas.rectangle({kKeyMargin, y}, {kKeyMargin + kKeyBox, y + kKeyBox}, true, true);
        c.canvas.text({kKeyMargin + kKeyBox + 6.0, y},
                      attributeLabel(c.model.data(), c.switches.colourBy, id));
        y += kKeyRowHeight;
    }
}

} // namespace shellfem::preprocessor::render
