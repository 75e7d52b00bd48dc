#include "viewer/picture_dialog.h"

#include <algorithm>
#include <vector>

namespace shellfem::viewer {

PictureDialog::PictureDialog(platform::Gui& gui, Context context)
    : ModelessDialog(gui), context_(std::move(context)) {}

platform::DialogTemplate PictureDialog::form() const {
    platform::DialogTemplate t;
    t.title = "Save Picture";
    t.width = 300;
    t.height = 170;
    t.label("Size", 10, 10, 40, 24);
    t.comboBox(kSize, {}, 56, 10, 234, 24);
    t.groupBox("Format", 8, 44, 284, 70);
    t.radio(kPng, 1, "PNG image", 18, 62, 260, 22);
    t.radio(kSvg, 1, "SVG drawing (vector)", 18, 86, 260, 22);
    t.button(kSave, "Save...", 104, 128, 90, 28);
    t.button(kClose, "Close", 202, 128, 90, 28);
    return t;
}

void PictureDialog::refresh() {
    if (!dialog_)
        return;
    const auto [width, height] = context_.areaSize();
    const int chosen = std::max(0, dialog_->selection(kSize));
    std::vector<std::string> sizes;
    for (int scale = 1; scale <= kLargestScale; ++scale)
        sizes.push_back(std::to_string(scale) + " x window: " + std::to_string(width * scale) +
                        " x " + std::to_string(height * scale) + " pixels");
    dialog_->setItems(kSize, sizes);
    dialog_->setSelection(kSize, chosen);
    if (!dialog_->checked(kSvg))
        dialog_->setChecked(kPng, true);
}

void PictureDialog::onCommand(platform::Dialog& dialog, int controlId) {
    if (controlId == kSave)
        save(dialog);
    else if (controlId == kClose)
        onClose(dialog); // `dialog` is gone after this line
}

void PictureDialog::save(platform::Dialog& dialog) {
    const PictureFormat format = dialog.checked(kSvg) ? PictureFormat::Svg : PictureFormat::Png;
    const int scale = std::clamp(dialog.selection(kSize) + 1, 1, kLargestScale);
    const bool svg = format == PictureFormat::Svg;
    const std::optional<std::string> path = gui_.chooseFileToSave(
        {"Save picture", svg ? "SVG Drawings (*.svg)" : "PNG Images (*.png)", svg ? "svg" : "png"});
    if (!path)
        return;
    const Outcome saved = context_.save(*path, format, scale);
    if (!saved.ok())
        gui_.show(platform::kWarningCaption, saved.message);
}

} // namespace shellfem::viewer
