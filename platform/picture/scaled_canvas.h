#pragma once

#include "platform/canvas.h"

namespace shellfem::platform {

// Draws a picture laid out for width x height pixels onto a device canvas `scale` times as
// large: positions, radii, pen widths and font sizes grow by `scale`, so that a larger
// picture shows the same drawing in finer detail rather than more of it.
class ScaledCanvas : public Canvas {
public:
    ScaledCanvas(Canvas& device, int width, int height, double scale);

    int width() const override { return width_; }
    int height() const override { return height_; }
    void setPen(const Pen& pen) override;
    void setBrush(Color color) override { device_.setBrush(color); }
    void setFont(const Font& font) override;
    void setTextColor(Color color) override { device_.setTextColor(color); }
    void line(PixelPoint from, PixelPoint to) override;
    void polyline(const std::vector<PixelPoint>& points) override;
    void fillPolygon(const std::vector<PixelPoint>& points) override;
    void rectangle(PixelPoint corner1, PixelPoint corner2, bool fill, bool outline) override;
    void ellipse(PixelPoint centre, double rx, double ry, bool fill, bool outline) override;
    void arc(PixelPoint centre, double rx, double ry, double startDegrees,
             double sweepDegrees) override;
    void text(PixelPoint topLeft, const std::string& utf8) override;
    double textWidth(const std::string& utf8) override;

private:
    PixelPoint toDevice(PixelPoint p) const { return {p.x * scale_, p.y * scale_}; }
    std::vector<PixelPoint> toDevice(const std::vector<PixelPoint>& points) const;

    Canvas& device_;
    int width_;
    int height_;
    double scale_;
};

} // namespace shellfem::platform
