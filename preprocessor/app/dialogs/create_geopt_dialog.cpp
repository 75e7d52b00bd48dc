#include "preprocessor/app/dialogs/create_geopt_dialog.h"

#include "preprocessor/app/dialogs/point_rows.h"
#include "preprocessor/app/field_reader.h"
#include "preprocessor/files/kvx_file.h"

namespace shellfem::preprocessor::app {

platform::DialogTemplate CreateGeoPtDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Create GeoPt";
    t.width = 340;
    t.height = 400;
    t.groupBox("New geometric point", 8, 8, 324, 96);
    t.edit(kX, "X", 18, 28, 200, 22, 24);
    t.edit(kY, "Y", 18, 52, 200, 22, 24);
    t.edit(kZ, "Z", 18, 76, 200, 22, 24);
    t.button(kAdd, "Add", 232, 48, 90, 28);
    t.listView(kList, {"ID", "X", "Y", "Z"}, 8, 112, 324, 240);
    t.button(kClose, "Close", 242, 362, 90, 28);
    return t;
}

void CreateGeoPtDialog::onOpened(platform::Dialog& dialog) {
    for (int id : {kX, kY, kZ})
        dialog.setText(id, "0");
}

void CreateGeoPtDialog::show(platform::Dialog& dialog) {
    const ModelData& data = context().model().data();
    std::vector<std::vector<std::string>> rows;
    rows.reserve(data.points.size());
    for (std::size_t i = 0; i < data.points.size(); ++i)
        rows.push_back(pointRow(data, static_cast<int>(i)));
    dialog.setRows(kList, rows);
}

void CreateGeoPtDialog::onButton(platform::Dialog& dialog, int controlId) {
    if (controlId == kAdd)
        add(dialog);
    else if (controlId == kList)
        copyRowToFields(dialog);
}

void CreateGeoPtDialog::add(platform::Dialog& dialog) {
    FieldReader fields(dialog, context());
    const std::optional<double> x = fields.number(kX, "X");
    const std::optional<double> y = fields.number(kY, "Y");
    const std::optional<double> z = fields.number(kZ, "Z");
    if (!fields.ok())
        return;
    const EditResult added = context().edit([&](Model& m) { return m.addPoint({*x, *y, *z}); });
    if (added.ok() && !added.created.empty())
        dialog.setSelection(kList, added.created.back());
}

void CreateGeoPtDialog::copyRowToFields(platform::Dialog& dialog) {
    const int row = dialog.selection(kList);
    const std::vector<GeometricPoint>& points = context().model().data().points;
    if (row < 0 || static_cast<std::size_t>(row) >= points.size())
        return;
    const Vec3& p = points[static_cast<std::size_t>(row)].position;
    dialog.setText(kX, fixedFiveDecimals(p.x));
    dialog.setText(kY, fixedFiveDecimals(p.y));
    dialog.setText(kZ, fixedFiveDecimals(p.z));
}

} // namespace shellfem::preprocessor::app
