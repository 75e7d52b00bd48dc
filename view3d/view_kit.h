#pragma once

#include "platform/dialog.h"
#include "platform/gui.h"
#include "view3d/view_controller.h"

#include <array>
#include <functional>
#include <memory>

namespace shellfem::view3d {

struct StandardView {
    const char* name;
    double alpha; // degrees
    double beta;
};

// The fourteen standard views of the View Kit, in this order.
inline constexpr std::array<StandardView, 14> kStandardViews = {{
    {"XOY+", -90, 90},
    {"XOY-", -90, -90},
    {"XOZ+", 90, 0},
    {"XOZ-", -90, 0},
    {"YOZ+", 0, 0},
    {"YOZ-", 180, 0},
    {"EN+", 45, 35.26},
    {"EN-", 45, -35.26},
    {"WN+", 135, 35.26},
    {"WN-", 135, -35.26},
    {"WS+", -135, 35.26},
    {"WS-", -135, -35.26},
    {"ES+", -45, 35.26},
    {"ES-", -45, -35.26},
}};

// The control identifiers of one program's View Kit template.
struct ViewKitIds {
    int alpha, beta, apply, all, pan, zoom, exit;
    std::array<int, 14> standard; // in the order of kStandardViews
};
// Template 103 of the viewer and template 110 of the pre-processor.
ViewKitIds viewerViewKitIds();
ViewKitIds preprocessorViewKitIds();

// The All, Pan and Zoom buttons, which the pre-processor's picking dialogs
// (Create Polygon(s), Copy GeoPt(s)) carry too with the View Kit's identifiers:
// All fits and redraws, Pan selects mode 1, Zoom mode 2. Returns false for any
// other identifier.
bool handleViewButton(ViewController& controller, const ViewKitIds& ids, int controlId,
                      const std::function<void()>& redraw);

// The modeless View Kit dialog: its form and its logic, toolkit-free. The
// program redraws when asked through `redraw`.
class ViewKit : public platform::DialogHandler {
public:
    ViewKit(ViewController& controller, std::function<void()> redraw, ViewKitIds ids);
    ~ViewKit() override;

    platform::DialogTemplate form() const;
    // Opens the dialog (or brings it to the front) with the stored degrees in "%.2lf".
    void open(platform::Gui& gui);
    bool isOpen() const { return dialog_ != nullptr; }
    void close(); // Exit: destroys the dialog and clears the handle
    platform::Dialog* dialog() { return dialog_.get(); }

    void onCommand(platform::Dialog& dialog, int controlId) override;
    void onClose(platform::Dialog& dialog) override;

private:
    void showStoredAngles();

    ViewController& controller_;
    std::function<void()> redraw_;
    ViewKitIds ids_;
    std::unique_ptr<platform::Dialog> dialog_;
};

} // namespace shellfem::view3d
