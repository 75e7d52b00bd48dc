#include "view3d/view_controller.h"

#include <cmath>

namespace shellfem::view3d {

namespace {
int toInt(double v) {
    return static_cast<int>(std::lround(v));
}
} // namespace

double degreesToRadians(double degrees) {
    return degrees * std::acos(-1.0) / 180.0;
}

ViewController::ViewController(double alphaDegrees, double betaDegrees)
    : alphaDegrees_(alphaDegrees), betaDegrees_(betaDegrees), step_(std::acos(-1.0) / 36.0) {}

void ViewController::setStoredAngles(double alphaDegrees, double betaDegrees) {
    alphaDegrees_ = alphaDegrees;
    betaDegrees_ = betaDegrees;
}

void ViewController::applyStoredAngles(bool fit) {
    view_.setAngles(degreesToRadians(alphaDegrees_), degreesToRadians(betaDegrees_));
    if (fit)
        view_.fit();
}

void ViewController::setMode(int mode) {
    mouse_.mode = mode;
    mouse_.clicks = 0;
}

ViewResponse ViewController::resize(int width, int height) {
    view_.setWindowSize(width, height);
    view_.fit();
    return ViewResponse::Redraw;
}

ViewResponse ViewController::character(int ch) {
    switch (ch) {
    case 'A':
    case 'a':
        view_.fit();
        return ViewResponse::Redraw;
    // A new mode drops a half-made rectangle: repaint so that its band goes too.
    case 'P':
    case 'p':
        setMode(kModePan);
        return ViewResponse::Redraw;
    case 'Z':
    case 'z':
        setMode(kModeZoomWindow);
        return ViewResponse::Redraw;
    case 'O':
    case 'o':
        applyStoredAngles(true);
        return ViewResponse::Redraw;
    default:
        return ViewResponse::Ignored;
    }
}

ViewResponse ViewController::key(platform::Key key) {
    bool ok = true;
    switch (key) {
    case platform::Key::Left:
        ok = view_.rotate(RotationAxis::ScreenVertical, -step_);
        break;
    case platform::Key::Right:
        ok = view_.rotate(RotationAxis::ScreenVertical, step_);
        break;
    case platform::Key::Up:
        ok = view_.rotate(RotationAxis::ScreenHorizontal, -step_);
        break;
    case platform::Key::Down:
        ok = view_.rotate(RotationAxis::ScreenHorizontal, step_);
        break;
    default:
        return ViewResponse::Ignored; // Enter, Delete and Backspace are the program's
    }
    return ok ? ViewResponse::Redraw : ViewResponse::Singular;
}

ViewResponse ViewController::wheel(platform::PixelPoint at, int delta) {
    if (mouse_.mode > kModeZoomWindow || delta == 0)
        return ViewResponse::Ignored;
    view_.wheelZoom(at, delta);
    return ViewResponse::Redraw;
}

ViewResponse ViewController::mouseMove(platform::PixelPoint at) {
    mouse_.current = at;
    if (mouse_.leftHeld &&
        std::hypot(at.x - mouse_.pressedAt.x, at.y - mouse_.pressedAt.y) > kDragPixels)
        mouse_.dragged = true;
    if (mouse_.clicks == 1 && mouse_.mode == kModePan) {
        view_.pan(toInt(at.x) - toInt(mouse_.anchor.x), toInt(at.y) - toInt(mouse_.anchor.y));
        mouse_.anchor = at;
        return ViewResponse::Redraw;
    }
    const bool bandFollows =
        mouse_.clicks == 1 && (mouse_.mode == kModeZoomWindow || rectanglePick());
    const bool hoverChanged = picking() && pickHandler_->hover(mouse_.mode, at);
    return bandFollows || hoverChanged ? ViewResponse::Redraw : ViewResponse::Handled;
}

ViewResponse ViewController::buttonDown(platform::MouseButton button, platform::PixelPoint at,
                                        platform::Modifiers modifiers) {
    mouse_.current = at;
    if (button == platform::MouseButton::Right) {
        if (mouse_.clicks == 0)
            return ViewResponse::Ignored;
        resetClicks();
        return ViewResponse::Redraw;
    }
    mouse_.leftHeld = true;
    mouse_.dragged = false;
    mouse_.pressedAt = at;
    return leftClick(at, modifiers);
}

ViewResponse ViewController::buttonUp(platform::MouseButton button, platform::PixelPoint at,
                                      platform::Modifiers modifiers) {
    mouse_.current = at;
    if (button != platform::MouseButton::Left || !mouse_.leftHeld)
        return ViewResponse::Handled;
    const bool dragged = mouse_.dragged;
    mouse_.leftHeld = false;
    mouse_.dragged = false;
    const bool twoClickGesture =
        mouse_.mode == kModePan || mouse_.mode == kModeZoomWindow || rectanglePick();
    if (dragged && twoClickGesture && mouse_.clicks == 1)
        return leftClick(at, modifiers);
    return ViewResponse::Handled;
}

ViewResponse ViewController::leftClick(platform::PixelPoint at, platform::Modifiers modifiers) {
    ++mouse_.clicks;
    if (mouse_.mode == kModePan) {
        if (mouse_.clicks == 1) {
            mouse_.anchor = at;
        } else {
            view_.pan(toInt(at.x) - toInt(mouse_.anchor.x), toInt(at.y) - toInt(mouse_.anchor.y));
            mouse_.clicks = 0;
        }
        return ViewResponse::Redraw;
    }
    if (mouse_.mode == kModeZoomWindow) {
        if (mouse_.clicks == 1) {
            mouse_.corner1 = at;
        } else {
            view_.zoomToRectangle(mouse_.corner1, at);
            mouse_.clicks = 0;
        }
        return ViewResponse::Redraw;
    }
    if (picking()) {
        const int mode = mouse_.mode;
        switch (pickHandler_->gesture(mode)) {
        case PickGesture::Rectangle:
            if (mouse_.clicks == 1) {
                mouse_.corner1 = at;
                return ViewResponse::Redraw;
            }
            mouse_.clicks = 0;
            pickHandler_->pickRectangle(mode, mouse_.corner1, at, modifiers);
            break;
        case PickGesture::Point:
            mouse_.clicks = 0;
            pickHandler_->pickPoint(mode, at, modifiers);
            break;
        case PickGesture::Polyline:
            pickHandler_->pickPoint(mode, at, modifiers);
            break;
        }
        return ViewResponse::Redraw;
    }
    mouse_.clicks = 0;
    return ViewResponse::Handled;
}

std::optional<RubberBand> ViewController::rubberBand() const {
    if (mouse_.clicks != 1)
        return std::nullopt;
    if (mouse_.mode == kModeZoomWindow)
        return RubberBand{mouse_.corner1, mouse_.current, {{255, 255, 255}, 1}};
    if (rectanglePick()) {
        platform::Pen pen{{255, 0, 255}, 1};
        pen.style = mouse_.current.x < mouse_.corner1.x ? platform::LineStyle::Dash
                                                        : platform::LineStyle::Solid;
        return RubberBand{mouse_.corner1, mouse_.current, pen};
    }
    return std::nullopt;
}

void ViewController::drawRubberBand(platform::Canvas& canvas) const {
    const std::optional<RubberBand> band = rubberBand();
    if (!band)
        return;
    canvas.setPen(band->pen);
    canvas.rectangle(band->corner1, band->corner2, false, true);
}

} // namespace shellfem::view3d
