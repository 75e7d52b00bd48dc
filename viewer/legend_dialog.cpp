#include "viewer/legend_dialog.h"

#include "formats/number_format.h"
#include "viewer/contour/selection_file.h"

namespace shellfem::viewer {

LegendDialog::LegendDialog(platform::Gui& gui, Context context)
    : ModelessDialog(gui), context_(std::move(context)) {}

platform::DialogTemplate LegendDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Legend";
    t.width = 300;
    t.height = 250;
    t.label("", 10, 6, 280, 22, kDataRange);
    t.edit(kBands, "Bands (2-20)", 10, 34, 180, 24, 100);
    t.groupBox("Range", 8, 66, 284, 128);
    t.radio(kFromData, 1, "From the data", 18, 86, 260, 22);
    t.radio(kFixed, 1, "Fixed:", 18, 110, 260, 22);
    t.edit(kLow, "Min", 40, 136, 240, 24, 40);
    t.edit(kHigh, "Max", 40, 164, 240, 24, 40);
    t.button(kApply, "Apply", 104, 208, 90, 28);
    t.button(kClose, "Close", 202, 208, 90, 28);
    return t;
}

void LegendDialog::refresh() {
    if (!dialog_)
        return;
    const LegendSettings settings = context_.settings();
    const auto [low, high] = context_.dataRange();
    dialog_->setText(kDataRange,
                     "Shown values: " + formatGeneral(low) + " to " + formatGeneral(high));
    dialog_->setText(kBands, std::to_string(settings.bands));
    dialog_->setChecked(settings.fixedRange ? kFixed : kFromData, true);
    dialog_->setText(kLow, formatGeneral(settings.fixedRange ? settings.low : low));
    dialog_->setText(kHigh, formatGeneral(settings.fixedRange ? settings.high : high));
}

void LegendDialog::onCommand(platform::Dialog& dialog, int controlId) {
    if (controlId == kApply)
        applyFields(dialog);
    else if (controlId == kClose)
        onClose(dialog); // `dialog` is gone after this line
}

void LegendDialog::applyFields(platform::Dialog& dialog) {
    LegendSettings settings = context_.settings();
    int bands = 0;
    if (!parseWholeNumber(dialog.text(kBands), bands) || bands < kFewestBands ||
        bands > kMostBands) {
        gui_.show(platform::kWarningCaption, "Bands: give a whole number from " +
                                                 std::to_string(kFewestBands) + " to " +
                                                 std::to_string(kMostBands) + ".");
        return;
    }
    settings.bands = bands;
    settings.fixedRange = dialog.checked(kFixed);
    if (settings.fixedRange) {
        double low = 0.0, high = 0.0;
        if (!parseDecimal(dialog.text(kLow), low)) {
            gui_.show(platform::kWarningCaption,
                      "Min: \"" + dialog.text(kLow) + "\" is not a number.");
            return;
        }
        if (!parseDecimal(dialog.text(kHigh), high)) {
            gui_.show(platform::kWarningCaption,
                      "Max: \"" + dialog.text(kHigh) + "\" is not a number.");
            return;
        }
        if (!(low < high)) {
            gui_.show(platform::kWarningCaption, "Min must be less than Max.");
            return;
        }
        settings.low = low;
        settings.high = high;
    }
    context_.apply(settings);
}

} // namespace shellfem::viewer
