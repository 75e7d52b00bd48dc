#pragma once

#include "common/outcome.h"
#include "viewer/modeless_dialog.h"
#include "viewer/picture_export.h"

#include <functional>
#include <string>
#include <utility>

namespace shellfem::viewer {

// The Save Picture dialog: the drawing area with its legend as a PNG image at the window's
// size or two to four times it, or as an SVG drawing.
class PictureDialog : public ModelessDialog {
public:
    enum Control {
        kSize = 2301,
        kPng = 2302,
        kSvg = 2303,
        kSave = 2304,
        kClose = 2305,
    };
    static constexpr int kLargestScale = 4;

    struct Context {
        std::function<std::pair<int, int>()> areaSize; // the drawing area in pixels
        // Writes the picture; the outcome's message is shown either way.
        std::function<Outcome(const std::string& path, PictureFormat format, int scale)> save;
    };

    PictureDialog(platform::Gui& gui, Context context);

    platform::DialogTemplate form() const override;
    void refresh() override;
    void onCommand(platform::Dialog& dialog, int controlId) override;

private:
    void save(platform::Dialog& dialog);

    Context context_;
};

} // namespace shellfem::viewer
