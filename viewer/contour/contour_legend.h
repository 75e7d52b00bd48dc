#pragma once

#include "platform/canvas.h"
#include "viewer/contour/color_scale.h"

#include <string>

namespace shellfem::viewer {

// Width in pixels the legend takes at the right edge of the window; a view fit can
// keep the model clear of it.
constexpr int kLegendWidthPixels = 170;

// Draws the legend at the right edge: the title, one colour box per band with its lower
// and upper limits (highest band on top), and the minimum and maximum values. Text is
// black on a light background and white on a dark one.
void drawContourLegend(platform::Canvas& canvas, const ColorScale& scale, const std::string& title,
                       platform::Color background);

} // namespace shellfem::viewer
