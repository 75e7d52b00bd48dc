#pragma once

#include "preprocessor/app/modeless_dialog.h"

namespace shellfem::preprocessor::app {

// Plot Controls: a check box for every layer the window draws, the polygon
// colour mode with the attribute it colours by, and the background. Every
// click takes effect at once; the boxes follow the menu commands that switch
// layers or the background while the dialog is open.
class PlotControlsDialog : public ModelessDialog {
public:
    enum Control {
        kPoints = 1401,
        kPolygons = 1402,
        kElements = 1403,
        kNodes = 1404,
        kForces = 1405,
        kPolygonLoads = 1406,
        kElementLoads = 1407,
        kRestraints = 1408,
        kPointNumbers = 1409,
        kPolygonNumbers = 1410,
        kNodeNumbers = 1411,
        kElementNumbers = 1412,
        kColourMode = 1413,  // fill the polygons in their attribute's colour
        kByMaterial = 1414,  // radio
        kByThickness = 1415, // radio
        kBlack = 1416,       // radio: background
        kWhite = 1417,
    };

    using ModelessDialog::ModelessDialog;

protected:
    platform::DialogTemplate form() const override;
    void show(platform::Dialog& dialog) override;
    void onButton(platform::Dialog& dialog, int controlId) override;
};

} // namespace shellfem::preprocessor::app
