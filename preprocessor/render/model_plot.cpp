#include "preprocessor/render/model_plot.h"

#include "preprocessor/render/plot_layers.h"

#include <algorithm>

namespace shellfem::preprocessor::render {

std::vector<platform::PixelPoint> PlotContext::polygonPixels(int polygon) const {
    const Polygon& p = model.data().polygons[static_cast<std::size_t>(polygon)];
    std::vector<platform::PixelPoint> pixels;
    pixels.reserve(p.vertices.size());
    for (int point : p.vertices)
        pixels.push_back(pixelOf(projected.points[static_cast<std::size_t>(point)]));
    return pixels;
}

std::vector<platform::PixelPoint> PlotContext::elementPixels(int element) const {
    const Element& e = model.data().elements[static_cast<std::size_t>(element)];
    std::vector<platform::PixelPoint> pixels;
    pixels.reserve(4);
    for (int node : e.nodes)
        pixels.push_back(pixelOf(projected.nodes[static_cast<std::size_t>(node)]));
    return pixels;
}

namespace {

platform::PixelPoint meanOf(const std::vector<platform::PixelPoint>& pixels) {
    platform::PixelPoint mean;
    for (const platform::PixelPoint& p : pixels) {
        mean.x += p.x / static_cast<double>(pixels.size());
        mean.y += p.y / static_cast<double>(pixels.size());
    }
    return mean;
}

} // namespace

platform::PixelPoint PlotContext::polygonCentre(int polygon) const {
    const PolygonGeometry& g = model.polygonGeometry()[static_cast<std::size_t>(polygon)];
    if (g.area > 0.0)
        return view.modelToPixel(g.centroid);
    return meanOf(polygonPixels(polygon));
}

platform::PixelPoint PlotContext::elementCentre(int element) const {
    return meanOf(elementPixels(element));
}

bool PlotContext::nearWindow(platform::PixelPoint at, double margin) const {
    return at.x >= -margin && at.y >= -margin && at.x <= canvas.width() + margin &&
           at.y <= canvas.height() + margin;
}

bool PlotContext::elementNearWindow(int element, double margin) const {
    const Element& e = model.data().elements[static_cast<std::size_t>(element)];
    const view3d::ScreenPoint& first = projected.nodes[static_cast<std::size_t>(e.nodes[0])];
    double left = first.x, right = first.x, top = first.y, bottom = first.y;
    for (int node : e.nodes) {
        const view3d::ScreenPoint& p = projected.nodes[static_cast<std::size_t>(node)];
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return right >= -margin && bottom >= -margin && left <= canvas.width() + margin &&
           top <= canvas.height() + margin;
}

void drawModel(platform::Canvas& canvas, const Model& model, const view3d::View& view,
               const PlotSwitches& switches, const ModelHighlight& highlight,
               platform::Color background) {
    const PlotPalette palette = plotPalette(background);
    const ProjectedModel projected = projectModel(model.data(), view);
    const PlotContext c{canvas, model, view, switches, palette, projected, background};
    drawPolygonFills(c);
    drawElements(c);
    drawPolygonOutlines(c);
    drawElementLoads(c);
    drawPolygonLoads(c);
    drawPoints(c);
    drawNodes(c);
    const bool restraintsDrawn = drawRestraints(c);
    drawForces(c);
    drawNumbers(c);
    drawPicks(c);
    drawPolygonInProgress(c, highlight);
    drawHovered(c, highlight);
    drawAttributeKey(c);
    if (restraintsDrawn)
        drawRestraintKey(c);
}

} // namespace shellfem::preprocessor::render
