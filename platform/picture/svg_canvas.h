#pragma once

#include "common/outcome.h"
#include "platform/canvas.h"

#include <string>

namespace shellfem::platform {

// Records the drawing as an SVG document: every call becomes one vector element (polygon,
// polyline, line, rect, ellipse, path, text) in user units of the canvas's pixels. The
// document is `scale` times as large as the canvas on the page (its viewBox stays the
// canvas), so that viewers show it at a chosen size without losing detail.
class SvgCanvas : public Canvas {
public:
    SvgCanvas(int width, int height, double scale = 1.0);

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
    // An estimate (the viewer's font is not known here): 0.55 of the size per Latin
    // character, the whole size per wider (CJK) character.
    double textWidth(const std::string& utf8) override;

    // The whole document, closed.
    std::string document() const;
    // Writes the document to `path`; the failure names the file.
    Outcome save(const std::string& path) const;

private:
    // fill="..." (the brush or none) and, for an outline, the pen's stroke.
    std::string paintAttributes(bool fill, bool outline) const;

    int width_;
    int height_;
    double scale_;
    Pen pen_;
    Color brush_;
    Color textColor_;
    Font font_;
    std::string body_;
};

} // namespace shellfem::platform
