#include "preprocessor/app/modeless_dialog.h"

namespace shellfem::preprocessor::app {

void ModelessDialog::open() {
    if (dialog_) {
        dialog_->raise();
    } else {
        dialog_ = context_.openDialog(form(), *this);
        if (!dialog_)
            return;
        onOpened(*dialog_);
    }
    refresh();
}

void ModelessDialog::close() {
    dialog_.reset();
}

void ModelessDialog::refresh() {
    if (dialog_)
        show(*dialog_);
}

void ModelessDialog::onCommand(platform::Dialog& dialog, int controlId) {
    if (controlId == kClose)
        close(); // `dialog` is gone after this line
    else
        onButton(dialog, controlId);
}

void ModelessDialog::onClose(platform::Dialog&) {
    close();
}

} // namespace shellfem::preprocessor::app
