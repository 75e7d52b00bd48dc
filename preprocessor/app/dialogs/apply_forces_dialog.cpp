#include "preprocessor/app/dialogs/apply_forces_dialog.h"

#include "preprocessor/model/model_queries.h"

#include <algorithm>

namespace shellfem::preprocessor::app {

namespace {

constexpr std::array<int, 6> kComponentFields{ApplyForcesDialog::kFx, ApplyForcesDialog::kFy,
                                              ApplyForcesDialog::kFz, ApplyForcesDialog::kMx,
                                              ApplyForcesDialog::kMy, ApplyForcesDialog::kMz};
constexpr std::array<const char*, 6> kComponentNames{"Fx", "Fy", "Fz", "Mx", "My", "Mz"};

} // namespace

platform::DialogTemplate ApplyForcesDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Apply Force(s)";
    t.width = 400;
    picking_.addTo(t, 8, 8, 384);
    int y = 8 + PickingControls::kHeight + 6;
    t.groupBox("Force and moment on each node (global axes)", 8, y, 384, 96);
    for (std::size_t i = 0; i < 3; ++i) {
        const int row = y + 20 + 24 * static_cast<int>(i);
        t.edit(kComponentFields[i], kComponentNames[i], 18, row, 178, 22, 30);
        t.edit(kComponentFields[i + 3], kComponentNames[i + 3], 204, row, 178, 22, 30);
    }
    y += 102;
    choice_.addTo(t, 8, y, 384);
    addApplyButtonsAndList(t, y + ApplyModeChoice::kHeight + 6, kApply, kRemove,
                           "Forces on the picked nodes", kForceList,
                           {"Node", "Fx", "Fy", "Fz", "Mx", "My", "Mz"});
    return t;
}

void ApplyForcesDialog::onOpened(platform::Dialog& dialog) {
    for (int id : kComponentFields)
        dialog.setText(id, "0");
}

void ApplyForcesDialog::show(platform::Dialog& dialog) {
    picking_.show(dialog, context());
    choice_.show(dialog);
    const std::vector<int>& nodes = picking_.picked(context());
    dialog.setRows(kForceList, appliedRows(nodes, forcesOnNodes(context().model().data(), nodes)));
}

void ApplyForcesDialog::onButton(platform::Dialog& dialog, int controlId) {
    if (picking_.handle(context(), controlId) || context().handleViewButton(controlId) ||
        choice_.handle(controlId))
        return;
    if (controlId == kApply)
        apply(dialog);
    else if (controlId == kRemove)
        remove();
}

void ApplyForcesDialog::apply(platform::Dialog& dialog) {
    FieldReader fields(dialog, context());
    const std::optional<std::array<double, 6>> values =
        readNumbers(fields, kComponentFields, kComponentNames);
    if (!values)
        return;
    const std::vector<int> nodes = picking_.picked(context());
    if (!checkNodesPicked(context(), nodes))
        return;
    if (std::all_of(values->begin(), values->end(), [](double v) { return v == 0.0; })) {
        context().warn("Every component is 0: enter a force or a moment, or press Remove to take "
                       "the forces off the picked nodes.");
        return;
    }
    context().edit([&](Model& m) { return m.applyForces(nodes, *values, choice_.mode()); });
}

void ApplyForcesDialog::remove() {
    const std::vector<int> nodes = picking_.picked(context());
    if (!checkNodesPicked(context(), nodes))
        return;
    if (!anyApplied(forcesOnNodes(context().model().data(), nodes))) {
        context().warn("None of the picked nodes carries a force.");
        return;
    }
    context().edit([&](Model& m) { return m.removeForces(nodes); });
}

} // namespace shellfem::preprocessor::app
