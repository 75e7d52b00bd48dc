#include "preprocessor/app/dialogs/meshing_quad_dialog.h"

#include "preprocessor/app/field_reader.h"

namespace shellfem::preprocessor::app {

platform::DialogTemplate MeshingQuadDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Meshing Quad";
    t.width = 340;
    t.height = 312;
    picking_.addTo(t, 8, 8, 324);
    const int y = 8 + PickingControls::kHeight + 8;
    t.groupBox("Element division", 8, y, 324, 150);
    t.radio(kByDivisions, 1, "Elements along the edges", 18, y + 20, 300, 22);
    t.edit(kDivisions01, "Edges 0-1 and 2-3", 34, y + 44, 230, 22, 150);
    t.edit(kDivisions12, "Edges 1-2 and 3-0", 34, y + 68, 230, 22, 150);
    t.radio(kBySize, 1, "Largest element size", 18, y + 94, 300, 22);
    t.edit(kElementSize, "Element size", 34, y + 118, 230, 22, 150);
    t.button(kMesh, "Mesh", 144, y + 158, 90, 28);
    t.button(kClose, "Close", 242, y + 158, 90, 28);
    return t;
}

void MeshingQuadDialog::onOpened(platform::Dialog& dialog) {
    dialog.setText(kDivisions01, "4");
    dialog.setText(kDivisions12, "4");
    dialog.setText(kElementSize, "1");
}

void MeshingQuadDialog::show(platform::Dialog& dialog) {
    picking_.show(dialog, context());
    dialog.setChecked(bySize_ ? kBySize : kByDivisions, true);
    dialog.setEnabled(kDivisions01, !bySize_);
    dialog.setEnabled(kDivisions12, !bySize_);
    dialog.setEnabled(kElementSize, bySize_);
}

void MeshingQuadDialog::onButton(platform::Dialog& dialog, int controlId) {
    if (picking_.handle(context(), controlId))
        return;
    if (controlId == kByDivisions || controlId == kBySize) {
        bySize_ = controlId == kBySize;
        show(dialog);
    } else if (controlId == kMesh) {
        mesh(dialog);
    }
}

void MeshingQuadDialog::mesh(platform::Dialog& dialog) {
    MeshControl control;
    FieldReader fields(dialog, context());
    if (bySize_) {
        control.mode = MeshControl::Mode::ElementSize;
        const std::optional<double> size = fields.numberAbove(kElementSize, "Element size", 0.0);
        if (!fields.ok())
            return;
        control.elementSize = *size;
    } else {
        const std::optional<int> along01 =
            fields.whole(kDivisions01, "Edges 0-1 and 2-3", 1, kMaxDivisions);
        const std::optional<int> along12 =
            fields.whole(kDivisions12, "Edges 1-2 and 3-0", 1, kMaxDivisions);
        if (!fields.ok())
            return;
        control.divisionsAlong01 = *along01;
        control.divisionsAlong12 = *along12;
    }
    const std::vector<int> polygons = picking_.picked(context());
    context().edit([&](Model& m) -> EditResult {
        const MeshResult meshed = m.meshPolygons(polygons, control);
        EditResult result = meshed;
        if (meshed.ok())
            result.message = meshReport(m, polygons, meshed);
        return result;
    });
}

std::string meshReport(const Model& model, const std::vector<int>& polygons,
                       const MeshResult& result) {
    std::string text = "Polygons meshed: " + listIds(polygons, 20) + ".";
    const ModelData& data = model.data();
    text += "\nThe model now has " + std::to_string(data.elements.size()) + " elements and " +
            std::to_string(data.nodes.size()) + " nodes.";
    text += "\nProfile of the global stiffness matrix: " + std::to_string(result.skylineStored) +
            " skyline entries";
    if (result.skylineStored < result.skylineAsGenerated)
        text += " (" + std::to_string(result.skylineAsGenerated) +
                " with the nodes as generated; they were renumbered)";
    text += ".";
    if (!result.message.empty())
        text += "\n" + result.message;
    return text;
}

} // namespace shellfem::preprocessor::app
