#include "viewer/contour/contour_legend.h"

#include "formats/number_format.h"
#include "viewer/contour/plot_colors.h"

#include <algorithm>

namespace shellfem::viewer {

namespace {

constexpr double kMargin = 10.0;
constexpr double kBoxWidth = 20.0;
constexpr double kLabelGap = 6.0;
constexpr double kLargestBoxHeight = 24.0;
constexpr double kSmallestBoxHeight = 4.0;
constexpr int kTitleFontSize = 14;
constexpr int kLabelFontSize = 12;
constexpr double kTitleLineHeight = kTitleFontSize + 6.0;
constexpr double kLabelLineHeight = kLabelFontSize + 6.0;

} // namespace

void drawContourLegend(platform::Canvas& canvas, const ColorScale& scale, const LegendText& text,
                       platform::Color background) {
    const platform::Color ink = contrastingColor(background);
    const double panelLeft = canvas.width() - kLegendWidthPixels;
    canvas.setBrush(background);
    canvas.rectangle({panelLeft, 0},
                     {static_cast<double>(canvas.width()), static_cast<double>(canvas.height())},
                     true, false);
    canvas.setPen({mutedColor(background), 1, platform::LineStyle::Solid});
    canvas.line({panelLeft, 0}, {panelLeft, static_cast<double>(canvas.height())});

    const double left = panelLeft + kMargin;
    canvas.setTextColor(ink);
    canvas.setFont({"", kTitleFontSize});
    double y = kMargin;
    for (const std::string& line : text.title) {
        canvas.text({left, y}, line);
        y += kTitleLineHeight;
    }
    const double boxesTop = y + kLabelFontSize / 2.0; // room for the top label
    const int bands = scale.bandCount();
    const double roomBelow = (2 + text.notes.size()) * kLabelLineHeight + 2 * kMargin;
    const double room = canvas.height() - boxesTop - roomBelow;
    const double boxHeight = std::clamp(room / bands, kSmallestBoxHeight, kLargestBoxHeight);
    canvas.setPen({ink, 1, platform::LineStyle::Solid});
    // The highest band on top, as values grow upwards.
    for (int band = 0; band < bands; ++band) {
        const double top = boxesTop + (bands - 1 - band) * boxHeight;
        canvas.setBrush(scale.bandColor(band));
        canvas.rectangle({left, top}, {left + kBoxWidth, top + boxHeight}, true, true);
    }
    // Each limit is labelled at the edge it forms between two boxes.
    canvas.setFont({"", kLabelFontSize});
    const std::vector<std::string> labels = limitLabels(scale.limits());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const double edge = boxesTop + (static_cast<double>(bands) - i) * boxHeight;
        canvas.text({left + kBoxWidth + kLabelGap, edge - kLabelFontSize / 2.0}, labels[i]);
    }
    y = boxesTop + bands * boxHeight + kMargin;
    // "+ 0.0" turns a negative zero, which the files hold, into 0.
    canvas.text({left, y}, "Min = " + formatGeneral(text.dataMin + 0.0));
    y += kLabelLineHeight;
    canvas.text({left, y}, "Max = " + formatGeneral(text.dataMax + 0.0));
    for (const std::string& note : text.notes) {
        y += kLabelLineHeight;
        canvas.text({left, y}, note);
    }
}

} // namespace shellfem::viewer
