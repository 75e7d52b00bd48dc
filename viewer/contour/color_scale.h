#pragma once

#include "platform/canvas.h"

#include <string>
#include <vector>

namespace shellfem::viewer {

constexpr int kContourBandCount = 10;
constexpr int kFewestBands = 2;
constexpr int kMostBands = 20;

// The band of `value` between increasing `limits` (band b lies between limits[b] and
// limits[b+1]): a value on an inner limit belongs to the band above it, values outside
// the range to the end bands.
int bandOfValue(const std::vector<double>& limits, double value);

// Equal bands over [min, max] of the shown values, coloured from blue (low) to red (high).
// A constant field (max == min) has a single band.
class ColorScale {
public:
    // `bands` is held to kFewestBands..kMostBands.
    ColorScale(double minValue, double maxValue, int bands = kContourBandCount);

    double minValue() const { return limits_.front(); }
    double maxValue() const { return limits_.back(); }
    int bandCount() const { return static_cast<int>(limits_.size()) - 1; }
    // bandCount()+1 increasing values; limits()[0] is the minimum, the last the maximum.
    const std::vector<double>& limits() const { return limits_; }
    // The band holding `value`; values below or above the range go to the end bands.
    int bandOf(double value) const { return bandOfValue(limits_, value); }
    platform::Color bandColor(int band) const;

private:
    std::vector<double> limits_;
};

// How the user set up the legend: the number of bands and a range of their own, or the
// range of the shown values. The settings outlive changes of the shown component.
struct LegendSettings {
    int bands = kContourBandCount;
    bool fixedRange = false;
    double low = 0.0;
    double high = 0.0;
};

// The scale the settings give for data between dataMin and dataMax.
ColorScale scaleFor(const LegendSettings& settings, double dataMin, double dataMax);

// The limits as the legend labels them: the fewest significant digits (3 to 8) that tell
// neighbouring limits apart, and 0 for a limit that is zero but for round-off.
std::vector<std::string> limitLabels(const std::vector<double>& limits);

// Blue (0) through cyan, green and yellow to red (1); t is clamped to [0, 1].
platform::Color rainbowColor(double t);

} // namespace shellfem::viewer
