#pragma once

#include "platform/dialog.h"
#include "platform/gui.h"
#include "viewer/contour/display_states.h"

#include <memory>
#include <string>
#include <vector>

namespace shellfem::viewer {

class ViewerApp;

enum class SelectionKind { Elements, Nodes };

// The Select Element(s) and Select Node(s) modeless dialogs: pick in the view
// (point or rectangle, select or unselect), select by number ranges, select
// all or clear, save and load selection files, list the selected stresses and
// open the listing, and the radio buttons of the element outline (or node)
// display state, which follow the PlotCtrls menu.
class SelectionDialog : public platform::DialogHandler {
public:
    // Control identifiers (the same in both dialogs).
    enum Control {
        kCount = 2001,
        kPickPoint = 2002,
        kPickRectangle = 2003,
        kPickSelects = 2004,
        kPickUnselects = 2005,
        kPickInView = 2006,
        kSelectAll = 2007,
        kClear = 2008,
        kFrom = 2009,
        kTo = 2010,
        kStep = 2011,
        kRangeSelect = 2012,
        kRangeUnselect = 2013,
        kShowAll = 2014, // + Show: All, Selected, None
        kShowSelected = 2015,
        kShowNone = 2016,
        kSave = 2017,
        kLoad = 2018,
        kList = 2019,
        kClose = 2020,
    };

    SelectionDialog(ViewerApp& app, SelectionKind kind);
    ~SelectionDialog() override;

    SelectionKind kind() const { return kind_; }
    int mode() const; // 3 for elements, 4 for nodes
    std::string title() const;
    platform::DialogTemplate form() const;

    void open(platform::Gui& gui);
    bool isOpen() const { return dialog_ != nullptr; }
    void close();
    platform::Dialog* dialog() { return dialog_.get(); }

    bool rectanglePicking() const { return rectangle_; }
    bool picksSelect() const { return selecting_; }
    // Shows the selected count and the display state again.
    void refresh();

    void onCommand(platform::Dialog& dialog, int controlId) override;
    void onClose(platform::Dialog& dialog) override;

private:
    std::vector<char>& flags();
    const char* noun() const; // "element" or "node"
    Show shownState() const;
    int firstShowCommand() const;
    void selectRangeFromFields(platform::Dialog& dialog, bool select);
    void saveSelection();
    void loadSelection();
    void listStresses();

    ViewerApp& app_;
    SelectionKind kind_;
    bool rectangle_ = false;
    bool selecting_ = true;
    std::unique_ptr<platform::Dialog> dialog_;
};

} // namespace shellfem::viewer
