#pragma once

#include "platform/canvas.h"
#include "viewer/contour/color_scale.h"

#include <string>
#include <vector>

namespace shellfem::viewer {

// Width in pixels the legend takes at the right edge of the window; a view fit keeps the
// model clear of it.
constexpr int kLegendWidthPixels = 170;

// What the legend tells besides its colour boxes.
struct LegendText {
    std::vector<std::string> title; // lines above the boxes
    double dataMin = 0.0;           // the shown values' range, "Min = " and "Max = "
    double dataMax = 0.0;
    std::vector<std::string> notes; // lines below those
};

// Draws the legend on its own opaque panel at the right edge, over whatever lies there:
// the title, one colour box per band with the limits beside the edges between them
// (highest band on top), the data's minimum and maximum, and the notes. Text is black on a
// light background and white on a dark one.
void drawContourLegend(platform::Canvas& canvas, const ColorScale& scale, const LegendText& text,
                       platform::Color background);

} // namespace shellfem::viewer
