#include "preprocessor/app/dialogs/applied_values.h"

#include "formats/number_format.h"
#include "preprocessor/app/modeless_dialog.h"
#include "preprocessor/app/picking_controls.h"

namespace shellfem::preprocessor::app {

namespace {

std::string cell(double value) {
    return formatGeneral(value);
}

std::string cell(int flag) {
    return std::to_string(flag);
}

template <class T, std::size_t N>
std::vector<std::string> rowOf(int id, const std::optional<std::array<T, N>>& values) {
    std::vector<std::string> row{std::to_string(id)};
    for (std::size_t i = 0; i < N; ++i)
        row.push_back(values ? cell((*values)[i]) : std::string("-"));
    return row;
}

} // namespace

void ApplyModeChoice::addTo(platform::DialogTemplate& form, int x, int y, int width) const {
    form.groupBox("Earlier values of the picked nodes", x, y, width, kHeight);
    const int half = (width - 20) / 2;
    form.radio(kReplace, 951, "Replace them", x + 10, y + 20, half, 22);
    form.radio(kAdd, 951, "Add to them", x + 10 + half, y + 20, half, 22);
}

void ApplyModeChoice::show(platform::Dialog& dialog) const {
    dialog.setChecked(mode_ == ApplyMode::Replace ? kReplace : kAdd, true);
}

bool ApplyModeChoice::handle(int controlId) {
    if (controlId != kReplace && controlId != kAdd)
        return false;
    mode_ = controlId == kReplace ? ApplyMode::Replace : ApplyMode::Add;
    return true;
}

void addApplyButtonsAndList(platform::DialogTemplate& form, int y, int applyId, int removeId,
                            const std::string& caption, int listId,
                            std::vector<std::string> columns) {
    form.button(applyId, "Apply", 8, y, 90, 28);
    form.button(removeId, "Remove", 106, y, 90, 28);
    y += 36;
    form.label(caption, 8, y, 384, 22);
    form.listView(listId, std::move(columns), 8, y + 24, 384, 150);
    y += 182;
    addViewButtons(form, 8, y);
    form.button(ModelessDialog::kClose, "Close", 302, y, 90, 28);
    form.height = y + 36;
}

std::vector<std::string> appliedRow(int id, const std::optional<std::array<double, 6>>& values) {
    return rowOf(id, values);
}

std::vector<std::string> appliedRow(int id, const std::optional<std::array<int, 6>>& flags) {
    return rowOf(id, flags);
}

std::vector<std::string> appliedRow(int id, const std::optional<std::array<double, 4>>& values) {
    return rowOf(id, values);
}

bool checkNodesPicked(EditingContext& context, const std::vector<int>& nodes) {
    if (!nodes.empty())
        return true;
    context.warn(context.model().data().nodes.empty()
                     ? "The model has no nodes yet: mesh its polygons first (Meshing > Quad)."
                     : "No node is picked: pick the nodes in the view.");
    return false;
}

} // namespace shellfem::preprocessor::app
