#pragma once

#include "preprocessor/app/corvanta_commands.h"
#include "preprocessor/app/modeless_dialog.h"
#include "preprocessor/app/picking_controls.h"

namespace shellfem::preprocessor::app {

// Apply Distributed Load on Polygon(s): a pressure given at the corners 0..3 of
// each polygon picked in the view (modes 7 and 8), positive along the polygon's
// normal and bilinear in between; it replaces the polygons' earlier loads. A
// polygon without four corners carries q0 all over, which the message of the
// edit says when q1..q3 differ from it. Remove takes the picked polygons' loads away.
class PolygonLoadsDialog : public ModelessDialog {
public:
    enum Control {
        kQ0 = 2301,
        kQ1 = 2302,
        kQ2 = 2303,
        kQ3 = 2304,
        kApply = 2305,
        kRemove = 2306,
        kLoadList = 2307, // list: polygon, its corner count, q0 .. q3
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

    PickingControls picking_{kModePickPolygons, "polygon"};
};

// The notice for a load with corner values that differ from q0 on polygons
// without four corners, which take q0 only; empty when there is none.
std::string uniformLoadNotice(const ModelData& data, const std::vector<int>& polygons,
                              const std::array<double, 4>& q);

} // namespace shellfem::preprocessor::app
