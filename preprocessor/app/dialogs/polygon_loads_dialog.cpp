#include "preprocessor/app/dialogs/polygon_loads_dialog.h"

#include "formats/number_format.h"
#include "preprocessor/app/dialogs/applied_values.h"
#include "preprocessor/model/model_queries.h"

#include <algorithm>

namespace shellfem::preprocessor::app {

namespace {

constexpr std::array<int, 4> kCornerFields{PolygonLoadsDialog::kQ0, PolygonLoadsDialog::kQ1,
                                           PolygonLoadsDialog::kQ2, PolygonLoadsDialog::kQ3};
constexpr std::array<const char*, 4> kCornerNames{"q0", "q1", "q2", "q3"};

} // namespace

platform::DialogTemplate PolygonLoadsDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Apply Distributed Load on Polygon(s)";
    t.width = 400;
    picking_.addTo(t, 8, 8, 384);
    const int y = 8 + PickingControls::kHeight + 6;
    t.groupBox("Pressure at the polygon's corners 0 to 3", 8, y, 384, 118);
    for (std::size_t i = 0; i < kCornerFields.size(); ++i) {
        const int column = static_cast<int>(i % 2);
        const int row = static_cast<int>(i / 2);
        t.edit(kCornerFields[i], kCornerNames[i], 18 + 186 * column, y + 20 + 24 * row, 178, 22,
               30);
    }
    t.label("Positive along the polygon's normal. A polygon without", 18, y + 70, 364, 20);
    t.label("four corners carries q0 all over.", 18, y + 90, 364, 20);
    addApplyButtonsAndList(t, y + 124, kApply, kRemove, "Loads on the picked polygons", kLoadList,
                           {"Polygon", "Corners", "q0", "q1", "q2", "q3"});
    return t;
}

void PolygonLoadsDialog::onOpened(platform::Dialog& dialog) {
    for (int id : kCornerFields)
        dialog.setText(id, "0");
}

void PolygonLoadsDialog::show(platform::Dialog& dialog) {
    picking_.show(dialog, context());
    const ModelData& data = context().model().data();
    const std::vector<int>& polygons = picking_.picked(context());
    std::vector<std::vector<std::string>> rows =
        appliedRows(polygons, loadsOnPolygons(data, polygons));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Polygon& polygon = data.polygons[static_cast<std::size_t>(polygons[i])];
        rows[i].insert(rows[i].begin() + 1, std::to_string(polygon.vertices.size()));
    }
    dialog.setRows(kLoadList, rows);
}

void PolygonLoadsDialog::onButton(platform::Dialog& dialog, int controlId) {
    if (picking_.handle(context(), controlId) || context().handleViewButton(controlId))
        return;
    if (controlId == kApply)
        apply(dialog);
    else if (controlId == kRemove)
        remove();
}

void PolygonLoadsDialog::apply(platform::Dialog& dialog) {
    FieldReader fields(dialog, context());
    const std::optional<std::array<double, 4>> q = readNumbers(fields, kCornerFields, kCornerNames);
    if (!q)
        return;
    const std::vector<int> polygons = picking_.picked(context());
    if (polygons.empty()) {
        context().warn("No polygon is picked: pick the polygons to load in the view.");
        return;
    }
    if (std::all_of(q->begin(), q->end(), [](double v) { return v == 0.0; })) {
        context().warn("Every corner value is 0: enter the pressure, or press Remove to take "
                       "the loads off the picked polygons.");
        return;
    }
    context().edit([&](Model& m) {
        EditResult applied = m.applyPolygonLoad(polygons, *q);
        if (applied.ok())
            applied.message = uniformLoadNotice(m.data(), polygons, *q);
        return applied;
    });
}

void PolygonLoadsDialog::remove() {
    const std::vector<int> polygons = picking_.picked(context());
    if (polygons.empty()) {
        context().warn("No polygon is picked: pick the polygons in the view.");
        return;
    }
    if (!anyApplied(loadsOnPolygons(context().model().data(), polygons))) {
        context().warn("None of the picked polygons carries a load.");
        return;
    }
    context().edit([&](Model& m) { return m.removePolygonLoads(polygons); });
}

std::string uniformLoadNotice(const ModelData& data, const std::vector<int>& polygons,
                              const std::array<double, 4>& q) {
    if (q[1] == q[0] && q[2] == q[0] && q[3] == q[0])
        return {};
    std::vector<int> uniform;
    for (int p : polygons)
        if (data.polygons[static_cast<std::size_t>(p)].vertices.size() != 4)
            uniform.push_back(p);
    if (uniform.empty())
        return {};
    const bool one = uniform.size() == 1;
    return std::string(one ? "Polygon " : "Polygons ") + listIds(uniform, 20) +
           (one ? " does" : " do") +
           " not have four corners: " + (one ? "it carries" : "they carry") +
           " q0 = " + formatGeneral(q[0]) +
           " all over; q1, q2 and q3 apply to four-corner "
           "polygons only.";
}

} // namespace shellfem::preprocessor::app
