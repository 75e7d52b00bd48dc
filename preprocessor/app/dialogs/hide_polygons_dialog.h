#pragma once

#include "preprocessor/app/corvanta_commands.h"
#include "preprocessor/app/modeless_dialog.h"
#include "preprocessor/app/picking_controls.h"

namespace shellfem::preprocessor::app {

// Hide Polygon(s): the polygons picked in the view (modes 7 and 8) are hidden
// with their elements and the nodes only they use; the list holds the hidden
// ones, of which Show brings back the chosen one and Show all every one.
// Hiding changes only what the window shows, never the file, so it leaves no
// unsaved changes.
class HidePolygonsDialog : public ModelessDialog {
public:
    enum Control {
        kHide = 1601,
        kHiddenList = 1602, // ID, corners, elements
        kShow = 1603,       // the polygon chosen in the list
        kShowAll = 1604,
        kHiddenCount = 1605, // label
    };

    using ModelessDialog::ModelessDialog;

protected:
    platform::DialogTemplate form() const override;
    void show(platform::Dialog& dialog) override;
    void onButton(platform::Dialog& dialog, int controlId) override;

private:
    void hidePicked();
    void showChosen(const platform::Dialog& dialog);

    PickingControls picking_{kModePickPolygons, "polygon"};
    std::vector<int> listed_; // the polygon of each row of the hidden list
};

} // namespace shellfem::preprocessor::app
