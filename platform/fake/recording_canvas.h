#pragma once

#include "platform/canvas.h"

#include <string>
#include <vector>

namespace shellfem::platform {

// Keeps every drawing call with the pen, brush and font in force at that moment.
class RecordingCanvas : public Canvas {
public:
    enum class Kind { Line, Polyline, FillPolygon, Rectangle, Ellipse, Arc, Text };
    struct Call {
        Kind kind = Kind::Line;
        std::vector<PixelPoint> points;
        Pen pen;
        Color brush;
        Color textColor;
        Font font;
        bool fill = false;
        bool outline = false;
        double rx = 0.0, ry = 0.0, start = 0.0, sweep = 0.0;
        std::string text;
    };

    RecordingCanvas(int width = 800, int height = 600) : width_(width), height_(height) {}

    std::vector<Call> calls;

    int width() const override { return width_; }
    int height() const override { return height_; }
    void setPen(const Pen& pen) override { pen_ = pen; }
    void setBrush(Color color) override { brush_ = color; }
    void setFont(const Font& font) override { font_ = font; }
    void setTextColor(Color color) override { textColor_ = color; }
    void line(PixelPoint from, PixelPoint to) override { record(Kind::Line, {from, to}); }
    void polyline(const std::vector<PixelPoint>& points) override {
        record(Kind::Polyline, points);
    }
    void fillPolygon(const std::vector<PixelPoint>& points) override {
        record(Kind::FillPolygon, points).fill = true;
    }
    void rectangle(PixelPoint a, PixelPoint b, bool fill, bool outline) override {
        Call& c = record(Kind::Rectangle, {a, b});
        c.fill = fill;
        c.outline = outline;
    }
    void ellipse(PixelPoint centre, double rx, double ry, bool fill, bool outline) override {
        Call& c = record(Kind::Ellipse, {centre});
        c.rx = rx;
        c.ry = ry;
        c.fill = fill;
        c.outline = outline;
    }
    void arc(PixelPoint centre, double rx, double ry, double start, double sweep) override {
        Call& c = record(Kind::Arc, {centre});
        c.rx = rx;
        c.ry = ry;
        c.start = start;
        c.sweep = sweep;
    }
    void text(PixelPoint topLeft, const std::string& utf8) override {
        record(Kind::Text, {topLeft}).text = utf8;
    }
    double textWidth(const std::string& utf8) override {
        return 0.6 * font_.size * static_cast<double>(utf8.size());
    }

    std::vector<const Call*> of(Kind kind) const {
        std::vector<const Call*> found;
        for (const Call& c : calls)
            if (c.kind == kind)
                found.push_back(&c);
        return found;
    }

private:
    Call& record(Kind kind, std::vector<PixelPoint> points) {
        Call c;
        c.kind = kind;
        c.points = std::move(points);
        c.pen = pen_;
        c.brush = brush_;
        c.textColor = textColor_;
        c.font = font_;
        calls.push_back(std::move(c));
        return calls.back();
    }

    int width_;
    int height_;
    Pen pen_;
    Color brush_;
    Color textColor_;
    Font font_;
};

} // namespace shellfem::platform
