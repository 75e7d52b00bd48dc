#pragma once

#include "preprocessor/app/corvanta_commands.h"
#include "preprocessor/app/modeless_dialog.h"
#include "preprocessor/app/picking_controls.h"

namespace shellfem::preprocessor::app {

// Meshing Quad: the polygons picked in the view (modes 7 and 8) are meshed into
// four-node quadrilaterals, either with a number of elements along the edges or
// with a largest element size. The message of a mesh gives the profile of the
// solver's matrix.
class MeshingQuadDialog : public ModelessDialog {
public:
    enum Control {
        kByDivisions = 1201,
        kBySize = 1202,
        kDivisions01 = 1203,
        kDivisions12 = 1204,
        kElementSize = 1205,
        kMesh = 1206,
    };
    // At most this many elements along an edge.
    static constexpr int kMaxDivisions = 1000;

    using ModelessDialog::ModelessDialog;

protected:
    platform::DialogTemplate form() const override;
    void onOpened(platform::Dialog& dialog) override;
    void show(platform::Dialog& dialog) override;
    void onButton(platform::Dialog& dialog, int controlId) override;

private:
    void mesh(platform::Dialog& dialog);

    PickingControls picking_{kModePickPolygons, "polygon"};
    bool bySize_ = false;
};

// "Polygons meshed: 0, 2. ... Profile of the global stiffness matrix: ..."
std::string meshReport(const Model& model, const std::vector<int>& polygons,
                       const MeshResult& result);

} // namespace shellfem::preprocessor::app
