#include "view3d/view_kit.h"

#include <utility>

namespace shellfem::view3d {

ViewKitIds viewerViewKitIds() {
    ViewKitIds ids{};
    ids.alpha = 1009;
    ids.beta = 1010;
    ids.apply = 1012;
    ids.exit = 1014;
    ids.standard = {1027, 1028, 1029, 1030, 1031, 1032, 1033,
                    1034, 1035, 1036, 1037, 1038, 1039, 1040};
    ids.all = 1041;
    ids.pan = 1042;
    ids.zoom = 1043;
    return ids;
}

ViewKitIds preprocessorViewKitIds() {
    ViewKitIds ids{};
    // XOY+ 1011, XOZ+ 1012, YOZ+ 1013, XOY- 1014, XOZ- 1015, YOZ- 1016,
    // EN+ 1017, WN+ 1018, WS+ 1019, ES+ 1020, EN- 1021, WN- 1022, WS- 1023, ES- 1024.
    ids.standard = {1011, 1014, 1012, 1015, 1013, 1016, 1017,
                    1021, 1018, 1022, 1019, 1023, 1020, 1024};
    ids.alpha = 1043;
    ids.beta = 1044;
    ids.apply = 1045;
    ids.all = 1046;
    ids.pan = 1047;
    ids.zoom = 1048;
    ids.exit = 1049;
    return ids;
}

ViewKit::ViewKit(ViewController& controller, std::function<void()> redraw, ViewKitIds ids)
    : controller_(controller), redraw_(std::move(redraw)), ids_(ids) {}

ViewKit::~ViewKit() = default;

platform::DialogTemplate ViewKit::form() const {
    platform::DialogTemplate t;
    t.title = "View Kit";
    t.width = 300;
    t.height = 272;
    t.groupBox("Standard views", 8, 8, 284, 132);
    for (std::size_t i = 0; i < kStandardViews.size(); ++i) {
        const int col = static_cast<int>(i % 4), row = static_cast<int>(i / 4);
        t.button(ids_.standard[i], kStandardViews[i].name, 18 + col * 68, 26 + row * 28, 62, 24);
    }
    t.groupBox("Angles (degrees)", 8, 148, 284, 70);
    t.edit(ids_.alpha, "Alpha", 18, 166, 120, 24, 46);
    t.edit(ids_.beta, "Beta", 18, 190, 120, 24, 46);
    t.button(ids_.apply, "Apply", 170, 176, 110, 28);
    t.button(ids_.all, "All", 8, 232, 66, 28);
    t.button(ids_.pan, "Pan", 80, 232, 66, 28);
    t.button(ids_.zoom, "Zoom", 152, 232, 66, 28);
    t.button(ids_.exit, "Exit", 226, 232, 66, 28);
    return t;
}

void ViewKit::open(platform::Gui& gui) {
    if (dialog_) {
        dialog_->raise();
        return;
    }
    dialog_ = gui.openModeless(form(), *this);
    if (dialog_)
        showStoredAngles();
}

void ViewKit::close() {
    dialog_.reset();
}

void ViewKit::showStoredAngles() {
    dialog_->setText(ids_.alpha, platform::twoDecimals(controller_.alphaDegrees()));
    dialog_->setText(ids_.beta, platform::twoDecimals(controller_.betaDegrees()));
}

void ViewKit::onCommand(platform::Dialog& dialog, int id) {
    if (id == ids_.apply) {
        controller_.setStoredAngles(platform::plainDecimal(dialog.text(ids_.alpha)),
                                    platform::plainDecimal(dialog.text(ids_.beta)));
        controller_.applyStoredAngles(false);
        redraw_();
        return;
    }
    for (std::size_t i = 0; i < kStandardViews.size(); ++i) {
        if (id != ids_.standard[i])
            continue;
        controller_.setStoredAngles(kStandardViews[i].alpha, kStandardViews[i].beta);
        showStoredAngles(); // `dialog` is dialog_: the kit handles only the dialog it opened
        controller_.applyStoredAngles(true);
        redraw_();
        return;
    }
    if (handleViewButton(controller_, ids_, id, redraw_))
        return;
    if (id == ids_.exit)
        close(); // `dialog` is gone after this line
}

bool handleViewButton(ViewController& controller, const ViewKitIds& ids, int id,
                      const std::function<void()>& redraw) {
    if (id == ids.all)
        controller.view().fit();
    else if (id == ids.pan)
        controller.setMode(kModePan);
    else if (id == ids.zoom)
        controller.setMode(kModeZoomWindow);
    else
        return false;
    // A new mode drops a half-made rectangle, whose band must go too.
    if (redraw)
        redraw();
    return true;
}

void ViewKit::onClose(platform::Dialog&) {
    close();
}

} // namespace shellfem::view3d
