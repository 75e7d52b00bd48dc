#pragma once

#include "preprocessor/app/corvanta_commands.h"
#include "preprocessor/app/modeless_dialog.h"
#include "preprocessor/app/picking_controls.h"

namespace shellfem::preprocessor::app {

// Copy GeoPt(s): the points picked in the view (modes 3 and 4) are copied a
// number of times, copy k shifted by k times the offset (dX, dY, dZ). The
// copies are new points; the picks stay, so that a row can be copied again.
class CopyGeoPtDialog : public ModelessDialog {
public:
    enum Control {
        kPickedList = 1501, // list: the picked points with their coordinates
        kDx = 1502,
        kDy = 1503,
        kDz = 1504,
        kCopies = 1505,
        kCopy = 1506,
    };
    static constexpr int kMaxCopies = 1000;
    // At most this many new points at once, so that a slip of the finger
    // cannot fill the memory.
    static constexpr long long kMaxNewPoints = 1000000;

    using ModelessDialog::ModelessDialog;

protected:
    platform::DialogTemplate form() const override;
    void onOpened(platform::Dialog& dialog) override;
    void show(platform::Dialog& dialog) override;
    void onButton(platform::Dialog& dialog, int controlId) override;

private:
    void copy(platform::Dialog& dialog);

    PickingControls picking_{kModePickPoints, "point"};
};

} // namespace shellfem::preprocessor::app
