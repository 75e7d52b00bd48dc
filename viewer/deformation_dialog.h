#pragma once

#include "viewer/modeless_dialog.h"

#include <functional>

namespace shellfem::viewer {

// The Deformed Shape dialog: the factor the translations are drawn with, which starts as
// the one that draws the largest translation at 5 % of the model size.
class DeformationDialog : public ModelessDialog {
public:
    enum Control {
        kInfo = 2201,
        kScale = 2202,
        kApply = 2203,
        kDefault = 2204,
        kClose = 2205,
    };

    struct Context {
        std::function<double()> scale;
        std::function<double()> defaultScale;
        std::function<void(double)> apply; // shows the deformed shape with that factor
    };

    DeformationDialog(platform::Gui& gui, Context context);

    platform::DialogTemplate form() const override;
    void refresh() override;
    void onCommand(platform::Dialog& dialog, int controlId) override;

private:
    Context context_;
};

} // namespace shellfem::viewer
