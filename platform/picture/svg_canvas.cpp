#include "platform/picture/svg_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

namespace shellfem::platform {

namespace {

std::string number(double v) {
    if (!std::isfinite(v))
        v = 0.0;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", std::clamp(v, -1e7, 1e7));
    std::string s = buffer;
    // "12.50" -> "12.5", "3.00" -> "3": shorter files, same values.
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

std::string colour(Color c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.r, c.g, c.b);
    return buffer;
}

std::string pointList(const std::vector<PixelPoint>& points) {
    std::string s;
    for (const PixelPoint& p : points) {
        if (!s.empty())
            s += ' ';
        s += number(p.x) + ',' + number(p.y);
    }
    return s;
}

std::string escaped(const std::string& text) {
    std::string s;
    for (char c : text) {
        switch (c) {
        case '&':
            s += "&amp;";
            break;
        case '<':
            s += "&lt;";
            break;
        case '>':
            s += "&gt;";
            break;
        case '"':
            s += "&quot;";
            break;
        default:
            s += c;
        }
    }
    return s;
}

PixelPoint onEllipse(PixelPoint centre, double rx, double ry, double degrees) {
    const double a = degrees * std::acos(-1.0) / 180.0;
    return {centre.x + rx * std::cos(a), centre.y - ry * std::sin(a)}; // y grows downwards
}

} // namespace

SvgCanvas::SvgCanvas(int width, int height, double scale)
    : width_(width), height_(height), scale_(scale > 0.0 ? scale : 1.0) {}

std::string SvgCanvas::paintAttributes(bool fill, bool outline) const {
    std::string s = " fill=\"" + (fill ? colour(brush_) : std::string("none")) + "\"";
    if (!outline)
        return s;
    s += " stroke=\"" + colour(pen_.color) + "\" stroke-width=\"" +
         number(std::max(1, pen_.width)) + "\"";
    if (pen_.style == LineStyle::Dash)
        s += " stroke-dasharray=\"6,3\"";
    else if (pen_.style == LineStyle::Dot)
        s += " stroke-dasharray=\"1,2\"";
    return s;
}

void SvgCanvas::line(PixelPoint from, PixelPoint to) {
    body_ += "<line x1=\"" + number(from.x) + "\" y1=\"" + number(from.y) + "\" x2=\"" +
             number(to.x) + "\" y2=\"" + number(to.y) + "\"" + paintAttributes(false, true) +
             "/>\n";
}

void SvgCanvas::polyline(const std::vector<PixelPoint>& points) {
    if (points.size() < 2)
        return;
    body_ += "<polyline points=\"" + pointList(points) + "\"" + paintAttributes(false, true) +
             " stroke-linejoin=\"round\"/>\n";
}

void SvgCanvas::fillPolygon(const std::vector<PixelPoint>& points) {
    if (points.size() < 3)
        return;
    // A hairline of the fill colour closes the faint seams that anti-aliasing leaves
    // between pieces that meet edge to edge.
    const std::string c = colour(brush_);
    body_ += "<polygon points=\"" + pointList(points) + "\" fill=\"" + c + "\" stroke=\"" + c +
             "\" stroke-width=\"0.5\" stroke-linejoin=\"round\"/>\n";
}

void SvgCanvas::rectangle(PixelPoint a, PixelPoint b, bool fill, bool outline) {
    if (!fill && !outline)
        return;
    const double x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    body_ += "<rect x=\"" + number(x) + "\" y=\"" + number(y) + "\" width=\"" +
             number(std::fabs(b.x - a.x)) + "\" height=\"" + number(std::fabs(b.y - a.y)) + "\"";
    body_ += paintAttributes(fill, outline) + "/>\n";
}

void SvgCanvas::ellipse(PixelPoint centre, double rx, double ry, bool fill, bool outline) {
    if (!fill && !outline)
        return;
    body_ += "<ellipse cx=\"" + number(centre.x) + "\" cy=\"" + number(centre.y) + "\" rx=\"" +
             number(rx) + "\" ry=\"" + number(ry) + "\"";
    body_ += paintAttributes(fill, outline) + "/>\n";
}

void SvgCanvas::arc(PixelPoint centre, double rx, double ry, double startDegrees,
                    double sweepDegrees) {
    // Two halves when the sweep is a whole turn: an arc command cannot end where it starts.
    const double sweep = std::clamp(sweepDegrees, -360.0, 360.0);
    const int halves = std::fabs(sweep) > 359.0 ? 2 : 1;
    const PixelPoint start = onEllipse(centre, rx, ry, startDegrees);
    std::string d = "M" + number(start.x) + "," + number(start.y);
    for (int h = 1; h <= halves; ++h) {
        const PixelPoint end = onEllipse(centre, rx, ry, startDegrees + sweep * h / halves);
        const bool large = std::fabs(sweep) / halves > 180.0;
        // Counter-clockwise on a y-down screen is SVG's negative sweep direction.
        d += " A" + number(rx) + "," + number(ry) + " 0 " + (large ? "1" : "0") + " " +
             (sweep > 0 ? "0" : "1") + " " + number(end.x) + "," + number(end.y);
    }
    body_ += "<path d=\"" + d + "\"" + paintAttributes(false, true) + "/>\n";
}

void SvgCanvas::text(PixelPoint topLeft, const std::string& utf8) {
    // SVG places text by its baseline: about 0.85 of the size below the top.
    body_ += "<text x=\"" + number(topLeft.x) + "\" y=\"" + number(topLeft.y + 0.85 * font_.size) +
             "\" font-size=\"" + number(font_.size) + "\" fill=\"" + colour(textColor_) + "\">" +
             escaped(utf8) + "</text>\n";
}

double SvgCanvas::textWidth(const std::string& utf8) {
    double width = 0.0;
    for (unsigned char c : utf8) {
        if (c < 0x80)
            width += 0.55;
        else if (c >= 0xC0) // the first byte of a longer character
            width += 1.0;
    }
    return width * font_.size;
}

std::string SvgCanvas::document() const {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           number(width_ * scale_) + "\" height=\"" + number(height_ * scale_) +
           "\" viewBox=\"0 0 " + std::to_string(width_) + " " + std::to_string(height_) +
           "\" font-family=\"WenQuanYi Micro Hei, Noto Sans CJK SC, sans-serif\">\n" + body_ +
           "</svg>\n";
}

Outcome SvgCanvas::save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    if (out)
        out << document();
    out.flush();
    if (!out)
        return Outcome::failure(Status::CannotOpen, "cannot write " + path);
    return Outcome::success();
}

} // namespace shellfem::platform
