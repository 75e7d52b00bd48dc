#pragma once

#include "platform/dialog.h"
#include "platform/gui.h"

#include <memory>

namespace shellfem::viewer {

// One modeless dialog of the viewer: opened once (opening it again brings it to the front),
// shown afresh by refresh(), and destroyed by its Close button or its title bar.
class ModelessDialog : public platform::DialogHandler {
public:
    explicit ModelessDialog(platform::Gui& gui) : gui_(gui) {}

    void open() {
        if (!dialog_)
            dialog_ = gui_.openModeless(form(), *this);
        else
            dialog_->raise();
        refresh();
    }
    bool isOpen() const { return dialog_ != nullptr; }
    void close() { dialog_.reset(); }
    platform::Dialog* dialog() { return dialog_.get(); }

    // Shows the current values in the open dialog; nothing when it is closed.
    virtual void refresh() {}
    virtual platform::DialogTemplate form() const = 0;

    void onClose(platform::Dialog&) override {
        close();
        closed();
    }

protected:
    // After the dialog went away.
    virtual void closed() {}

    platform::Gui& gui_;
    std::unique_ptr<platform::Dialog> dialog_;
};

} // namespace shellfem::viewer
