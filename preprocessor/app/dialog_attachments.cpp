#include "preprocessor/app/dialog_attachments.h"

#include "preprocessor/app/dialogs/create_geopt_dialog.h"
#include "preprocessor/app/dialogs/meshing_quad_dialog.h"

namespace shellfem::preprocessor::app {

// Each dialog is attached to its command here, and only here: one line per kind.
std::unique_ptr<ModelessDialog> makeDialog(DialogKind kind, EditingContext& context) {
    switch (kind) {
    case DialogKind::CreateGeoPt:
        return std::make_unique<CreateGeoPtDialog>(context);

    case DialogKind::CreatePolygon:
        return nullptr;

    case DialogKind::CopyGeoPt:
        return nullptr;

    case DialogKind::MaterialsThicknesses:
        return nullptr;

    case DialogKind::MeshingQuad:
        return std::make_unique<MeshingQuadDialog>(context);

    case DialogKind::ApplyForces:
        return nullptr;

    case DialogKind::ApplyRestraints:
        return nullptr;

    case DialogKind::PolygonLoads:
        return nullptr;

    case DialogKind::PlotControls:
        return nullptr;

    case DialogKind::HidePolygons:
        return nullptr;
    }
    return nullptr;
}

} // namespace shellfem::preprocessor::app
