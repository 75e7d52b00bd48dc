#pragma once

#include "platform/canvas.h"

#include <vector>

namespace shellfem::viewer {

constexpr int kContourBandCount = 10;

// The band of `value` between increasing `limits` (band b lies between limits[b] and
// limits[b+1]): a value on an inner limit belongs to the band above it, values outside
// the range to the end bands.
int bandOfValue(const std::vector<double>& limits, double value);

// Equal bands over [min, max] of the shown values, coloured from blue (low) to red (high).
// A constant field (max == min) has a single band.
class ColorScale {
public:
    ColorScale(double minValue, double maxValue);

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

// Blue (0) through cyan, green and yellow to red (1); t is clamped to [0, 1].
platform::Color rainbowColor(double t);

} // namespace shellfem::viewer
