#include "platform/picture/scaled_canvas.h"

#include <algorithm>
#include <cmath>

namespace shellfem::platform {

ScaledCanvas::ScaledCanvas(Canvas& device, int width, int height, double scale)
    : device_(device), width_(width), height_(height), scale_(scale > 0.0 ? scale : 1.0) {}

std::vector<PixelPoint> ScaledCanvas::toDevice(const std::vector<PixelPoint>& points) const {
    std::vector<PixelPoint> scaled;
    scaled.reserve(points.size());
    for (const PixelPoint& p : points)
        scaled.push_back(toDevice(p));
    return scaled;
}

void ScaledCanvas::setPen(const Pen& pen) {
    Pen scaled = pen;
    scaled.width = std::max(1, static_cast<int>(std::lround(std::max(1, pen.width) * scale_)));
    device_.setPen(scaled);
}

void ScaledCanvas::setFont(const Font& font) {
    Font scaled = font;
    scaled.size = std::max(1, static_cast<int>(std::lround(font.size * scale_)));
    device_.setFont(scaled);
}

void ScaledCanvas::line(PixelPoint from, PixelPoint to) {
    device_.line(toDevice(from), toDevice(to));
}

void ScaledCanvas::polyline(const std::vector<PixelPoint>& points) {
    device_.polyline(toDevice(points));
}

void ScaledCanvas::fillPolygon(const std::vector<PixelPoint>& points) {
    device_.fillPolygon(toDevice(points));
}

void ScaledCanvas::rectangle(PixelPoint corner1, PixelPoint corner2, bool fill, bool outline) {
    device_.rectangle(toDevice(corner1), toDevice(corner2), fill, outline);
}

void ScaledCanvas::ellipse(PixelPoint centre, double rx, double ry, bool fill, bool outline) {
    device_.ellipse(toDevice(centre), rx * scale_, ry * scale_, fill, outline);
}

void ScaledCanvas::arc(PixelPoint centre, double rx, double ry, double startDegrees,
                       double sweepDegrees) {
    device_.arc(toDevice(centre), rx * scale_, ry * scale_, startDegrees, sweepDegrees);
}

void ScaledCanvas::text(PixelPoint topLeft, const std::string& utf8) {
    device_.text(toDevice(topLeft), utf8);
}

double ScaledCanvas::textWidth(const std::string& utf8) {
    return device_.textWidth(utf8) / scale_;
}

} // namespace shellfem::platform
