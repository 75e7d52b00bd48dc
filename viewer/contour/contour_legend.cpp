#include "viewer/contour/contour_legend.h"

#include "formats/number_format.h"
#include "viewer/contour/plot_colors.h"

#include <algorithm>

namespace shellfem::viewer {

namespace {

constexpr double kMargin = 10.0;
constexpr double kBoxWidth = 20.0;
constexpr double kLabelGap = 6.0;
constexpr double kBoxesTop = 36.0;
constexpr double kLargestBoxHeight = 24.0;
constexpr double kSmallestBoxHeight = 4.0;
constexpr double kRoomBelowBoxes = 50.0; // for the minimum and maximum lines
constexpr int kTitleFontSize = 14;
constexpr int kLabelFontSize = 12;

} // namespace

void drawContourLegend(platform::Canvas& canvas, const ColorScale& scale, const std::string& title,
                       platform::Color background) {
    const platform::Color ink = contrastingColor(background);
    const double left = canvas.width() - kLegendWidthPixels + kMargin;
    canvas.setTextColor(ink);
    canvas.setFont({"", kTitleFontSize});
    canvas.text({left, kMargin}, title);

    const int bands = scale.bandCount();
    const double room = canvas.height() - kBoxesTop - kRoomBelowBoxes;
    const double boxHeight = std::clamp(room / bands, kSmallestBoxHeight, kLargestBoxHeight);
    canvas.setPen({ink, 1, platform::LineStyle::Solid});
    // The highest band on top, as values grow upwards.
    for (int band = 0; band < bands; ++band) {
        const double top = kBoxesTop + (bands - 1 - band) * boxHeight;
        canvas.setBrush(scale.bandColor(band));
        canvas.rectangle({left, top}, {left + kBoxWidth, top + boxHeight}, true, true);
    }
    // Each limit is labelled at the edge it forms between two boxes.
    canvas.setFont({"", kLabelFontSize});
    const std::vector<double>& limits = scale.limits();
    for (std::size_t i = 0; i < limits.size(); ++i) {
        const double edge = kBoxesTop + (static_cast<double>(bands) - i) * boxHeight;
        canvas.text({left + kBoxWidth + kLabelGap, edge - kLabelFontSize / 2.0},
                    formatGeneral(limits[i]));
    }
    const double below = kBoxesTop + bands * boxHeight + kMargin;
    canvas.text({left, below}, "Min = " + formatGeneral(scale.minValue()));
    canvas.text({left, below + kLabelFontSize + 6.0}, "Max = " + formatGeneral(scale.maxValue()));
}

} // namespace shellfem::viewer
