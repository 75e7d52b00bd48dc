#include "viewer/contour/clipping_canvas.h"

#include <algorithm>

namespace shellfem::viewer {

using platform::PixelPoint;

namespace {

// One side of the rectangle: the points p with sign * (p.x or p.y) <= sign * bound.
struct Side {
    bool vertical; // compares x
    double bound;
    double sign; // +1: keep below the bound, -1: keep above it
    bool keeps(const PixelPoint& p) const { return sign * ((vertical ? p.x : p.y) - bound) <= 0; }
    PixelPoint cut(const PixelPoint& a, const PixelPoint& b) const {
        const double ca = vertical ? a.x : a.y, cb = vertical ? b.x : b.y;
        const double t = (bound - ca) / (cb - ca);
        PixelPoint p{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
        (vertical ? p.x : p.y) = bound; // exactly on the side
        return p;
    }
};

// Sutherland-Hodgman against one side.
std::vector<PixelPoint> clipPolygon(const std::vector<PixelPoint>& polygon, const Side& side) {
    std::vector<PixelPoint> out;
    out.reserve(polygon.size() + 2);
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const PixelPoint& a = polygon[i];
        const PixelPoint& b = polygon[(i + 1) % polygon.size()];
        if (side.keeps(a))
            out.push_back(a);
        if (side.keeps(a) != side.keeps(b))
            out.push_back(side.cut(a, b));
    }
    return out;
}

} // namespace

ClippingCanvas::ClippingCanvas(platform::Canvas& target, double left, double top, double right,
                               double bottom)
    : target_(target), left_(left), top_(top), right_(right), bottom_(bottom) {}

void ClippingCanvas::setFont(const platform::Font& font) {
    fontSize_ = font.size;
    target_.setFont(font);
}

bool ClippingCanvas::inside(double x0, double y0, double x1, double y1) const {
    return std::min(x0, x1) >= left_ && std::max(x0, x1) <= right_ && std::min(y0, y1) >= top_ &&
           std::max(y0, y1) <= bottom_;
}

bool ClippingCanvas::clipSegment(PixelPoint& a, PixelPoint& b) const {
    // Liang-Barsky: the parameter range of a + t (b - a) inside all four sides.
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - left_, right_ - a.x, a.y - top_, bottom_ - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return false;
    }
    const PixelPoint start = a;
    if (t1 < 1.0)
        b = {start.x + t1 * dx, start.y + t1 * dy};
    if (t0 > 0.0)
        a = {start.x + t0 * dx, start.y + t0 * dy};
    // Cut ends lie on a side: exactly, not a rounding error beyond it.
    for (PixelPoint* p : {&a, &b}) {
        p->x = std::clamp(p->x, left_, right_);
        p->y = std::clamp(p->y, top_, bottom_);
    }
    return true;
}

void ClippingCanvas::line(PixelPoint from, PixelPoint to) {
    if (clipSegment(from, to))
        target_.line(from, to);
}

void ClippingCanvas::polyline(const std::vector<PixelPoint>& points) {
    // Runs of segments that stay inside go on as one polyline each.
    std::vector<PixelPoint> run;
    const auto flush = [&] {
        if (run.size() >= 2)
            target_.polyline(run);
        run.clear();
    };
    for (std::size_t i = 1; i < points.size(); ++i) {
        PixelPoint a = points[i - 1], b = points[i];
        if (!clipSegment(a, b)) {
            flush();
            continue;
        }
        const bool continues = !run.empty() && run.back().x == a.x && run.back().y == a.y;
        if (!continues) {
            flush();
            run.push_back(a);
        }
        run.push_back(b);
    }
    flush();
}

void ClippingCanvas::fillPolygon(const std::vector<PixelPoint>& points) {
    if (points.size() < 3)
        return;
    std::vector<PixelPoint> clipped = points;
    for (const Side& side : {Side{true, left_, -1}, Side{true, right_, 1}, Side{false, top_, -1},
                             Side{false, bottom_, 1}}) {
        clipped = clipPolygon(clipped, side);
        if (clipped.size() < 3)
            return;
    }
    target_.fillPolygon(clipped);
}

void ClippingCanvas::rectangle(PixelPoint a, PixelPoint b, bool fill, bool outline) {
    if (inside(a.x, a.y, b.x, b.y))
        target_.rectangle(a, b, fill, outline);
}

void ClippingCanvas::ellipse(PixelPoint centre, double rx, double ry, bool fill, bool outline) {
    if (inside(centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry))
        target_.ellipse(centre, rx, ry, fill, outline);
}

void ClippingCanvas::arc(PixelPoint centre, double rx, double ry, double startDegrees,
                         double sweepDegrees) {
    if (inside(centre.x - rx, centre.y - ry, centre.x + rx, centre.y + ry))
        target_.arc(centre, rx, ry, startDegrees, sweepDegrees);
}

void ClippingCanvas::text(PixelPoint topLeft, const std::string& utf8) {
    if (inside(topLeft.x, topLeft.y, topLeft.x + target_.textWidth(utf8), topLeft.y + fontSize_))
        target_.text(topLeft, utf8);
}

} // namespace shellfem::viewer
