#include "viewer/selection_dialog.h"

#include "formats/file_text.h"
#include "formats/safe_file_write.h"
#include "viewer/contour/selection_file.h"
#include "viewer/contour/stress_listing.h"
#include "viewer/viewer_app.h"

#include <sstream>

namespace shellfem::viewer {

SelectionDialog::SelectionDialog(ViewerApp& app, SelectionKind kind) : app_(app), kind_(kind) {}

SelectionDialog::~SelectionDialog() = default;

int SelectionDialog::mode() const {
    return kind_ == SelectionKind::Elements ? kModeSelectElements : kModeSelectNodes;
}

std::string SelectionDialog::title() const {
    return kind_ == SelectionKind::Elements ? "Select Element(s)" : "Select Node(s)";
}

const char* SelectionDialog::noun() const {
    return kind_ == SelectionKind::Elements ? "element" : "node";
}

std::vector<char>& SelectionDialog::flags() {
    return kind_ == SelectionKind::Elements ? app_.selection().elements : app_.selection().nodes;
}

Show SelectionDialog::shownState() const {
    return kind_ == SelectionKind::Elements ? app_.display().outlines : app_.display().nodes;
}

int SelectionDialog::firstShowCommand() const {
    return kind_ == SelectionKind::Elements ? command::kOutlinesAll : command::kNodesAll;
}

platform::DialogTemplate SelectionDialog::form() const {
    const bool elements = kind_ == SelectionKind::Elements;
    platform::DialogTemplate t;
    t.title = title();
    t.width = 340;
    t.height = 420;
    t.label("", 10, 6, 320, 22, kCount);
    t.groupBox("Pick in the view", 8, 32, 324, 110);
    t.radio(kPickPoint, 1, "Point", 18, 52, 90, 22);
    t.radio(kPickRectangle, 1, "Rectangle", 110, 52, 110, 22);
    t.radio(kPickSelects, 2, "Select", 18, 78, 90, 22);
    t.radio(kPickUnselects, 2, "Unselect", 110, 78, 110, 22);
    t.button(kPickInView, "Pick", 236, 52, 86, 26);
    t.button(kSelectAll, "Select All", 18, 108, 110, 26);
    t.button(kClear, "Clear (Esc)", 136, 108, 110, 26);
    t.groupBox("By number (0-based)", 8, 150, 324, 92);
    t.edit(kFrom, "From", 18, 172, 96, 24, 40);
    t.edit(kTo, "To", 122, 172, 90, 24, 30);
    t.edit(kStep, "Step", 220, 172, 102, 24, 40);
    t.button(kRangeSelect, "Select", 18, 206, 110, 26);
    t.button(kRangeUnselect, "Unselect", 136, 206, 110, 26);
    t.groupBox(elements ? "Element outlines" : "Nodes", 8, 250, 324, 56);
    t.radio(kShowAll, 3, "Plot All", 18, 272, 90, 22);
    t.radio(kShowSelected, 3, "Plot Selected", 110, 272, 120, 22);
    t.radio(kShowNone, 3, "Unplot All", 232, 272, 96, 22);
    t.groupBox("Files", 8, 314, 324, 60);
    t.button(kSave, "Save...", 18, 336, 90, 26);
    t.button(kLoad, "Load...", 116, 336, 90, 26);
    t.button(kList, "List Stresses", 214, 336, 108, 26);
    t.button(kClose, "Close", 242, 384, 90, 28);
    return t;
}

void SelectionDialog::open(platform::Gui& gui) {
    if (dialog_) {
        dialog_->raise();
        refresh();
        return;
    }
    dialog_ = gui.openModeless(form(), *this);
    if (!dialog_)
        return;
    dialog_->setChecked(rectangle_ ? kPickRectangle : kPickPoint, true);
    dialog_->setChecked(selecting_ ? kPickSelects : kPickUnselects, true);
    dialog_->setText(kStep, "1");
    refresh();
}

void SelectionDialog::close() {
    dialog_.reset();
}

void SelectionDialog::refresh() {
    if (!dialog_)
        return;
    const std::vector<char>& f = flags();
    std::size_t selected = 0;
    for (char c : f)
        selected += c != 0;
    dialog_->setText(kCount, "Selected: " + std::to_string(selected) + " of " +
                                 std::to_string(f.size()) + " " + noun() + "s");
    dialog_->setChecked(kShowAll + static_cast<int>(shownState()), true);
}

void SelectionDialog::onClose(platform::Dialog&) {
    close();
    if (app_.controller().mode() == mode())
        app_.controller().setMode(view3d::kModeNone);
    app_.redraw();
}

void SelectionDialog::onCommand(platform::Dialog& dialog, int id) {
    switch (id) {
    case kPickPoint:
    case kPickRectangle:
        rectangle_ = id == kPickRectangle;
        app_.controller().setMode(mode());
        break;
    case kPickSelects:
    case kPickUnselects:
        selecting_ = id == kPickSelects;
        app_.controller().setMode(mode());
        break;
    case kPickInView:
        app_.controller().setMode(mode());
        break;
    case kSelectAll:
        for (char& c : flags())
            c = 1;
        break;
    case kClear:
        for (char& c : flags())
            c = 0;
        break;
    case kRangeSelect:
    case kRangeUnselect:
        selectRangeFromFields(dialog, id == kRangeSelect);
        break;
    case kShowAll:
    case kShowSelected:
    case kShowNone:
        app_.onCommand(firstShowCommand() + (id - kShowAll)); // refreshes and redraws
        return;
    case kSave:
        saveSelection();
        break;
    case kLoad:
        loadSelection();
        break;
    case kList:
        listStresses();
        return;
    case kClose:
        onClose(dialog); // `dialog` is gone after this line
        return;
    default:
        return;
    }
    refresh();
    app_.redraw();
}

void SelectionDialog::selectRangeFromFields(platform::Dialog& dialog, bool select) {
    int first = 0, last = 0, step = 1;
    const std::string to = dialog.text(kTo), stepText = dialog.text(kStep);
    const auto blank = [](const std::string& text) {
        return text.find_first_not_of(" \t") == std::string::npos;
    };
    bool ok = parseWholeNumber(dialog.text(kFrom), first);
    if (ok) {
        if (blank(to))
            last = first;
        else
            ok = parseWholeNumber(to, last);
    }
    if (ok && !blank(stepText))
        ok = parseWholeNumber(stepText, step);
    if (!ok) {
        app_.gui().show(kWarningCaption,
                        "From, To and Step must be whole numbers (To and Step may be left empty).");
        return;
    }
    if (const Outcome selected = selectRange(flags(), first, last, step, select); !selected.ok())
        app_.gui().show(kWarningCaption, selected.message);
}

void SelectionDialog::saveSelection() {
    const bool elements = kind_ == SelectionKind::Elements;
    const std::optional<std::string> path = app_.gui().chooseFileToSave(
        {elements ? "Save selected elements" : "Save selected nodes", "Text Files (*.txt)", "txt"});
    if (!path)
        return;
    if (!replaceFile(*path, [&](std::ostream& out) { writeSelectionFile(out, flags()); }))
        app_.gui().show(kWarningCaption, "The selection could not be written to " + *path + ".");
}

void SelectionDialog::loadSelection() {
    const bool elements = kind_ == SelectionKind::Elements;
    const std::optional<std::string> path = app_.gui().chooseFileToOpen(
        {elements ? "Open selected elements" : "Open selected nodes", "Text Files (*.txt)", "txt"});
    if (!path)
        return;
    std::string text;
    if (!readFileText(*path, text)) {
        app_.gui().show(kWarningCaption, "The selection file " + *path + " cannot be opened.");
        return;
    }
    std::istringstream in(std::move(text));
    std::vector<char> loaded = flags();
    if (const Outcome read = readSelectionFile(in, loaded); !read.ok()) {
        app_.gui().show(kWarningCaption, *path + ": " + read.message);
        return;
    }
    flags() = std::move(loaded);
}

void SelectionDialog::listStresses() {
    const bool elements = kind_ == SelectionKind::Elements;
    const std::vector<char>& f = flags();
    bool any = false;
    for (char c : f)
        any = any || c != 0;
    if (!any) {
        app_.gui().show(kWarningCaption, std::string("No ") + noun() + " is selected.");
        return;
    }
    const char* name = elements ? kSelectedElementStressFile : kSelectedNodeStressFile;
    const bool written = replaceFile(name, [&](std::ostream& out) {
        if (elements)
            writeSelectedElementStresses(out, app_.model(), f);
        else
            writeSelectedNodeStresses(out, app_.model(), f);
    });
    if (!written) {
        app_.gui().show(kWarningCaption, std::string(name) + " could not be written.");
        return;
    }
    app_.gui().openTextFile(name); // "start notepad.exe SelectedElemStress.txt"
}

} // namespace shellfem::viewer
