#pragma once

#include "formats/stress_file.h"
#include "platform/canvas.h"
#include "view3d/view.h"
#include "viewer/contour/display_states.h"
#include "viewer/contour/selection.h"

#include <vector>

namespace shellfem::viewer {

// Draws the mesh (contour iso-bands or plain fill, outlines, nodes, numbers by the display
// states, elements back to front by mean depth) and, with the contour on, the legend at the
// right edge. `nodes` holds one projected node per model node; `selection` may be empty
// (nothing selected) or sized for the model. `background` is the colour the window was
// cleared with; text and lines are drawn in a colour that contrasts with it.
void drawContourPlot(platform::Canvas& canvas, const ContourModel& model,
                     const std::vector<view3d::ScreenPoint>& nodes, const DisplayStates& states,
                     const Selection& selection, platform::Color background);

} // namespace shellfem::viewer
