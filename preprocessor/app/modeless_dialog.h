#pragma once

#include "platform/dialog.h"
#include "preprocessor/app/editing_context.h"

#include <memory>

namespace shellfem::preprocessor::app {

// The shared life of the pre-processor's modeless dialogs: one window at most,
// opened beside the main window (or raised when it is open already), filled by
// refresh() whenever the model, the picks or the mode change, and closed by its
// Close button or the title-bar button.
//
// A dialog derives from it and supplies its form, its refresh and its buttons:
//
//     class CreateGeoPtDialog : public ModelessDialog {
//         platform::DialogTemplate form() const override;
//         void show(platform::Dialog& dialog) override;            // lists, labels
//         void onButton(platform::Dialog& dialog, int id) override; // read fields, edit
//     };
//
// Tests open it through the application's command and drive the fake dialog
// (platform::FakeDialog: type, press, choose, closeByUser).
class ModelessDialog : public platform::DialogHandler {
public:
    explicit ModelessDialog(EditingContext& context) : context_(context) {}
    ~ModelessDialog() override = default;

    void open();  // opens or raises, then refreshes
    void close(); // destroys the window; the dialog object stays for the next open
    bool isOpen() const { return dialog_ != nullptr; }
    void refresh(); // shows the model, picks and mode again; nothing when closed
    platform::Dialog* dialog() { return dialog_.get(); }

    // The template's title, which the fake GUI finds dialogs by.
    std::string title() const { return form().title; }

    void onCommand(platform::Dialog& dialog, int controlId) final;
    void onClose(platform::Dialog& dialog) final;

    // Every dialog's Close button.
    static constexpr int kClose = 2;

protected:
    virtual platform::DialogTemplate form() const = 0;
    // Fills the fields once when the window opens (start values).
    virtual void onOpened(platform::Dialog& /*dialog*/) {}
    // Shows what the dialog lists or labels from the context.
    virtual void show(platform::Dialog& dialog) = 0;
    // A button, radio button or check box other than Close.
    virtual void onButton(platform::Dialog& dialog, int controlId) = 0;

    EditingContext& context() { return context_; }
    const EditingContext& context() const { return context_; }

private:
    EditingContext& context_;
    std::unique_ptr<platform::Dialog> dialog_;
};

} // namespace shellfem::preprocessor::app
