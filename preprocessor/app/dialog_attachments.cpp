#include "preprocessor/app/dialog_attachments.h"

#include "preprocessor/app/dialogs/apply_forces_dialog.h"
#include "preprocessor/app/dialogs/apply_restraints_dialog.h"
#include "preprocessor/app/dialogs/copy_geopt_dialog.h"
#include "preprocessor/app/dialogs/create_geopt_dialog.h"
#include "preprocessor/app/dialogs/create_polygon_dialog.h"
#include "preprocessor/app/dialogs/hide_polygons_dialog.h"
#include "preprocessor/app/dialogs/materials_thicknesses_dialog.h"
#include "preprocessor/app/dialogs/meshing_quad_dialog.h"
#include "preprocessor/app/dialogs/plot_controls_dialog.h"
#include "preprocessor/app/dialogs/polygon_loads_dialog.h"

namespace shellfem::preprocessor::app {

// Each dialog is attached to its command here, and only here: one line per kind.
std::unique_ptr<ModelessDialog> makeDialog(DialogKind kind, EditingContext& context) {
    switch (kind) {
    case DialogKind::CreateGeoPt:
        return std::make_unique<CreateGeoPtDialog>(context);

    case DialogKind::CreatePolygon:
        return std::make_unique<CreatePolygonDialog>(context);

    case DialogKind::CopyGeoPt:
        return std::make_unique<CopyGeoPtDialog>(context);

    case DialogKind::MaterialsThicknesses:
        return std::make_unique<MaterialsThicknessesDialog>(context);

    case DialogKind::MeshingQuad:
        return std::make_unique<MeshingQuadDialog>(context);

    case DialogKind::ApplyForces:
        return std::make_unique<ApplyForcesDialog>(context);

    case DialogKind::ApplyRestraints:
        return std::make_unique<ApplyRestraintsDialog>(context);

    case DialogKind::PolygonLoads:
        return std::make_unique<PolygonLoadsDialog>(context);

    case DialogKind::PlotControls:
        return std::make_unique<PlotControlsDialog>(context);

    case DialogKind::HidePolygons:
        return std::make_unique<HidePolygonsDialog>(context);
    }
    return nullptr;
}

} // namespace shellfem::preprocessor::app
