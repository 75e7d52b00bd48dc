#pragma once

#include "formats/stress_file.h"
#include "platform/canvas.h"
#include "view3d/view.h"
#include "viewer/contour/color_scale.h"
#include "viewer/contour/display_states.h"
#include "viewer/contour/selection.h"

#include <optional>
#include <string>
#include <vector>

namespace shellfem::viewer {

// What the plot draws besides the model and its display states.
struct PlotOptions {
    const ContourModel* unaveraged = nullptr; // element stresses, for the averaging jump
    LegendSettings legend;
    // The undeformed mesh on screen (one point per node) when the model is drawn deformed:
    // its edges grey behind the model, its boundary dashed over it.
    const std::vector<view3d::ScreenPoint>* undeformed = nullptr;
    std::vector<std::string> legendNotes;       // lines at the foot of the legend
    std::optional<platform::PixelPoint> marker; // a pinned probe
};

// Draws the mesh (contour iso-bands or plain fill, outlines, nodes, numbers by the display
// states, elements back to front by mean depth) and, with the contour on, the legend on its
// own panel at the right edge, drawn last; the model is clipped out of that panel. `nodes`
// holds one projected node per model node; `selection` may be empty (nothing selected) or
// sized for the model. `background` is the colour the window was cleared with; text and
// lines are drawn in a colour that contrasts with it, numbers on a patch of it.
void drawContourPlot(platform::Canvas& canvas, const ContourModel& model,
                     const std::vector<view3d::ScreenPoint>& nodes, const DisplayStates& states,
                     const Selection& selection, platform::Color background,
                     const PlotOptions& options = {});

} // namespace shellfem::viewer
