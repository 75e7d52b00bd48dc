#include "preprocessor/render/plot_drawing.h"

namespace shellfem::preprocessor::render {

namespace {

using platform::Canvas;
using platform::Color;
using platform::PixelPoint;

constexpr double kEndOnRadius = 5.0;
constexpr double kEndOnOuterRadius = 8.0; // the second ring of a moment

platform::Pen solid(Color color, int width = 1) {
    return {color, width, platform::LineStyle::Solid};
}

void drawEndOnMark(Canvas& canvas, const VectorSymbol& symbol) {
    const PixelPoint c = symbol.arrow.tip;
    canvas.ellipse(c, kEndOnRadius, kEndOnRadius, false, true);
    if (symbol.arrow.heads > 1)
        canvas.ellipse(c, kEndOnOuterRadius, kEndOnOuterRadius, false, true);
    if (symbol.towardsViewer) {
        canvas.ellipse(c, 1.5, 1.5, true, true);
        return;
    }
    const double d = kEndOnRadius * 0.7;
    canvas.line({c.x - d, c.y - d}, {c.x + d, c.y + d});
    canvas.line({c.x - d, c.y + d}, {c.x + d, c.y - d});
}

} // namespace

void drawClosedOutline(Canvas& canvas, std::vector<PixelPoint> outline) {
    if (outline.empty())
        return;
    outline.push_back(outline.front());
    canvas.polyline(outline);
}

void drawSquare(Canvas& canvas, PixelPoint at, double half, Color color, bool filled) {
    canvas.setPen(solid(color, filled ? 1 : 2));
    canvas.setBrush(color);
    canvas.rectangle({at.x - half, at.y - half}, {at.x + half, at.y + half}, filled, true);
}

void drawDot(Canvas& canvas, PixelPoint at, double radius, Color color, bool filled) {
    canvas.setPen(solid(color, filled ? 1 : 2));
    canvas.setBrush(color);
    canvas.ellipse(at, radius, radius, filled, true);
}

void drawVectorSymbol(Canvas& canvas, const VectorSymbol& symbol, HeadSize head, Color color) {
    canvas.setPen(solid(color));
    canvas.setBrush(color);
    if (symbol.endOn) {
        drawEndOnMark(canvas, symbol);
        return;
    }
    canvas.line(symbol.arrow.tail, symbol.arrow.tip);
    for (const std::vector<PixelPoint>& triangle : arrowHeads(symbol.arrow, head))
        canvas.fillPolygon(triangle);
}

void drawCentredText(Canvas& canvas, PixelPoint centre, const std::string& utf8) {
    canvas.text({centre.x - canvas.textWidth(utf8) / 2.0, centre.y - kLabelFontSize / 2.0}, utf8);
}

void drawTextBeside(Canvas& canvas, PixelPoint at, double clearance, const std::string& utf8) {
    canvas.text({at.x + clearance + 1.0, at.y - clearance - kLabelFontSize}, utf8);
}

} // namespace shellfem::preprocessor::render
