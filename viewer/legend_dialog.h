#pragma once

#include "viewer/contour/color_scale.h"
#include "viewer/modeless_dialog.h"

#include <functional>
#include <utility>

namespace shellfem::viewer {

// The Legend dialog: the number of bands and a range fixed by the user or taken from the
// data. Apply checks the fields and hands the settings over; bad fields are named.
class LegendDialog : public ModelessDialog {
public:
    enum Control {
        kDataRange = 2101,
        kBands = 2102,
        kFromData = 2103,
        kFixed = 2104,
        kLow = 2105,
        kHigh = 2106,
        kApply = 2107,
        kClose = 2108,
    };

    struct Context {
        std::function<LegendSettings()> settings;
        std::function<std::pair<double, double>()> dataRange; // of the shown values
        std::function<void(const LegendSettings&)> apply;
    };

    LegendDialog(platform::Gui& gui, Context context);

    platform::DialogTemplate form() const override;
    void refresh() override;
    void onCommand(platform::Dialog& dialog, int controlId) override;

private:
    void applyFields(platform::Dialog& dialog);

    Context context_;
};

} // namespace shellfem::viewer
