#pragma once

#include "platform/dialog.h"

#include <map>
#include <memory>

class Fl_Window;
class Fl_Widget;

namespace shellfem::platform::fltk {

// A modeless dialog built from a template with FLTK widgets. It stays above
// the program's main window (non-modal) and is destroyed with this object.
class FltkDialog : public Dialog {
public:
    // Placed with its top-left corner at (x, y) on the screen, or where the window system likes.
    FltkDialog(const DialogTemplate& form, DialogHandler& handler, int x = -1, int y = -1);
    ~FltkDialog() override;

    std::string text(int id) const override;
    void setText(int id, const std::string& utf8) override;
    bool checked(int id) const override;
    void setChecked(int id, bool on) override;
    void setEnabled(int id, bool on) override;
    int selection(int id) const override;
    void setSelection(int id, int index) override;
    void setItems(int id, const std::vector<std::string>& items) override;
    void setRows(int id, const std::vector<std::vector<std::string>>& rows) override;
    void raise() override;

    struct Control;

private:
    static void onWidget(Fl_Widget* w, void* data);
    static void onWindow(Fl_Widget* w, void* data);
    Control* find(int id) const;

    DialogTemplate form_;
    DialogHandler& handler_;
    Fl_Window* window_ = nullptr;
    std::map<int, std::unique_ptr<Control>> controls_;
};

// Escapes '/', '&', '\\' and '_' so that a text shows as it is in an FLTK menu or choice.
std::string menuLabel(const std::string& text);

} // namespace shellfem::platform::fltk
