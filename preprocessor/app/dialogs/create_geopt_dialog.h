#pragma once

#include "preprocessor/app/modeless_dialog.h"

namespace shellfem::preprocessor::app {

// Create GeoPt: the coordinates x, y and z of a new geometric point, Add, and
// the list of every point. Choosing a row copies its coordinates into the
// fields, so that a point near another is quickly made.
class CreateGeoPtDialog : public ModelessDialog {
public:
    enum Control { kX = 1101, kY = 1102, kZ = 1103, kAdd = 1104, kList = 1105 };

    using ModelessDialog::ModelessDialog;

protected:
    platform::DialogTemplate form() const override;
    void onOpened(platform::Dialog& dialog) override;
    void show(platform::Dialog& dialog) override;
    void onButton(platform::Dialog& dialog, int controlId) override;

private:
    void add(platform::Dialog& dialog);
    void copyRowToFields(platform::Dialog& dialog);
};

} // namespace shellfem::preprocessor::app
