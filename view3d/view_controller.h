#pragma once

#include "platform/canvas.h"
#include "platform/gui.h"
#include "view3d/view.h"

#include <optional>

namespace shellfem::view3d {

// Mouse modes shared by both programs; higher numbers belong to each program's picking.
inline constexpr int kModeNone = 0;
inline constexpr int kModePan = 1;
inline constexpr int kModeZoomWindow = 2;

// How a picking mode takes its picks from the mouse.
enum class PickGesture {
    Point,     // every click picks at once; the counter goes back to 0
    Rectangle, // the first click sets a corner, the second picks the rectangle
    Polyline,  // every click picks at once and the counter keeps counting (a point sequence)
};

// The picking modes (3 and up) are the program's: the controller counts the
// clicks, keeps the rubber band and turns a press-drag-release into the two
// clicks of a rectangle, and hands the picks over.
class PickHandler {
public:
    virtual ~PickHandler() = default;
    virtual PickGesture gesture(int mode) const = 0;
    virtual void pickPoint(int mode, platform::PixelPoint at, platform::Modifiers modifiers) = 0;
    virtual void pickRectangle(int mode, platform::PixelPoint corner1, platform::PixelPoint corner2,
                               platform::Modifiers modifiers) = 0;
    // The mouse moved in a picking mode: true when the window must be repainted
    // (what a click would pick changed, or a rubber line follows the mouse).
    virtual bool hover(int /*mode*/, platform::PixelPoint /*at*/) { return false; }
};

struct MouseState {
    int mode = kModeNone;
    int clicks = 0;
    platform::PixelPoint anchor;  // pan: the last point the view was moved to
    platform::PixelPoint corner1; // zoom window and rectangle picking
    platform::PixelPoint current; // the last mouse position: a rubber band's second corner
    bool leftHeld = false;        // between a left press and its release
    bool dragged = false;         // the held button moved beyond kDragPixels
    platform::PixelPoint pressedAt;
};

// A held button that moves this far (pixels) is a drag: its release is the second click.
inline constexpr double kDragPixels = 4.0;

struct RubberBand {
    platform::PixelPoint corner1;
    platform::PixelPoint corner2;
    platform::Pen pen;
};

// What an event asks of the window.
enum class ViewResponse {
    Ignored,  // not a view event: the program may handle it
    Handled,  // taken, nothing to redraw
    Redraw,   // taken, repaint the window
    Singular, // the view matrix could not be inverted: the program reports it and ends
};

// The view of one window with the state each program keeps beside it: Alpha and
// Beta in degrees (as the View Kit shows them), the arrow step, the mouse mode
// with its click counter and the rubber band. Toolkit-free.
class ViewController {
public:
    ViewController(double alphaDegrees, double betaDegrees);

    View& view() { return view_; }
    const View& view() const { return view_; }

    double alphaDegrees() const { return alphaDegrees_; }
    double betaDegrees() const { return betaDegrees_; }
    void setStoredAngles(double alphaDegrees, double betaDegrees);
    // Sets the view angles from the stored degrees (π = acos(−1)) and, if asked, fits.
    void applyStoredAngles(bool fit);
    double rotationStep() const { return step_; }

    const MouseState& mouse() const { return mouse_; }
    int mode() const { return mouse_.mode; }
    void setMode(int mode); // the click counter goes back to 0
    void resetClicks() { mouse_.clicks = 0; }
    void setPickHandler(PickHandler* handler) { pickHandler_ = handler; }

    // Window events, routed here by the programs' windows.
    ViewResponse resize(int width, int height); // stores the size and fits
    ViewResponse character(int ch);             // A/a fit, P/p pan, Z/z zoom window, O/o angles
    ViewResponse key(platform::Key key); // arrows turn the view by the step; others are ignored
    ViewResponse wheel(platform::PixelPoint at, int delta); // only in modes 0, 1 and 2
    ViewResponse mouseMove(platform::PixelPoint at);
    // Left: the clicks of pan, zoom window and picking. Right: drops a half-made
    // pan, rectangle or point sequence (the program's own right click otherwise).
    ViewResponse buttonDown(platform::MouseButton button, platform::PixelPoint at,
                            platform::Modifiers modifiers = {});
    // The release of a left drag ends the pan or rectangle that its press began.
    ViewResponse buttonUp(platform::MouseButton button, platform::PixelPoint at,
                          platform::Modifiers modifiers = {});

    // The half-made rectangle to draw at the end of a paint, if any.
    std::optional<RubberBand> rubberBand() const;
    void drawRubberBand(platform::Canvas& canvas) const;

private:
    bool picking() const { return mouse_.mode > kModeZoomWindow && pickHandler_ != nullptr; }
    bool rectanglePick() const {
        return picking() && pickHandler_->gesture(mouse_.mode) == PickGesture::Rectangle;
    }
    // A click with the left button: the Part's counter logic of every mode.
    ViewResponse leftClick(platform::PixelPoint at, platform::Modifiers modifiers);

    View view_;
    double alphaDegrees_;
    double betaDegrees_;
    double step_;
    MouseState mouse_;
    PickHandler* pickHandler_ = nullptr;
};

double degreesToRadians(double degrees);

} // namespace shellfem::view3d
