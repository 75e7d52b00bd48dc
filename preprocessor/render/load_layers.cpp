#include "formats/number_format.h"
#include "preprocessor/render/load_marks.h"
#include "preprocessor/render/plot_drawing.h"
#include "preprocessor/render/plot_layers.h"

#include <algorithm>
#include <cmath>

namespace shellfem::preprocessor::render {

namespace {

using platform::PixelPoint;

// Arrow lengths in pixels, the same at any zoom.
constexpr LengthRange kForceLength{15.0, 60.0};
constexpr HeadSize kForceHead{9.0, 4.0};
constexpr LengthRange kPolygonLoadLength{12.0, 45.0};
constexpr HeadSize kPolygonLoadHead{8.0, 3.5};
constexpr LengthRange kElementLoadLength{6.0, 24.0};
constexpr HeadSize kElementLoadHead{5.0, 2.5};
constexpr double kLabelGap = 8.0; // between an arrow's tail and the centre of its value
// Below this diagonal on screen an element's load arrows would only cover each other
// (and a large model's paint would spend most of its time on them): they return
// when the view is zoomed in.
constexpr double kSmallestLoadedElement = kElementLoadLength.longest;

struct Pressure {
    const PlotContext& c;
    double largest;
    LengthRange range;
    HeadSize head;
};

// The arrow of a pressure mark, pointing the way the pressure acts; none for zero.
std::optional<VectorSymbol> pressureSymbol(const Pressure& p, const PressureMark& mark) {
    if (mark.value == 0.0)
        return std::nullopt;
    const Vec3 acting = mark.value > 0.0 ? mark.direction : -1.0 * mark.direction;
    return vectorSymbol(mark.at, screenDirection(p.c.view, acting),
                        arrowLength(mark.value, p.largest, p.range), 1);
}

// The value beyond the tail of the arrow, or beside the point without one.
void drawPressureValue(const PlotContext& c, const PressureMark& mark,
                       const std::optional<VectorSymbol>& symbol) {
    const std::string value = formatGeneral(mark.value);
    if (!symbol || symbol->endOn) {
        drawTextBeside(c.canvas, mark.at, 6.0, value);
        return;
    }
    const Arrow& a = symbol->arrow;
    const double dx = a.tail.x - a.tip.x;
    const double dy = a.tail.y - a.tip.y;
    const double size = std::hypot(dx, dy);
    drawCentredText(c.canvas, {a.tail.x + kLabelGap * dx / size, a.tail.y + kLabelGap * dy / size},
                    value);
}

double largestOf(const std::vector<NodalForce>& forces, const std::vector<Node>& nodes,
                 std::size_t first) {
    double largest = 0.0;
    for (const NodalForce& f : forces)
        if (nodes[static_cast<std::size_t>(f.node)].visible)
            largest = std::max(largest,
                               length({f.values[first], f.values[first + 1], f.values[first + 2]}));
    return largest;
}

double screenDiagonal(const PlotContext& c, const Element& e) {
    auto at = [&](std::size_t corner) {
        return pixelOf(c.projected.nodes[static_cast<std::size_t>(e.nodes[corner])]);
    };
    auto span = [](PixelPoint a, PixelPoint b) { return std::hypot(a.x - b.x, a.y - b.y); };
    return std::max(span(at(0), at(2)), span(at(1), at(3)));
}

} // namespace

void drawElementLoads(const PlotContext& c) {
    if (!c.switches.elementLoads)
        return;
    const ModelData& data = c.model.data();
    const std::vector<PolygonLoad> loads = loadsByPolygon(data);
    std::vector<int> loadOfPolygon(data.polygons.size(), -1);
    for (std::size_t l = 0; l < loads.size(); ++l)
        loadOfPolygon[static_cast<std::size_t>(loads[l].polygon)] = static_cast<int>(l);
    const Pressure pressure{c, largestCornerPressure(data, loads), kElementLoadLength,
                            kElementLoadHead};
    for (std::size_t e = 0; e < data.elements.size(); ++e) {
        const Element& element = data.elements[e];
        const int load = loadOfPolygon[static_cast<std::size_t>(element.polygon)];
        if (!element.visible || load < 0 ||
            !c.elementNearWindow(static_cast<int>(e), kElementLoadLength.longest) ||
            screenDiagonal(c, element) < kSmallestLoadedElement)
            continue;
        for (const PressureMark& mark : elementPressureMarks(
                 c.model, c.projected, static_cast<int>(e), loads[static_cast<std::size_t>(load)]))
            if (const std::optional<VectorSymbol> symbol = pressureSymbol(pressure, mark))
                drawVectorSymbol(c.canvas, *symbol, kElementLoadHead, c.palette.load);
    }
}

void drawPolygonLoads(const PlotContext& c) {
    if (!c.switches.polygonLoads)
        return;
    const ModelData& data = c.model.data();
    const std::vector<PolygonLoad> loads = loadsByPolygon(data);
    const Pressure pressure{c, largestCornerPressure(data, loads), kPolygonLoadLength,
                            kPolygonLoadHead};
    c.canvas.setFont({"", kLabelFontSize});
    c.canvas.setTextColor(c.palette.load);
    for (const PolygonLoad& load : loads) {
        if (!data.polygons[static_cast<std::size_t>(load.polygon)].visible)
            continue;
        for (const PressureMark& mark : polygonPressureMarks(c.model, c.projected, c.view, load)) {
            const std::optional<VectorSymbol> symbol = pressureSymbol(pressure, mark);
            if (symbol)
                drawVectorSymbol(c.canvas, *symbol, kPolygonLoadHead, c.palette.load);
            drawPressureValue(c, mark, symbol);
        }
    }
}

void drawForces(const PlotContext& c) {
    if (!c.switches.forces)
        return;
    const std::vector<Node>& nodes = c.model.data().nodes;
    const std::vector<NodalForce> forces = forcesByNode(c.model.data());
    // Forces and moments each scale to their own largest.
    const std::array<double, 2> largest{largestOf(forces, nodes, 0), largestOf(forces, nodes, 3)};
    for (const NodalForce& f : forces) {
        const PixelPoint at = pixelOf(c.projected.nodes[static_cast<std::size_t>(f.node)]);
        if (!nodes[static_cast<std::size_t>(f.node)].visible ||
            !c.nearWindow(at, kForceLength.longest))
            continue;
        for (std::size_t kind = 0; kind < 2; ++kind) {
            const Vec3 v{f.values[3 * kind], f.values[3 * kind + 1], f.values[3 * kind + 2]};
            if (length(v) == 0.0)
                continue;
            const int heads = kind == 0 ? 1 : 2;
            drawVectorSymbol(c.canvas,
                             vectorSymbol(at, screenDirection(c.view, unitOrZero(v)),
                                          arrowLength(length(v), largest[kind], kForceLength),
                                          heads),
                             kForceHead, c.palette.force);
        }
    }
}

} // namespace shellfem::preprocessor::render
