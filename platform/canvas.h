#pragma once

#include <string>
#include <vector>

namespace shellfem::platform {

struct Color {
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Color& o) const { return !(*this == o); }
};

// Window pixels: x to the right, y downwards, origin at the top-left corner.
struct PixelPoint {
    double x = 0.0;
    double y = 0.0;
};

enum class LineStyle { Solid, Dash, Dot };

struct Pen {
    Color color;
    int width = 1;
    LineStyle style = LineStyle::Solid;
};

struct Font {
    std::string face; // empty: the program's default face (CJK-capable)
    int size = 12;    // pixels
};

// Everything the programs draw goes through this interface: the screen
// implementation draws with the GUI toolkit, tests record the calls.
// Lines and outlines use the current pen, fills the current brush.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    virtual void setPen(const Pen& pen) = 0;
    virtual void setBrush(Color color) = 0;
    virtual void setFont(const Font& font) = 0;
    virtual void setTextColor(Color color) = 0;

    virtual void line(PixelPoint from, PixelPoint to) = 0;
    virtual void polyline(const std::vector<PixelPoint>& points) = 0;
    // Fills the polygon with the brush; no outline.
    virtual void fillPolygon(const std::vector<PixelPoint>& points) = 0;
    // Axis-aligned rectangle between two corners: filled with the brush and/or outlined with the
    // pen.
    virtual void rectangle(PixelPoint corner1, PixelPoint corner2, bool fill, bool outline) = 0;
    // Ellipse inside the box centred at `centre` with radii rx, ry.
    virtual void ellipse(PixelPoint centre, double rx, double ry, bool fill, bool outline) = 0;
    // Arc of that ellipse from `startDegrees` through `sweepDegrees`, counter-clockwise on screen.
    virtual void arc(PixelPoint centre, double rx, double ry, double startDegrees,
                     double sweepDegrees) = 0;
    // UTF-8 text whose top-left corner is `topLeft`.
    virtual void text(PixelPoint topLeft, const std::string& utf8) = 0;
    virtual double textWidth(const std::string& utf8) = 0;
};

} // namespace shellfem::platform
