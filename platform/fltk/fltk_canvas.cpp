#include "platform/fltk/fltk_canvas.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <cmath>

namespace shellfem::platform::fltk {

namespace {
// Keeps coordinates inside what X11 can take (16-bit) when the view is zoomed far in.
int clampCoordinate(double v) {
    if (!(v == v))
        return 0;
    return static_cast<int>(std::lround(std::clamp(v, -30000.0, 30000.0)));
}
void useColor(Color c) {
    fl_color(c.r, c.g, c.b);
}
} // namespace

int fltkFontFor(const Font& font) {
    const std::string& f = font.face;
    const bool bold = f.find("Bold") != std::string::npos || f.find("bold") != std::string::npos;
    const bool mono = f.find("Mono") != std::string::npos || f.find("Courier") != std::string::npos;
    if (mono)
        return bold ? FL_COURIER_BOLD : FL_COURIER;
    return bold ? FL_HELVETICA_BOLD : FL_HELVETICA;
}

FltkCanvas::FltkCanvas(int originX, int originY, int width, int height)
    : ox_(originX), oy_(originY), width_(width), height_(height), drawing_(fl_gc != nullptr) {
    // Outside a paint (no drawing surface) only the text measures are usable.
    if (drawing_)
        fl_push_clip(ox_, oy_, width_, height_);
}

FltkCanvas::~FltkCanvas() {
    if (drawing_) {
        fl_line_style(0);
        fl_pop_clip();
    }
}

int FltkCanvas::px(double x) const {
    return clampCoordinate(ox_ + x);
}
int FltkCanvas::py(double y) const {
    return clampCoordinate(oy_ + y);
}

void FltkCanvas::usePen() {
    useColor(pen_.color);
    int style = FL_SOLID;
    if (pen_.style == LineStyle::Dash)
        style = FL_DASH;
    else if (pen_.style == LineStyle::Dot)
        style = FL_DOT;
    fl_line_style(style, std::max(0, pen_.width));
}

void FltkCanvas::useFont() {
    fl_font(fltkFontFor(font_), std::max(1, font_.size));
}

void FltkCanvas::line(PixelPoint from, PixelPoint to) {
    usePen();
    fl_line(px(from.x), py(from.y), px(to.x), py(to.y));
}

void FltkCanvas::polyline(const std::vector<PixelPoint>& points) {
    if (points.size() < 2)
        return;
    usePen();
    for (std::size_t i = 1; i < points.size(); ++i)
        fl_line(px(points[i - 1].x), py(points[i - 1].y), px(points[i].x), py(points[i].y));
}

void FltkCanvas::fillPolygon(const std::vector<PixelPoint>& points) {
    if (points.size() < 3)
        return;
    useColor(brush_);
    fl_line_style(0);
    fl_begin_complex_polygon();
    for (const PixelPoint& p : points)
        fl_vertex(px(p.x), py(p.y));
    fl_end_complex_polygon();
}

void FltkCanvas::rectangle(PixelPoint a, PixelPoint b, bool fill, bool outline) {
    const int x0 = std::min(px(a.x), px(b.x)), x1 = std::max(px(a.x), px(b.x));
    const int y0 = std::min(py(a.y), py(b.y)), y1 = std::max(py(a.y), py(b.y));
    if (fill) {
        useColor(brush_);
        fl_rectf(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
    }
    if (outline) {
        usePen();
        fl_line(x0, y0, x1, y0);
        fl_line(x1, y0, x1, y1);
        fl_line(x1, y1, x0, y1);
        fl_line(x0, y1, x0, y0);
    }
}

void FltkCanvas::ellipse(PixelPoint centre, double rx, double ry, bool fill, bool outline) {
    const int x = px(centre.x - rx), y = py(centre.y - ry);
    const int w = std::max(1, clampCoordinate(2 * rx)), h = std::max(1, clampCoordinate(2 * ry));
    if (fill) {
        useColor(brush_);
        fl_pie(x, y, w, h, 0.0, 360.0);
    }
    if (outline) {
        usePen();
        fl_arc(x, y, w, h, 0.0, 360.0);
    }
}

void FltkCanvas::arc(PixelPoint centre, double rx, double ry, double start, double sweep) {
    const int x = px(centre.x - rx), y = py(centre.y - ry);
    const int w = std::max(1, clampCoordinate(2 * rx)), h = std::max(1, clampCoordinate(2 * ry));
    double a1 = start, a2 = start + sweep;
    if (a2 < a1)
        std::swap(a1, a2);
    usePen();
    fl_arc(x, y, w, h, a1, a2);
}

void FltkCanvas::text(PixelPoint topLeft, const std::string& utf8) {
    useFont();
    useColor(textColor_);
    fl_draw(utf8.c_str(), static_cast<int>(utf8.size()), px(topLeft.x),
            py(topLeft.y) + fl_height() - fl_descent());
}

double FltkCanvas::textWidth(const std::string& utf8) {
    useFont();
    return fl_width(utf8.c_str(), static_cast<int>(utf8.size()));
}

} // namespace shellfem::platform::fltk
