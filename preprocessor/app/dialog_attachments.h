#pragma once

#include "preprocessor/app/editing_context.h"
#include "preprocessor/app/modeless_dialog.h"

#include <memory>

namespace shellfem::preprocessor::app {

// The pre-processor's own modeless dialogs (the View Kit is view3d's).
enum class DialogKind {
    CreateGeoPt,
    CreatePolygon,
    CopyGeoPt,
    MaterialsThicknesses,
    MeshingQuad,
    ApplyForces,
    ApplyRestraints,
    PolygonLoads,
    PlotControls,
    HidePolygons,
};
inline constexpr int kDialogKinds = 10;

// The dialog each menu command opens.
std::unique_ptr<ModelessDialog> makeDialog(DialogKind kind, EditingContext& context);

} // namespace shellfem::preprocessor::app
