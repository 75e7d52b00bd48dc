#pragma once

#include "platform/canvas.h"

namespace shellfem::viewer {

// Passes the drawing on to `target` cut to the rectangle left..right x top..bottom:
// polygons and lines are clipped exactly; text, rectangles (node squares, the patches
// behind numbers), ellipses and arcs are drawn only when they lie wholly inside (a number
// half over the legend would be unreadable either way).
class ClippingCanvas : public platform::Canvas {
public:
    ClippingCanvas(platform::Canvas& target, double left, double top, double right, double bottom);

    int width() const override { return target_.width(); }
    int height() const override { return target_.height(); }
    void setPen(const platform::Pen& pen) override { target_.setPen(pen); }
    void setBrush(platform::Color color) override { target_.setBrush(color); }
    void setFont(const platform::Font& font) override;
    void setTextColor(platform::Color color) override { target_.setTextColor(color); }
    void line(platform::PixelPoint from, platform::PixelPoint to) override;
    void polyline(const std::vector<platform::PixelPoint>& points) override;
    void fillPolygon(const std::vector<platform::PixelPoint>& points) override;
    void rectangle(platform::PixelPoint corner1, platform::PixelPoint corner2, bool fill,
                   bool outline) override;
    void ellipse(platform::PixelPoint centre, double rx, double ry, bool fill,
                 bool outline) override;
    void arc(platform::PixelPoint centre, double rx, double ry, double startDegrees,
             double sweepDegrees) override;
    void text(platform::PixelPoint topLeft, const std::string& utf8) override;
    double textWidth(const std::string& utf8) override { return target_.textWidth(utf8); }

private:
    bool inside(double x0, double y0, double x1, double y1) const;
    // The part of segment a-b inside the rectangle; false when there is none.
    bool clipSegment(platform::PixelPoint& a, platform::PixelPoint& b) const;

    platform::Canvas& target_;
    double left_, top_, right_, bottom_;
    int fontSize_ = 12;
};

} // namespace shellfem::viewer
