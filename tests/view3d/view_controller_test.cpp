#include "platform/fake/recording_canvas.h"
#include "view3d/view_controller.h"

#include <gtest/gtest.h>

#include <cmath>

namespace shellfem::view3d {
namespace {

using platform::Key;
using platform::PixelPoint;

using platform::Modifiers;
using platform::MouseButton;

struct RecordingPicks : PickHandler {
    PickGesture kind = PickGesture::Rectangle;
    std::vector<std::pair<int, PixelPoint>> points;
    std::vector<std::pair<PixelPoint, PixelPoint>> rectangles;
    std::vector<Modifiers> modifiers;
    std::vector<PixelPoint> hovered;
    bool hoverChanges = false;
    PickGesture gesture(int) const override { return kind; }
    void pickPoint(int mode, PixelPoint at, Modifiers m) override {
        points.emplace_back(mode, at);
        modifiers.push_back(m);
    }
    void pickRectangle(int, PixelPoint a, PixelPoint b, Modifiers m) override {
        rectangles.emplace_back(a, b);
        modifiers.push_back(m);
    }
    bool hover(int, PixelPoint at) override {
        hovered.push_back(at);
        return hoverChanges;
    }
};

// A click as the window delivers it: press and release at one place.
ViewResponse click(ViewController& c, PixelPoint at, Modifiers m = {}) {
    const ViewResponse response = c.buttonDown(MouseButton::Left, at, m);
    c.buttonUp(MouseButton::Left, at, m);
    return response;
}

ViewController startedController() {
    ViewController c(225.0, 35.26);
    c.view().setPoints({{0, 0, 0}, {4, 0, 0}, {4, 2, 0}, {0, 2, 0}, {0, 0, 1}, {4, 2, 1}});
    c.resize(800, 600);
    c.applyStoredAngles(true);
    return c;
}

TEST(ViewController, StartUpAnglesAndStep) {
    ViewController c = startedController();
    EXPECT_NEAR(c.view().alpha(), std::acos(-1.0) * 1.25, 1e-15);
    EXPECT_NEAR(c.view().beta(), std::acos(-1.0) * 0.1958888888888889, 1e-15);
    EXPECT_DOUBLE_EQ(c.rotationStep(), std::acos(-1.0) / 36);
    EXPECT_EQ(c.mode(), kModeNone);
}

TEST(ViewController, ArrowRotationsThenOReturnToTheStoredAngles) {
    ViewController c = startedController();
    const Matrix4 start = c.view().matrix();
    const Placement placed = c.view().placement();
    for (Key k : {Key::Left, Key::Up, Key::Up, Key::Right, Key::Right, Key::Right, Key::Down})
        EXPECT_EQ(c.key(k), ViewResponse::Redraw);
    EXPECT_NE(c.view().matrix(), start);
    EXPECT_EQ(c.alphaDegrees(), 225.0); // arrows leave the stored angles alone
    EXPECT_EQ(c.betaDegrees(), 35.26);
    c.view().pan(40, 40);
    EXPECT_EQ(c.character('o'), ViewResponse::Redraw);
    EXPECT_EQ(c.view().matrix(), start);
    EXPECT_EQ(c.view().placement().cx, placed.cx);
    EXPECT_EQ(c.view().placement().cy, placed.cy);
    EXPECT_DOUBLE_EQ(c.view().placement().scale, placed.scale);
    c.key(Key::Left);
    EXPECT_EQ(c.character('O'), ViewResponse::Redraw);
    EXPECT_EQ(c.view().matrix(), start);
}

TEST(ViewController, LeftThenRightRestoresTheOrientation) {
    ViewController c = startedController();
    const Matrix4 m0 = c.view().matrix();
    const std::vector<ScreenPoint> before = c.view().screenPoints();
    c.key(Key::Left);
    c.key(Key::Right);
    c.key(Key::Up);
    c.key(Key::Down);
    // The turn is undone exactly; the pivot (middle of the projected extent) moves a
    // little between the turns, so the picture may shift by a fraction of a pixel.
    const Matrix4& m = c.view().matrix();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(m[i * 4 + j], m0[i * 4 + j], 1e-12);
    const std::vector<ScreenPoint> after = c.view().screenPoints();
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_NEAR(after[i].x, before[i].x, 0.5);
        EXPECT_NEAR(after[i].y, before[i].y, 0.5);
    }
}

TEST(ViewController, SingularMatrixIsReportedToTheProgram) {
    ViewController c = startedController();
    c.view().setMatrix(Matrix4{});
    EXPECT_EQ(c.key(Key::Right), ViewResponse::Singular);
}

TEST(ViewController, KeysAFitsPPansZZooms) {
    ViewController c = startedController();
    const Placement fitted = c.view().placement();
    c.view().pan(100, 50);
    EXPECT_EQ(c.character('A'), ViewResponse::Redraw);
    EXPECT_EQ(c.view().placement().cx, fitted.cx);
    EXPECT_EQ(c.character('p'), ViewResponse::Redraw);
    EXPECT_EQ(c.mode(), kModePan);
    EXPECT_EQ(c.character('Z'), ViewResponse::Redraw);
    EXPECT_EQ(c.mode(), kModeZoomWindow);
    EXPECT_EQ(c.character('q'), ViewResponse::Ignored);
    EXPECT_EQ(c.character(27), ViewResponse::Ignored); // Escape belongs to the program
}

TEST(ViewController, PanModeFollowsTheMouseBetweenTwoClicks) {
    ViewController c = startedController();
    c.character('P');
    const Placement p0 = c.view().placement();
    click(c, {100, 100});
    EXPECT_EQ(c.mouse().clicks, 1);
    EXPECT_EQ(c.mouseMove({110, 95}), ViewResponse::Redraw);
    EXPECT_EQ(c.view().placement().cx, p0.cx + 10);
    EXPECT_EQ(c.view().placement().cy, p0.cy - 5);
    click(c, {130, 100});
    EXPECT_EQ(c.view().placement().cx, p0.cx + 30);
    EXPECT_EQ(c.view().placement().cy, p0.cy);
    EXPECT_EQ(c.mouse().clicks, 0);
    // A move after the second click does not pan.
    EXPECT_EQ(c.mouseMove({300, 300}), ViewResponse::Handled);
    EXPECT_EQ(c.view().placement().cx, p0.cx + 30);
}

TEST(ViewController, ZoomWindowDrawsAWhiteBandThenZooms) {
    ViewController c = startedController();
    c.character('z');
    EXPECT_FALSE(c.rubberBand());
    click(c, {100, 100});
    c.mouseMove({300, 250});
    auto band = c.rubberBand();
    ASSERT_TRUE(band);
    EXPECT_EQ(band->pen.color, (platform::Color{255, 255, 255}));
    EXPECT_EQ(band->pen.width, 1);
    EXPECT_EQ(band->pen.style, platform::LineStyle::Solid);
    platform::RecordingCanvas canvas;
    c.drawRubberBand(canvas);
    ASSERT_EQ(canvas.calls.size(), 1u);
    EXPECT_EQ(canvas.calls[0].kind, platform::RecordingCanvas::Kind::Rectangle);
    EXPECT_TRUE(canvas.calls[0].outline);
    EXPECT_FALSE(canvas.calls[0].fill);

    const PlanePoint a = c.view().pixelToPlane({100, 100});
    const PlanePoint b = c.view().pixelToPlane({300, 250});
    click(c, {300, 250});
    EXPECT_FALSE(c.rubberBand());
    EXPECT_NEAR(c.view().placement().scale,
                std::min(800 / std::fabs(b.u - a.u), 600 / std::fabs(b.v - a.v)), 1e-9);
    const PlanePoint mid = c.view().pixelToPlane({400, 300});
    EXPECT_NEAR(mid.u, (a.u + b.u) / 2, 1e-12);
    EXPECT_NEAR(mid.v, (a.v + b.v) / 2, 1e-12);
}

TEST(ViewController, WheelOnlyInModesZeroToTwo) {
    ViewController c = startedController();
    const double s = c.view().placement().scale;
    EXPECT_EQ(c.wheel({10, 10}, 120), ViewResponse::Redraw);
    EXPECT_DOUBLE_EQ(c.view().placement().scale, s * 1.1);
    c.setMode(3);
    EXPECT_EQ(c.wheel({10, 10}, 120), ViewResponse::Ignored);
    EXPECT_DOUBLE_EQ(c.view().placement().scale, s * 1.1);
    c.setMode(kModePan);
    EXPECT_EQ(c.wheel({10, 10}, -120), ViewResponse::Redraw);
    EXPECT_NEAR(c.view().placement().scale, s, 1e-12);
}

TEST(ViewController, RectanglePickingHandsOverBothCornersWithAMagentaBand) {
    ViewController c = startedController();
    RecordingPicks picks;
    c.setPickHandler(&picks);
    c.setMode(3);
    click(c, {200, 200});
    EXPECT_TRUE(picks.rectangles.empty());
    c.mouseMove({300, 260});
    auto band = c.rubberBand();
    ASSERT_TRUE(band);
    EXPECT_EQ(band->pen.color, (platform::Color{255, 0, 255}));
    EXPECT_EQ(band->pen.style, platform::LineStyle::Solid);
    c.mouseMove({150, 260}); // left of the first corner: dashed
    band = c.rubberBand();
    ASSERT_TRUE(band);
    EXPECT_EQ(band->pen.style, platform::LineStyle::Dash);
    click(c, {150, 260});
    ASSERT_EQ(picks.rectangles.size(), 1u);
    EXPECT_EQ(picks.rectangles[0].first.x, 200);
    EXPECT_EQ(picks.rectangles[0].second.y, 260);
    EXPECT_EQ(c.mouse().clicks, 0);
    EXPECT_FALSE(c.rubberBand());
}

TEST(ViewController, PointPickingRunsAtOnce) {
    ViewController c = startedController();
    RecordingPicks picks;
    picks.kind = PickGesture::Point;
    c.setPickHandler(&picks);
    c.setMode(4);
    EXPECT_EQ(click(c, {50, 60}), ViewResponse::Redraw);
    ASSERT_EQ(picks.points.size(), 1u);
    EXPECT_EQ(picks.points[0].first, 4);
    EXPECT_EQ(c.mouse().clicks, 0);
    c.mouseMove({80, 80});
    EXPECT_FALSE(c.rubberBand());
}

TEST(ViewController, ADraggedRectangleEndsWhereTheButtonIsReleased) {
    ViewController c = startedController();
    RecordingPicks picks;
    c.setPickHandler(&picks);
    c.setMode(3);
    c.buttonDown(MouseButton::Left, {200, 200}, {});
    c.mouseMove({202, 201}); // a tremor is not a drag: the release is no second click
    c.buttonUp(MouseButton::Left, {202, 201}, {});
    EXPECT_TRUE(picks.rectangles.empty());
    EXPECT_EQ(c.mouse().clicks, 1);
    c.resetClicks();

    Modifiers control;
    control.control = true;
    c.buttonDown(MouseButton::Left, {200, 200}, control);
    c.mouseMove({260, 240});
    c.buttonUp(MouseButton::Left, {260, 240}, control);
    ASSERT_EQ(picks.rectangles.size(), 1u);
    EXPECT_EQ(picks.rectangles[0].second.x, 260);
    EXPECT_TRUE(picks.modifiers.back().control);
    EXPECT_EQ(c.mouse().clicks, 0);

    // A drag in pan mode moves the view by the whole drag.
    c.setMode(kModePan);
    const Placement p0 = c.view().placement();
    c.buttonDown(MouseButton::Left, {100, 100}, {});
    c.mouseMove({140, 120});
    c.buttonUp(MouseButton::Left, {150, 130}, {});
    EXPECT_EQ(c.view().placement().cx, p0.cx + 50);
    EXPECT_EQ(c.view().placement().cy, p0.cy + 30);
    EXPECT_EQ(c.mouse().clicks, 0);
}

TEST(ViewController, RightButtonDropsAHalfMadeGestureAndIsOtherwiseTheProgramsOwn) {
    ViewController c = startedController();
    RecordingPicks picks;
    c.setPickHandler(&picks);
    c.setMode(3);
    EXPECT_EQ(c.buttonDown(MouseButton::Right, {5, 5}, {}), ViewResponse::Ignored);
    click(c, {200, 200});
    EXPECT_TRUE(c.rubberBand());
    EXPECT_EQ(c.buttonDown(MouseButton::Right, {5, 5}, {}), ViewResponse::Redraw);
    EXPECT_FALSE(c.rubberBand());
    click(c, {300, 300});
    EXPECT_TRUE(picks.rectangles.empty()); // the next click starts a new rectangle
}

TEST(ViewController, APolylineModePicksEveryClickAndCountsThem) {
    ViewController c = startedController();
    RecordingPicks picks;
    picks.kind = PickGesture::Polyline;
    c.setPickHandler(&picks);
    c.setMode(5);
    click(c, {10, 10});
    click(c, {50, 10});
    click(c, {50, 50});
    EXPECT_EQ(picks.points.size(), 3u);
    EXPECT_EQ(c.mouse().clicks, 3);
    EXPECT_FALSE(c.rubberBand()); // the program draws its own rubber line

    // Hover goes to the handler in picking modes only, and repaints when it says so.
    EXPECT_EQ(c.mouseMove({60, 60}), ViewResponse::Handled);
    picks.hoverChanges = true;
    EXPECT_EQ(c.mouseMove({70, 60}), ViewResponse::Redraw);
    c.setMode(kModeNone);
    c.mouseMove({80, 60});
    EXPECT_EQ(picks.hovered.size(), 2u);
}

TEST(ViewController, ClicksInModeZeroDoNothing) {
    ViewController c = startedController();
    const Placement p = c.view().placement();
    EXPECT_EQ(click(c, {10, 10}), ViewResponse::Handled);
    EXPECT_EQ(click(c, {20, 20}), ViewResponse::Handled);
    EXPECT_EQ(c.mouse().clicks, 0);
    EXPECT_EQ(c.view().placement().cx, p.cx);
}

TEST(ViewController, ResizeStoresTheSizeAndFits) {
    ViewController c = startedController();
    c.view().pan(10, 10);
    EXPECT_EQ(c.resize(1000, 400), ViewResponse::Redraw);
    EXPECT_EQ(c.view().width(), 1000);
    EXPECT_EQ(c.view().placement().cx, 500);
    EXPECT_EQ(c.view().placement().cy, 200);
}

} // namespace
} // namespace shellfem::view3d
