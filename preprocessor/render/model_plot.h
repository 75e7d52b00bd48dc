#pragma once

#include "platform/canvas.h"
#include "preprocessor/model/model.h"
#include "preprocessor/render/model_highlight.h"
#include "preprocessor/render/plot_switches.h"
#include "view3d/view.h"

namespace shellfem::preprocessor::render {

// Draws the model as `view` shows it, every layer whose switch is on, onto a canvas
// already cleared with `background`: polygons (filled in their attribute's colour
// in the colour mode, with a key), elements back to front, geometric points,
// nodes, distributed loads, forces and moments, restraint symbols (with a key),
// the numbers, then the pick of Model::selection(), the outline of a polygon being
// created and the hovered item of `highlight` in the highlight colour. Hidden items
// are not drawn. Each point and node is projected once.
void drawModel(platform::Canvas& canvas, const Model& model, const view3d::View& view,
               const PlotSwitches& switches, const ModelHighlight& highlight,
               platform::Color background);

} // namespace shellfem::preprocessor::render
