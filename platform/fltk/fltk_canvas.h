#pragma once

#include "platform/canvas.h"

namespace shellfem::platform::fltk {

// Draws the Canvas calls with FLTK's drawing functions into the current
// drawing surface (the back buffer of a double-buffered window while it
// paints). Coordinates are relative to (originX, originY), clipped to the area.
// Made outside a paint, it only measures text.
class FltkCanvas : public Canvas {
public:
    FltkCanvas(int originX, int originY, int width, int height);
    ~FltkCanvas() override;

    int width() const override { return width_; }
    int height() const override { return height_; }
    void setPen(const Pen& pen) override { pen_ = pen; }
    void setBrush(Color color) override { brush_ = color; }
    void setFont(const Font& font) override { font_ = font; }
    void setTextColor(Color color) override { textColor_ = color; }
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
    void usePen();
    void useFont();
    int px(double x) const;
    int py(double y) const;

    int ox_, oy_, width_, height_;
    bool drawing_;
    Pen pen_;
    Color brush_;
    Color textColor_;
    Font font_;
};

// The FLTK font number for a Font's face: the CJK-capable default for an empty face.
int fltkFontFor(const Font& font);

} // namespace shellfem::platform::fltk
