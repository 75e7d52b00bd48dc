#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace shellfem::platform {

// A modeless dialog described like a Windows dialog template: a list of
// controls, each with a numeric identifier, placed in pixels. The toolkit
// layer (platform/fltk) builds it; programs only see the Dialog interface.
enum class ControlKind {
    Label,       // static text
    GroupBox,    // a framed caption around other controls
    Edit,        // one-line edit field; `text` is its label, placed left of the field
    Button,      // push button: onCommand when pressed
    RadioButton, // exclusive within its `group` (non-zero); onCommand when chosen
    CheckBox,    // onCommand when toggled
    ComboBox,    // drop-down list of `items`; onCommand when the choice changes
    ListView,    // rows of columns (`items` are the column titles); onCommand on a selection
};

struct ControlTemplate {
    ControlKind kind = ControlKind::Label;
    int id = 0; // 0 for controls the program never addresses
    std::string text;
    int x = 0, y = 0, width = 0, height = 0;
    int group = 0;      // radio buttons of one group share a number
    int labelWidth = 0; // Edit: width of the label left of the field (inside x..x+width)
    std::vector<std::string> items; // ComboBox entries, or ListView column titles
};

struct DialogTemplate {
    std::string title;
    int width = 300;
    int height = 200;
    std::vector<ControlTemplate> controls;

    // Small builder helpers, so that dialogs read like their templates.
    ControlTemplate& label(std::string text, int x, int y, int w, int h, int id = 0);
    ControlTemplate& groupBox(std::string text, int x, int y, int w, int h);
    ControlTemplate& edit(int id, std::string label, int x, int y, int w, int h, int labelWidth);
    ControlTemplate& button(int id, std::string text, int x, int y, int w, int h);
    ControlTemplate& radio(int id, int group, std::string text, int x, int y, int w, int h);
    ControlTemplate& checkBox(int id, std::string text, int x, int y, int w, int h);
    ControlTemplate& comboBox(int id, std::vector<std::string> items, int x, int y, int w, int h);
    ControlTemplate& listView(int id, std::vector<std::string> columns, int x, int y, int w, int h);
    const ControlTemplate* find(int id) const;
    ControlTemplate& add(ControlKind kind, int id, std::string text, int x, int y, int w, int h);
};

// An open dialog. Control identifiers address its controls; an unknown
// identifier is ignored (setters) or reads as empty/false/-1 (getters).
class Dialog {
public:
    virtual ~Dialog() = default; // closes the dialog's window

    virtual std::string text(int id) const = 0; // edit field or label text
    virtual void setText(int id, const std::string& utf8) = 0;
    virtual bool checked(int id) const = 0;       // radio button or check box
    virtual void setChecked(int id, bool on) = 0; // a radio button clears its group's others
    virtual void setEnabled(int id, bool on) = 0;
    virtual int selection(int id) const = 0; // combo or list row, -1 for none
    virtual void setSelection(int id, int index) = 0;
    virtual void setItems(int id, const std::vector<std::string>& items) = 0; // combo entries
    virtual void setRows(int id, const std::vector<std::vector<std::string>>& rows) = 0; // list
    virtual void raise() = 0; // shows the dialog in front again
};

// The program's side of a dialog: plain C++ that the toolkit calls.
class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    virtual void onCommand(Dialog& dialog, int controlId) = 0;
    // The user closed the window with its title-bar button (Escape does not close
    // a dialog). The handler normally destroys its Dialog object here, as Exit would.
    virtual void onClose(Dialog& dialog) = 0;
};

// Parses "12.5abc" as 12.5 and text without a number as 0, like atof.
inline double plainDecimal(const std::string& text) {
    // "nan", "inf" or an overflow would poison every later computation: they read as 0 too.
    const double value = std::strtod(text.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}
// Formats like printf("%.2lf").
inline std::string twoDecimals(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return buffer;
}

inline ControlTemplate& DialogTemplate::add(ControlKind kind, int id, std::string text, int x,
                                            int y, int w, int h) {
    ControlTemplate c;
    c.kind = kind;
    c.id = id;
    c.text = std::move(text);
    c.x = x;
    c.y = y;
    c.width = w;
    c.height = h;
    controls.push_back(std::move(c));
    return controls.back();
}
inline ControlTemplate& DialogTemplate::label(std::string text, int x, int y, int w, int h,
                                              int id) {
    return add(ControlKind::Label, id, std::move(text), x, y, w, h);
}
inline ControlTemplate& DialogTemplate::groupBox(std::string text, int x, int y, int w, int h) {
    return add(ControlKind::GroupBox, 0, std::move(text), x, y, w, h);
}
inline ControlTemplate& DialogTemplate::edit(int id, std::string label, int x, int y, int w, int h,
                                             int labelWidth) {
    ControlTemplate& c = add(ControlKind::Edit, id, std::move(label), x, y, w, h);
    c.labelWidth = labelWidth;
    return c;
}
inline ControlTemplate& DialogTemplate::button(int id, std::string text, int x, int y, int w,
                                               int h) {
    return add(ControlKind::Button, id, std::move(text), x, y, w, h);
}
inline ControlTemplate& DialogTemplate::radio(int id, int group, std::string text, int x, int y,
                                              int w, int h) {
    ControlTemplate& c = add(ControlKind::RadioButton, id, std::move(text), x, y, w, h);
    c.group = group;
    return c;
}
inline ControlTemplate& DialogTemplate::checkBox(int id, std::string text, int x, int y, int w,
                                                 int h) {
    return add(ControlKind::CheckBox, id, std::move(text), x, y, w, h);
}
inline ControlTemplate& DialogTemplate::comboBox(int id, std::vector<std::string> items, int x,
                                                 int y, int w, int h) {
    ControlTemplate& c = add(ControlKind::ComboBox, id, {}, x, y, w, h);
    c.items = std::move(items);
    return c;
}
inline ControlTemplate& DialogTemplate::listView(int id, std::vector<std::string> columns, int x,
                                                 int y, int w, int h) {
    ControlTemplate& c = add(ControlKind::ListView, id, {}, x, y, w, h);
    c.items = std::move(columns);
    return c;
}
inline const ControlTemplate* DialogTemplate::find(int id) const {
    for (const ControlTemplate& c : controls)
        if (c.id == id && id != 0)
            return &c;
    return nullptr;
}

} // namespace shellfem::platform
