#pragma once

#include "platform/dialog.h"
#include "preprocessor/app/editing_context.h"

#include <string>
#include <vector>

namespace shellfem::preprocessor::app {

// The "Pick in the view" box that the picking dialogs share: Pick or Unpick
// (the odd or even mode of the dialog's pair), Point or Rectangle, All (every
// shown item), Clear, and a line that lists what is picked. A dialog adds it to its form, calls
// show() from its refresh and offers its buttons to handle() first.
class PickingControls {
public:
    enum Control {
        kPick = 1901,
        kUnpick = 1902,
        kPoint = 1903,
        kRectangle = 1904,
        kClear = 1905,
        kPicked = 1906,  // label: what is picked
        kPickAll = 1907, // every shown item of the kind
    };
    // Height of the box in the form, in pixels.
    static constexpr int kHeight = 104;

    // `pickMode` is the odd mode of the pair (kModePickPoints, kModeOutlineAdd,
    // kModePickPolygons or kModePickNodes); `noun` names the items ("polygon").
    PickingControls(int pickMode, std::string noun) : pickMode_(pickMode), noun_(std::move(noun)) {}

    void addTo(platform::DialogTemplate& form, int x, int y, int width) const;
    void show(platform::Dialog& dialog, const EditingContext& context) const;
    // True when `controlId` is one of the box's controls (it has been handled).
    bool handle(EditingContext& context, int controlId) const;

    // What the dialog's edit works on: the picks of its mode, in picking order.
    const std::vector<int>& picked(const EditingContext& context) const;
    int pickMode() const { return pickMode_; }

private:
    int pickMode_;
    std::string noun_;
};

// The All, Pan and Zoom buttons of a picking dialog, 66 pixels wide each, with
// the View Kit's identifiers, which EditingContext::handleViewButton handles.
void addViewButtons(platform::DialogTemplate& form, int x, int y);

// "0, 4, 7": at most `shown` IDs, then "...".
std::string listIds(const std::vector<int>& ids, std::size_t shown = 12);
// "3 polygons picked: 0, 4, 7", or "No polygon picked".
std::string describePicks(const std::vector<int>& ids, const std::string& noun,
                          std::size_t shown = 12);

} // namespace shellfem::preprocessor::app
