#include "preprocessor/app/dialogs/copy_geopt_dialog.h"

#include "preprocessor/app/dialogs/point_rows.h"
#include "preprocessor/app/field_reader.h"

namespace shellfem::preprocessor::app {

platform::DialogTemplate CopyGeoPtDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Copy GeoPt(s)";
    t.width = 340;
    t.height = 496;
    picking_.addTo(t, 8, 8, 324);
    int y = 8 + PickingControls::kHeight + 6;
    t.listView(kPickedList, {"ID", "X", "Y", "Z"}, 8, y, 324, 130);
    y += 138;
    t.groupBox("Offset of each copy from the one before", 8, y, 324, 96);
    t.edit(kDx, "dX", 18, y + 20, 200, 22, 40);
    t.edit(kDy, "dY", 18, y + 44, 200, 22, 40);
    t.edit(kDz, "dZ", 18, y + 68, 200, 22, 40);
    y += 104;
    t.edit(kCopies, "Number of copies", 8, y, 210, 22, 130);
    t.button(kCopy, "Copy", 242, y - 3, 90, 28);
    y += 38;
    addViewButtons(t, 8, y);
    t.button(kClose, "Close", 242, y, 90, 28);
    return t;
}

void CopyGeoPtDialog::onOpened(platform::Dialog& dialog) {
    for (int id : {kDx, kDy, kDz})
        dialog.setText(id, "0");
    dialog.setText(kCopies, "1");
}

void CopyGeoPtDialog::show(platform::Dialog& dialog) {
    picking_.show(dialog, context());
    std::vector<std::vector<std::string>> rows;
    for (int id : picking_.picked(context()))
        rows.push_back(pointRow(context().model().data(), id));
    dialog.setRows(kPickedList, rows);
}

void CopyGeoPtDialog::onButton(platform::Dialog& dialog, int controlId) {
    if (picking_.handle(context(), controlId) || context().handleViewButton(controlId))
        return;
    if (controlId == kCopy)
        copy(dialog);
}

void CopyGeoPtDialog::copy(platform::Dialog& dialog) {
    FieldReader fields(dialog, context());
    const std::optional<double> dx = fields.number(kDx, "dX");
    const std::optional<double> dy = fields.number(kDy, "dY");
    const std::optional<double> dz = fields.number(kDz, "dZ");
    const std::optional<int> copies = fields.whole(kCopies, "Number of copies", 1, kMaxCopies);
    if (!fields.ok())
        return;
    const std::vector<int> points = picking_.picked(context());
    if (points.empty()) {
        context().warn("No point is picked: pick the points to copy in the view.");
        return;
    }
    const long long newPoints = static_cast<long long>(points.size()) * *copies;
    if (newPoints > kMaxNewPoints) {
        context().warn(std::to_string(points.size()) + " points copied " + std::to_string(*copies) +
                       " times would make " + std::to_string(newPoints) + " new points; at most " +
                       std::to_string(kMaxNewPoints) + " are made at once.");
        return;
    }
    context().edit([&](Model& m) { return m.copyPoints(points, {*dx, *dy, *dz}, *copies); });
}

} // namespace shellfem::preprocessor::app
