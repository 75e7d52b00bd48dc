#pragma once

#include "preprocessor/app/modeless_dialog.h"

#include <optional>
#include <string>
#include <vector>

namespace shellfem::preprocessor::app {

// Create Polygon(s): the corners of a new polygon are clicked in the view, in
// order (mode 5 adds the nearest point, mode 6 takes one out; a rubber line runs
// from the last corner to the cursor). The dialog lists them, chooses the
// material and thickness, and Create makes the polygon and clears the corners
// for the next one. The same material and thickness can be given to polygons
// picked in the view (mode 7).
class CreatePolygonDialog : public ModelessDialog {
public:
    enum Control {
        kAddCorners = 1301,    // radio: mode 5
        kRemoveCorners = 1302, // radio: mode 6
        kCorners = 1303,       // list: the corners in order
        kUndoLast = 1304,
        kClearCorners = 1305,
        kMaterial = 1306,  // combo: "#i E=.. Mu=.."
        kThickness = 1307, // combo: "#i TK=.."
        kCreate = 1308,
        kPickPolygons = 1309,   // radio: mode 7
        kPickedPolygons = 1310, // label
        kSetAttributes = 1311,  // the chosen material and thickness on the picked polygons
        kClickHint = 1312,      // label: what a click in the view does now
    };

    using ModelessDialog::ModelessDialog;

protected:
    platform::DialogTemplate form() const override;
    void show(platform::Dialog& dialog) override;
    void onButton(platform::Dialog& dialog, int controlId) override;

private:
    void showCorners(platform::Dialog& dialog);
    void showAttributes(platform::Dialog& dialog);
    void changeCorners(bool dropLastOnly);
    void create(platform::Dialog& dialog);
    void setAttributes(platform::Dialog& dialog);
    struct Attributes {
        int material;
        int thickness;
    };
    // The chosen material and thickness, or nothing after a "Warning!" box.
    std::optional<Attributes> chosenAttributes(const platform::Dialog& dialog);
};

// The combo entries: "#0 E=210000 Mu=0.3" and "#0 TK=0.1".
std::vector<std::string> materialChoices(const ModelData& data);
std::vector<std::string> thicknessChoices(const ModelData& data);

} // namespace shellfem::preprocessor::app
