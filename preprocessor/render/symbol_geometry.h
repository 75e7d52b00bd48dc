#pragma once

#include "platform/canvas.h"
#include "preprocessor/render/screen_projection.h"

#include <optional>
#include <vector>

namespace shellfem::preprocessor::render {

// Window-pixel geometry of the symbols the model is drawn with; sizes are in
// pixels, so the symbols keep their size at any zoom.

struct LengthRange {
    double shortest = 0.0; // so that small values stay visible
    double longest = 0.0;  // of the largest value shown
};

// Length of the arrow of `magnitude` when `largest` is the largest shown:
// in proportion, but never shorter than `range.shortest`.
double arrowLength(double magnitude, double largest, LengthRange range);

// An arrow seen this nearly along the line of sight is drawn as an end-on mark.
inline constexpr double kEndOnLimit = 0.15;
bool seenEndOn(const ScreenVector& direction);

struct Arrow {
    platform::PixelPoint tail;
    platform::PixelPoint tip;
    int heads = 1; // 1: a force or a pressure; 2: a moment (double-headed)
};

// The arrow of `length` pixels whose tip lies on `tip`, along the screen image of
// a unit model direction, so shortened as the view foreshortens it.
Arrow arrowOnto(platform::PixelPoint tip, const ScreenVector& direction, double length, int heads);

// How a vector acting at a point is shown: as an arrow onto the point or, seen end
// on, as a mark on it (a dot when it points at the viewer, a cross when away).
struct VectorSymbol {
    Arrow arrow; // tip and tail on the point when seen end on
    bool endOn = false;
    bool towardsViewer = false;
};

// `direction` is the screen image of the unit model vector along which the
// vector acts; `length` is its arrow length in pixels before foreshortening.
VectorSymbol vectorSymbol(platform::PixelPoint at, const ScreenVector& direction, double length,
                          int heads);

struct HeadSize {
    double length = 0.0;
    double halfWidth = 0.0;
};

// The filled triangles of the arrow's heads, each as its point and two barbs; the
// second head of a moment sits one head length behind the first.
std::vector<std::vector<platform::PixelPoint>> arrowHeads(const Arrow& arrow, HeadSize size);

// The unit screen direction in which the restraint symbols of axis 0, 1 or 2
// (X, Y, Z) point: the axis' screen image, or a fixed direction of its own for
// an axis seen nearly end on.
platform::PixelPoint restraintDirection(const ScreenVector& axis, int axisIndex);

// The restraint symbol of one axis at a node: a filled wedge whose apex is on the
// node and which points along the axis when the translation is held, and a ring
// behind it on the same line, joined to the node by a stem, when the rotation is.
struct RestraintGlyph {
    std::vector<platform::PixelPoint> wedge; // empty when the translation is free
    std::optional<platform::PixelPoint> ringCentre;
    double ringRadius = 0.0;
    platform::PixelPoint stemEnd; // the stem runs from the node to here
};

RestraintGlyph restraintGlyph(platform::PixelPoint node, platform::PixelPoint direction,
                              bool translationHeld, bool rotationHeld);

} // namespace shellfem::preprocessor::render
