#include "viewer/contour/clipping_canvas.h"

#include "platform/fake/recording_canvas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace shellfem::viewer {
namespace {

using platform::PixelPoint;
using platform::RecordingCanvas;
using Kind = RecordingCanvas::Kind;

double area(const std::vector<PixelPoint>& polygon) {
    double twice = 0.0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const PixelPoint& a = polygon[i];
        const PixelPoint& b = polygon[(i + 1) % polygon.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::fabs(0.5 * twice);
}

TEST(ClippingCanvas, PolygonsAreCutToTheRectangle) {
    RecordingCanvas target;
    ClippingCanvas clip(target, 0, 0, 100, 50);
    clip.fillPolygon({{50, 10}, {150, 10}, {150, 40}, {50, 40}}); // half outside on the right
    clip.fillPolygon({{200, 10}, {300, 10}, {250, 40}});          // wholly outside
    clip.fillPolygon({{-50, 25}, {50, -25}, {150, 25}});          // over three sides
    const auto fills = target.of(Kind::FillPolygon);
    ASSERT_EQ(fills.size(), 2u);
    EXPECT_DOUBLE_EQ(area(fills[0]->points), 50.0 * 30.0);
    for (const RecordingCanvas::Call* fill : fills)
        for (const PixelPoint& p : fill->points) {
            EXPECT_GE(p.x, 0);
            EXPECT_LE(p.x, 100);
            EXPECT_GE(p.y, 0);
            EXPECT_LE(p.y, 50);
        }
    // Between y = 0 and its base at y = 25 the triangle is wider than the rectangle: the
    // part inside is that strip of the rectangle.
    EXPECT_NEAR(area(fills[1]->points), 100.0 * 25.0, 1e-9);
}

TEST(ClippingCanvas, LinesKeepTheirInsidePartsAsRuns) {
    RecordingCanvas target;
    ClippingCanvas clip(target, 0, 0, 100, 100);
    // In, out over the right side, back in: two runs.
    clip.polyline({{10, 10}, {50, 10}, {150, 50}, {50, 90}, {10, 90}});
    const auto runs = target.of(Kind::Polyline);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0]->points.size(), 3u);
    EXPECT_DOUBLE_EQ(runs[0]->points[2].x, 100);
    EXPECT_DOUBLE_EQ(runs[1]->points[0].x, 100);
    EXPECT_EQ(runs[1]->points.back().x, 10);
    clip.line({-10, 50}, {-5, 60}); // outside: nothing
    clip.line({-10, 50}, {50, 50});
    const auto lines = target.of(Kind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_DOUBLE_EQ(lines[0]->points[0].x, 0);
}

TEST(ClippingCanvas, TextAndShapesAreDrawnOnlyWhenWhollyInside) {
    RecordingCanvas target;
    ClippingCanvas clip(target, 0, 0, 100, 100);
    clip.setFont({"", 10});
    clip.text({10, 10}, "12"); // 12 pixels wide by the recording canvas's measure
    clip.text({95, 10}, "12"); // would reach past the right side
    clip.text({10, 95}, "12"); // past the bottom
    clip.ellipse({50, 50}, 5, 5, true, false);
    clip.ellipse({98, 50}, 5, 5, true, false);
    clip.rectangle({90, 90}, {120, 95}, true, false); // a number's patch over the side
    clip.rectangle({90, 90}, {95, 95}, true, true);
    EXPECT_EQ(target.of(Kind::Text).size(), 1u);
    EXPECT_EQ(target.of(Kind::Ellipse).size(), 1u);
    const auto rects = target.of(Kind::Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0]->points[1].x, 95);
}

} // namespace
} // namespace shellfem::viewer
