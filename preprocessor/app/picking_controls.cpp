#include "preprocessor/app/picking_controls.h"

#include "preprocessor/app/model_picking.h"
#include "view3d/view_kit.h"

namespace shellfem::preprocessor::app {

std::string listIds(const std::vector<int>& ids, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < ids.size() && i < shown; ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(ids[i]);
    if (ids.size() > shown)
        text += ", ...";
    return text;
}

std::string describePicks(const std::vector<int>& ids, const std::string& noun, std::size_t shown) {
    if (ids.empty())
        return "No " + noun + " picked";
    return std::to_string(ids.size()) + " " + noun + (ids.size() == 1 ? "" : "s") +
           " picked: " + listIds(ids, shown);
}

void PickingControls::addTo(platform::DialogTemplate& form, int x, int y, int width) const {
    form.groupBox("Pick in the view", x, y, width, kHeight);
    form.radio(kPick, 901, "Pick", x + 10, y + 20, 80, 22);
    form.radio(kUnpick, 901, "Unpick", x + 92, y + 20, 90, 22);
    form.radio(kPoint, 902, "Point", x + 10, y + 44, 80, 22);
    form.radio(kRectangle, 902, "Rectangle", x + 92, y + 44, 100, 22);
    form.button(kPickAll, "All", x + width - 80, y + 18, 70, 24);
    form.button(kClear, "Clear", x + width - 80, y + 44, 70, 24);
    form.label("", x + 10, y + 72, width - 20, 22, kPicked);
}

void addViewButtons(platform::DialogTemplate& form, int x, int y) {
    const view3d::ViewKitIds ids = view3d::preprocessorViewKitIds();
    form.button(ids.all, "All", x, y, 66, 28);
    form.button(ids.pan, "Pan", x + 72, y, 66, 28);
    form.button(ids.zoom, "Zoom", x + 144, y, 66, 28);
}

const std::vector<int>& PickingControls::picked(const EditingContext& context) const {
    return *picksOf(context.picks(), pickMode_);
}

void PickingControls::show(platform::Dialog& dialog, const EditingContext& context) const {
    const int mode = context.pickingMode();
    const bool inPair = mode == pickMode_ || mode == pickMode_ + 1;
    dialog.setChecked(kPick, inPair && mode == pickMode_);
    dialog.setChecked(kUnpick, inPair && mode == pickMode_ + 1);
    // Point sequences are always clicked point by point.
    const bool sequence = targetOf(pickMode_) == PickTarget::Outline;
    dialog.setChecked(kRectangle, !sequence && context.rectanglePicking());
    dialog.setChecked(kPoint, sequence || !context.rectanglePicking());
    dialog.setEnabled(kRectangle, !sequence);
    dialog.setEnabled(kPickAll, !sequence);
    dialog.setText(kPicked, describePicks(picked(context), noun_));
}

bool PickingControls::handle(EditingContext& context, int controlId) const {
    switch (controlId) {
    case kPick:
        context.setPickingMode(pickMode_);
        return true;
    case kUnpick:
        context.setPickingMode(pickMode_ + 1);
        return true;
    case kPoint:
    case kRectangle:
        context.setRectanglePicking(controlId == kRectangle);
        return true;
    case kPickAll:
    case kClear: {
        Selection picks = context.picks();
        changePicks(picks, pickMode_, picked(context), true);
        if (controlId == kPickAll)
            changePicks(picks, pickMode_, shownItems(context.model(), pickMode_), false);
        context.setPicks(picks);
        return true;
    }
    default:
        return false;
    }
}

} // namespace shellfem::preprocessor::app
