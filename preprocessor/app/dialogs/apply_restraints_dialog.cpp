#include "preprocessor/app/dialogs/apply_restraints_dialog.h"

#include "preprocessor/model/model_queries.h"

#include <algorithm>

namespace shellfem::preprocessor::app {

namespace {

constexpr std::array<int, 6> kFlagBoxes{ApplyRestraintsDialog::kUX, ApplyRestraintsDialog::kUY,
                                        ApplyRestraintsDialog::kUZ, ApplyRestraintsDialog::kRX,
                                        ApplyRestraintsDialog::kRY, ApplyRestraintsDialog::kRZ};
constexpr std::array<const char*, 6> kFlagNames{"UX", "UY", "UZ", "RX", "RY", "RZ"};

} // namespace

platform::DialogTemplate ApplyRestraintsDialog::form() const {
    platform::DialogTemplate t;
    t.title = "ApplyBC(s)";
    t.width = 400;
    picking_.addTo(t, 8, 8, 384);
    int y = 8 + PickingControls::kHeight + 6;
    t.groupBox("Fixed degrees of freedom", 8, y, 384, 74);
    for (std::size_t i = 0; i < kFlagBoxes.size(); ++i) {
        const int column = static_cast<int>(i % 3);
        const int row = static_cast<int>(i / 3);
        t.checkBox(kFlagBoxes[i], kFlagNames[i], 18 + 72 * column, y + 20 + 24 * row, 66, 22);
    }
    t.button(kCheckAll, "All six", 302, y + 18, 80, 24);
    t.button(kCheckNone, "None", 302, y + 44, 80, 24);
    y += 80;
    choice_.addTo(t, 8, y, 384);
    addApplyButtonsAndList(t, y + ApplyModeChoice::kHeight + 6, kApply, kRemove,
                           "Restraints of the picked nodes (1 fixed)", kRestraintList,
                           {"Node", "UX", "UY", "UZ", "RX", "RY", "RZ"});
    return t;
}

void ApplyRestraintsDialog::show(platform::Dialog& dialog) {
    picking_.show(dialog, context());
    choice_.show(dialog);
    const std::vector<int>& nodes = picking_.picked(context());
    dialog.setRows(kRestraintList,
                   appliedRows(nodes, restraintsOnNodes(context().model().data(), nodes)));
}

void ApplyRestraintsDialog::onButton(platform::Dialog& dialog, int controlId) {
    if (picking_.handle(context(), controlId) || context().handleViewButton(controlId) ||
        choice_.handle(controlId))
        return;
    switch (controlId) {
    case kCheckAll:
    case kCheckNone:
        for (int id : kFlagBoxes)
            dialog.setChecked(id, controlId == kCheckAll);
        break;
    case kApply:
        apply(dialog);
        break;
    case kRemove:
        remove();
        break;
    default:
        break;
    }
}

void ApplyRestraintsDialog::apply(const platform::Dialog& dialog) {
    std::array<int, 6> flags{};
    for (std::size_t i = 0; i < kFlagBoxes.size(); ++i)
        flags[i] = dialog.checked(kFlagBoxes[i]) ? 1 : 0;
    const std::vector<int> nodes = picking_.picked(context());
    if (!checkNodesPicked(context(), nodes))
        return;
    if (std::all_of(flags.begin(), flags.end(), [](int f) { return f == 0; })) {
        context().warn("No degree of freedom is checked: check those to fix, or press Remove to "
                       "free the picked nodes.");
        return;
    }
    context().edit([&](Model& m) { return m.applyRestraints(nodes, flags, choice_.mode()); });
}

void ApplyRestraintsDialog::remove() {
    const std::vector<int> nodes = picking_.picked(context());
    if (!checkNodesPicked(context(), nodes))
        return;
    if (!anyApplied(restraintsOnNodes(context().model().data(), nodes))) {
        context().warn("None of the picked nodes is restrained.");
        return;
    }
    context().edit([&](Model& m) { return m.removeRestraints(nodes); });
}

} // namespace shellfem::preprocessor::app
