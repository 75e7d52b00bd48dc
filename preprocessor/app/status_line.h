#pragma once

#include "preprocessor/model/model.h"
#include "preprocessor/render/model_highlight.h"

#include <optional>
#include <string>

namespace shellfem::preprocessor::app {

// "point 4 (1.00000, 2.00000, 0.00000)", "polygon 2 (4 corners, material 0,
// thickness 1, meshed)", "node 17 (...)".
std::string describeItem(const Model& model, const render::ItemRef& item);

// The status line: what the mouse does in `mode` (how to pick and unpick),
// what is picked, and what a click would pick now.
std::string statusText(const Model& model, int mode, bool rectanglePicking,
                       const std::optional<render::ItemRef>& hovered);

} // namespace shellfem::preprocessor::app
