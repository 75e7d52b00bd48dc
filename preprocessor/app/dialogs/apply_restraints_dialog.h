#pragma once

#include "preprocessor/app/corvanta_commands.h"
#include "preprocessor/app/dialogs/applied_values.h"
#include "preprocessor/app/modeless_dialog.h"
#include "preprocessor/app/picking_controls.h"

namespace shellfem::preprocessor::app {

// ApplyBC(s): the degrees of freedom UX .. RZ that are fixed at each node picked
// in the view (modes 9 and 10), replacing the nodes' earlier restraints or added
// to them (a DOF fixed before stays fixed); Remove frees the picked nodes. The
// list shows the fixed DOFs of each picked node, all of its records together.
class ApplyRestraintsDialog : public ModelessDialog {
public:
    enum Control {
        kUX = 2201,
        kUY = 2202,
        kUZ = 2203,
        kRX = 2204,
        kRY = 2205,
        kRZ = 2206,
        kCheckAll = 2207, // check boxes only: every DOF, or none
        kCheckNone = 2208,
        kApply = 2209,
        kRemove = 2210,
        kRestraintList = 2211, // list: node, UX .. RZ (1 fixed, 0 free)
    };

    using ModelessDialog::ModelessDialog;

protected:
    platform::DialogTemplate form() const override;
    void show(platform::Dialog& dialog) override;
    void onButton(platform::Dialog& dialog, int controlId) override;

private:
    void apply(const platform::Dialog& dialog);
    void remove();

    PickingControls picking_{kModePickNodes, "node"};
    ApplyModeChoice choice_;
};

} // namespace shellfem::preprocessor::app
