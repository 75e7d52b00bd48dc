#include "preprocessor/render/plot_drawing.h"
#include "preprocessor/render/plot_layers.h"

#include <string>

namespace shellfem::preprocessor::render {

namespace {

// Clear of the largest marker a point or node is drawn with.
constexpr double kNumberClearance = 4.0;
// Farthest a number's text reaches from where it is placed.
constexpr double kNumberReach = 60.0;

// Each shown item's number in `color`, at `anchor(id)` and placed from there by
// `place(anchor, text)`.
template <typename Items, typename Anchor, typename Place>
void drawNumbersOf(const PlotContext& c, const Items& items, platform::Color color, Anchor anchor,
                   Place place) {
    c.canvas.setTextColor(color);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].visible)
            continue;
        const platform::PixelPoint at = anchor(static_cast<int>(i));
        if (c.nearWindow(at, kNumberReach))
            place(at, std::to_string(i));
    }
}

} // namespace

void drawNumbers(const PlotContext& c) {
    const ModelData& data = c.model.data();
    const PlotSwitches& on = c.switches;
    c.canvas.setFont({"", kLabelFontSize});
    auto beside = [&](platform::PixelPoint at, const std::string& text) {
        drawTextBeside(c.canvas, at, kNumberClearance, text);
    };
    auto centred = [&](platform::PixelPoint at, const std::string& text) {
        drawCentredText(c.canvas, at, text);
    };
    if (on.pointNumbers)
        drawNumbersOf(
            c, data.points, c.palette.point,
            [&](int i) { return pixelOf(c.projected.points[static_cast<std::size_t>(i)]); },
            beside);
    if (on.polygonNumbers)
        drawNumbersOf(
            c, data.polygons, c.palette.ink, [&](int i) { return c.polygonCentre(i); }, centred);
    if (on.nodeNumbers)
        drawNumbersOf(
            c, data.nodes, c.palette.node,
            [&](int i) { return pixelOf(c.projected.nodes[static_cast<std::size_t>(i)]); }, beside);
    if (on.elementNumbers)
        drawNumbersOf(
            c, data.elements, c.palette.element, [&](int i) { return c.elementCentre(i); },
            centred);
}

} // namespace shellfem::preprocessor::render
