#include "viewer/probe_panel.h"

#include <utility>

namespace shellfem::viewer {

ProbePanel::ProbePanel(platform::Gui& gui,
                       std::function<std::vector<std::vector<std::string>>()> rows,
                       std::function<void()> closed)
    : ModelessDialog(gui), rows_(std::move(rows)), closed_(std::move(closed)) {}

platform::DialogTemplate ProbePanel::form() const {
    platform::DialogTemplate t;
    t.title = "Probe";
    t.width = 380;
    t.height = 420;
    t.listView(kValues, {"Quantity", "Value"}, 8, 8, 364, 362);
    t.button(kClose, "Close", 282, 380, 90, 28);
    return t;
}

void ProbePanel::refresh() {
    if (dialog_)
        dialog_->setRows(kValues, rows_());
}

void ProbePanel::onCommand(platform::Dialog& dialog, int controlId) {
    if (controlId == kClose)
        onClose(dialog); // `dialog` is gone after this line
}

} // namespace shellfem::viewer
