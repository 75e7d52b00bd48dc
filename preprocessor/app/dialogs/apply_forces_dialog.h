#pragma once

#include "preprocessor/app/corvanta_commands.h"
#include "preprocessor/app/dialogs/applied_values.h"
#include "preprocessor/app/modeless_dialog.h"
#include "preprocessor/app/picking_controls.h"

namespace shellfem::preprocessor::app {

// Apply Force(s): a force (Fx, Fy, Fz) and a moment (Mx, My, Mz) in global axes
// on each node picked in the view (modes 9 and 10), replacing the nodes' earlier
// forces or added to them; Remove takes the picked nodes' forces away. The list
// shows what acts on each picked node, all of its records added up.
class ApplyForcesDialog : public ModelessDialog {
public:
    enum Control {
        kFx = 2101,
        kFy = 2102,
        kFz = 2103,
        kMx = 2104,
        kMy = 2105,
        kMz = 2106,
        kApply = 2107,
        kRemove = 2108,
        kForceList = 2109, // list: node, Fx .. Mz
    };

    using ModelessDialog::ModelessDialog;

protected:
    platform::DialogTemplate form() const override;
    void onOpened(platform::Dialog& dialog) override;
    void show(platform::Dialog& dialog) override;
    void onButton(platform::Dialog& dialog, int controlId) override;

private:
    void apply(platform::Dialog& dialog);
    void remove();

    PickingControls picking_{kModePickNodes, "node"};
    ApplyModeChoice choice_;
};

} // namespace shellfem::preprocessor::app
