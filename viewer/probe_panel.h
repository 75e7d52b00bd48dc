#pragma once

#include "viewer/modeless_dialog.h"

#include <functional>
#include <string>
#include <vector>

namespace shellfem::viewer {

// The small Probe panel: the values a click pinned, as rows of quantity and value.
class ProbePanel : public ModelessDialog {
public:
    enum Control { kValues = 2401, kClose = 2402 };

    // `rows` gives the pinned values (they follow changes of the shown quantity);
    // `closed` runs when the user closed the panel, which drops the pin.
    ProbePanel(platform::Gui& gui, std::function<std::vector<std::vector<std::string>>()> rows,
               std::function<void()> closed);

    platform::DialogTemplate form() const override;
    void refresh() override;
    void onCommand(platform::Dialog& dialog, int controlId) override;

private:
    void closed() override { closed_(); }

    std::function<std::vector<std::vector<std::string>>()> rows_;
    std::function<void()> closed_;
};

} // namespace shellfem::viewer
