#include "preprocessor/app/dialogs/hide_polygons_dialog.h"

namespace shellfem::preprocessor::app {

platform::DialogTemplate HidePolygonsDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Hide Polygon(s)";
    t.width = 340;
    t.height = 428;
    picking_.addTo(t, 8, 8, 324);
    int y = 8 + PickingControls::kHeight + 6;
    t.button(kHide, "Hide the picked polygons", 8, y, 324, 28);
    y += 38;
    t.groupBox("Hidden polygons", 8, y, 324, 220);
    t.label("", 18, y + 18, 304, 22, kHiddenCount);
    t.listView(kHiddenList, {"ID", "Corners", "Elements"}, 18, y + 42, 304, 136);
    t.button(kShow, "Show", 18, y + 184, 90, 28);
    t.button(kShowAll, "Show all", 116, y + 184, 90, 28);
    t.button(kClose, "Close", 242, y + 228, 90, 28);
    return t;
}

void HidePolygonsDialog::show(platform::Dialog& dialog) {
    picking_.show(dialog, context());
    // The chosen row follows its polygon when others are hidden or shown.
    const int row = dialog.selection(kHiddenList);
    const int chosen = row >= 0 && static_cast<std::size_t>(row) < listed_.size()
                           ? listed_[static_cast<std::size_t>(row)]
                           : -1;
    const Model& model = context().model();
    const std::vector<Polygon>& polygons = model.data().polygons;
    listed_.clear();
    std::vector<std::vector<std::string>> rows;
    int chosenRow = -1;
    for (std::size_t p = 0; p < polygons.size(); ++p) {
        if (polygons[p].visible)
            continue;
        if (static_cast<int>(p) == chosen)
            chosenRow = static_cast<int>(listed_.size());
        listed_.push_back(static_cast<int>(p));
        rows.push_back({std::to_string(p), std::to_string(polygons[p].vertices.size()),
                        std::to_string(model.display().elementCountOfPolygon[p])});
    }
    dialog.setRows(kHiddenList, rows);
    dialog.setSelection(kHiddenList, chosenRow);
    dialog.setText(kHiddenCount, std::to_string(listed_.size()) + " of " +
                                     std::to_string(polygons.size()) + " polygons hidden");
    dialog.setEnabled(kShow, !listed_.empty());
    dialog.setEnabled(kShowAll, !listed_.empty());
}

void HidePolygonsDialog::onButton(platform::Dialog& dialog, int controlId) {
    if (picking_.handle(context(), controlId))
        return;
    if (controlId == kHide)
        hidePicked();
    else if (controlId == kShow)
        showChosen(dialog);
    else if (controlId == kShowAll)
        context().edit(
            [](Model& m) {
                m.showAll();
                return EditResult{};
            },
            EditScope::Display);
}

void HidePolygonsDialog::hidePicked() {
    const std::vector<int> polygons = picking_.picked(context());
    if (polygons.empty()) {
        context().warn("No polygon is picked: pick the polygons to hide in the view.");
        return;
    }
    context().edit(
        [&](Model& m) {
            EditResult hidden = m.setPolygonsVisible(polygons, false);
            if (hidden.ok()) // a hidden polygon cannot be unpicked in the view
                unpick(m.selection().polygons, polygons);
            return hidden;
        },
        EditScope::Display);
}

void HidePolygonsDialog::showChosen(const platform::Dialog& dialog) {
    const int row = dialog.selection(kHiddenList);
    if (row < 0 || static_cast<std::size_t>(row) >= listed_.size()) {
        context().warn("Choose the hidden polygon to show in the list, or press Show all.");
        return;
    }
    const int polygon = listed_[static_cast<std::size_t>(row)];
    context().edit([&](Model& m) { return m.setPolygonsVisible({polygon}, true); },
                   EditScope::Display);
}

} // namespace shellfem::preprocessor::app
