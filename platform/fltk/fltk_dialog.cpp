#include "platform/fltk/fltk_dialog.h"

#include "platform/fltk/fltk_gui.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Window.H>

#include <algorithm>

namespace shellfem::platform::fltk {

struct FltkDialog::Control {
    FltkDialog* dialog = nullptr;
    ControlTemplate description;
    Fl_Widget* widget = nullptr;
    std::vector<int> columnWidths; // list views: zero-terminated for FLTK
};

std::string menuLabel(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '/' || c == '\\' || c == '_')
            out += '\\';
        if (c == '&')
            out += '&';
        out += c;
    }
    return out;
}

namespace {
std::string browserLine(const std::vector<std::string>& cells, bool header) {
    std::string line = header ? "@b" : "";
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += '\t';
        // '@' starts a format in a browser line: "@." ends formatting for this cell.
        if (!cells[i].empty() && cells[i][0] == '@')
            line += "@.";
        line += cells[i];
    }
    return line;
}
} // namespace

FltkDialog::FltkDialog(const DialogTemplate& form, DialogHandler& handler, int x, int y)
    : form_(form), handler_(handler) {
    Fl_Group* saved = Fl_Group::current();
    Fl_Group::current(nullptr);
    window_ = x >= 0 && y >= 0 ? new Fl_Window(x, y, form.width, form.height)
                               : new Fl_Window(form.width, form.height);
    window_->copy_label(form.title.c_str());
    window_->begin();
    for (const ControlTemplate& c : form.controls) {
        auto control = std::make_unique<Control>();
        control->dialog = this;
        control->description = c;
        Fl_Widget* w = nullptr;
        switch (c.kind) {
        case ControlKind::Label: {
            auto* box = new Fl_Box(c.x, c.y, c.width, c.height);
            box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
            box->copy_label(c.text.c_str());
            w = box;
            break;
        }
        case ControlKind::GroupBox: {
            auto* box = new Fl_Box(FL_ENGRAVED_FRAME, c.x, c.y, c.width, c.height, nullptr);
            box->align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE);
            box->copy_label(c.text.c_str());
            box->labelsize(12);
            w = box;
            break;
        }
        case ControlKind::Edit: {
            auto* input = new Fl_Input(c.x + c.labelWidth, c.y, c.width - c.labelWidth, c.height);
            input->copy_label(c.text.c_str());
            input->align(FL_ALIGN_LEFT);
            w = input;
            break;
        }
        case ControlKind::Button:
            w = new Fl_Button(c.x, c.y, c.width, c.height);
            w->copy_label(c.text.c_str());
            break;
        case ControlKind::RadioButton:
            // Toggle buttons: the group is kept by `group`, not by FLTK's parent group.
            w = new Fl_Round_Button(c.x, c.y, c.width, c.height);
            w->copy_label(c.text.c_str());
            break;
        case ControlKind::CheckBox:
            w = new Fl_Check_Button(c.x, c.y, c.width, c.height);
            w->copy_label(c.text.c_str());
            break;
        case ControlKind::ComboBox: {
            auto* choice = new Fl_Choice(c.x, c.y, c.width, c.height);
            for (const std::string& item : c.items)
                choice->add(menuLabel(item).c_str());
            if (!c.items.empty())
                choice->value(0);
            w = choice;
            break;
        }
        case ControlKind::ListView: {
            auto* list = new Fl_Hold_Browser(c.x, c.y, c.width, c.height);
            const int n = static_cast<int>(std::max<std::size_t>(1, c.items.size()));
            for (int i = 0; i + 1 < n; ++i)
                control->columnWidths.push_back(c.width / n);
            control->columnWidths.push_back(0);
            list->column_widths(control->columnWidths.data());
            list->column_char('\t');
            if (!c.items.empty())
                list->add(browserLine(c.items, true).c_str());
            w = list;
            break;
        }
        }
        w->labelsize(c.kind == ControlKind::GroupBox ? 12 : 13);
        if (c.kind != ControlKind::Label && c.kind != ControlKind::GroupBox &&
            c.kind != ControlKind::Edit)
            w->callback(&FltkDialog::onWidget, control.get());
        control->widget = w;
        const int key = c.id != 0 ? c.id : -static_cast<int>(controls_.size()) - 1;
        controls_[key] = std::move(control);
    }
    window_->end();
    window_->callback(&FltkDialog::onWindow, this);
    window_->set_non_modal(); // stays above the main window, which stays usable
    window_->show();
    setUtf8TitleProperties(window_);
    Fl_Group::current(saved);
}

FltkDialog::~FltkDialog() {
    if (window_) {
        window_->hide();
        window_->callback(static_cast<Fl_Callback*>(nullptr), nullptr);
        for (auto& [id, c] : controls_)
            c->widget->callback(static_cast<Fl_Callback*>(nullptr), nullptr);
        // Deferred: this may run inside one of the window's own callbacks.
        Fl::delete_widget(window_);
    }
}

FltkDialog::Control* FltkDialog::find(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() || id == 0 ? nullptr : it->second.get();
}

void FltkDialog::onWidget(Fl_Widget*, void* data) {
    auto* c = static_cast<Control*>(data);
    FltkDialog* d = c->dialog;
    const int id = c->description.id;
    if (c->description.kind == ControlKind::RadioButton)
        d->setChecked(id, true); // a click on a chosen radio button keeps it chosen
    if (id != 0)
        d->handler_.onCommand(*d, id); // `d` may be destroyed from here on
}

void FltkDialog::onWindow(Fl_Widget*, void* data) {
    // FLTK closes a window on Escape; a Windows modeless dialog does not, and the
    // viewer's users press Escape to clear a selection.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
        return;
    auto* d = static_cast<FltkDialog*>(data);
    d->handler_.onClose(*d); // normally destroys `d`
}

std::string FltkDialog::text(int id) const {
    Control* c = find(id);
    if (!c)
        return {};
    if (c->description.kind == ControlKind::Edit)
        return static_cast<Fl_Input*>(c->widget)->value();
    return c->widget->label() ? c->widget->label() : "";
}

void FltkDialog::setText(int id, const std::string& utf8) {
    Control* c = find(id);
    if (!c)
        return;
    if (c->description.kind == ControlKind::Edit)
        static_cast<Fl_Input*>(c->widget)->value(utf8.c_str());
    else
        c->widget->copy_label(utf8.c_str());
    c->widget->redraw();
    if (c->description.kind == ControlKind::Label)
        window_->redraw(); // the old text's background belongs to the window
}

bool FltkDialog::checked(int id) const {
    Control* c = find(id);
    if (!c || (c->description.kind != ControlKind::RadioButton &&
               c->description.kind != ControlKind::CheckBox))
        return false;
    return static_cast<Fl_Button*>(c->widget)->value() != 0;
}

void FltkDialog::setChecked(int id, bool on) {
    Control* c = find(id);
    if (!c || (c->description.kind != ControlKind::RadioButton &&
               c->description.kind != ControlKind::CheckBox))
        return;
    if (on && c->description.kind == ControlKind::RadioButton)
        for (auto& [other, oc] : controls_)
            if (oc.get() != c && oc->description.kind == ControlKind::RadioButton &&
                oc->description.group == c->description.group)
                static_cast<Fl_Button*>(oc->widget)->value(0);
    static_cast<Fl_Button*>(c->widget)->value(on ? 1 : 0);
}

void FltkDialog::setEnabled(int id, bool on) {
    if (Control* c = find(id)) {
        if (on)
            c->widget->activate();
        else
            c->widget->deactivate();
    }
}

int FltkDialog::selection(int id) const {
    Control* c = find(id);
    if (!c)
        return -1;
    if (c->description.kind == ControlKind::ComboBox)
        return static_cast<Fl_Choice*>(c->widget)->value();
    if (c->description.kind == ControlKind::ListView) {
        const int line = static_cast<Fl_Hold_Browser*>(c->widget)->value(); // 1-based, 0: none
        const int first = c->description.items.empty() ? 1 : 2;             // past the header
        return line >= first ? line - first : -1;
    }
    return -1;
}

void FltkDialog::setSelection(int id, int index) {
    Control* c = find(id);
    if (!c)
        return;
    if (c->description.kind == ControlKind::ComboBox)
        static_cast<Fl_Choice*>(c->widget)->value(index);
    else if (c->description.kind == ControlKind::ListView) {
        auto* list = static_cast<Fl_Hold_Browser*>(c->widget);
        const int first = c->description.items.empty() ? 1 : 2;
        list->value(index < 0 ? 0 : index + first);
    }
}

void FltkDialog::setItems(int id, const std::vector<std::string>& items) {
    Control* c = find(id);
    if (!c || c->description.kind != ControlKind::ComboBox)
        return;
    auto* choice = static_cast<Fl_Choice*>(c->widget);
    choice->clear();
    for (const std::string& item : items)
        choice->add(menuLabel(item).c_str());
    if (!items.empty())
        choice->value(0);
    choice->redraw();
}

void FltkDialog::setRows(int id, const std::vector<std::vector<std::string>>& rows) {
    Control* c = find(id);
    if (!c || c->description.kind != ControlKind::ListView)
        return;
    auto* list = static_cast<Fl_Hold_Browser*>(c->widget);
    list->clear();
    if (!c->description.items.empty())
        list->add(browserLine(c->description.items, true).c_str());
    for (const auto& row : rows)
        list->add(browserLine(row, false).c_str());
}

void FltkDialog::raise() {
    window_->show(); // shows and raises an open window
}

} // namespace shellfem::platform::fltk
