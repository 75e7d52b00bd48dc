#include "viewer/deformation_dialog.h"

#include "formats/number_format.h"
#include "viewer/contour/selection_file.h"

#include <utility>

namespace shellfem::viewer {

DeformationDialog::DeformationDialog(platform::Gui& gui, Context context)
    : ModelessDialog(gui), context_(std::move(context)) {}

platform::DialogTemplate DeformationDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Deformed Shape";
    t.width = 300;
    t.height = 150;
    t.label("", 10, 6, 280, 44, kInfo);
    t.edit(kScale, "Scale factor", 10, 56, 280, 24, 90);
    t.button(kApply, "Apply", 10, 108, 86, 28);
    t.button(kDefault, "Default", 106, 108, 86, 28);
    t.button(kClose, "Close", 204, 108, 86, 28);
    return t;
}

void DeformationDialog::refresh() {
    if (!dialog_)
        return;
    dialog_->setText(kInfo, "The default " + formatGeneral(context_.defaultScale()) +
                                " draws the largest translation at 5 % of the model size.");
    dialog_->setText(kScale, formatGeneral(context_.scale()));
}

void DeformationDialog::onCommand(platform::Dialog& dialog, int controlId) {
    switch (controlId) {
    case kApply: {
        double scale = 0.0;
        if (!parseDecimal(dialog.text(kScale), scale)) {
            gui_.show(platform::kWarningCaption,
                      "Scale factor: \"" + dialog.text(kScale) + "\" is not a number.");
            return;
        }
        context_.apply(scale);
        break;
    }
    case kDefault:
        context_.apply(context_.defaultScale());
        break;
    case kClose:
        onClose(dialog); // `dialog` is gone after this line
        return;
    default:
        return;
    }
    refresh();
}

} // namespace shellfem::viewer
