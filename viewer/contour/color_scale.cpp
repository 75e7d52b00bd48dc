#include "viewer/contour/color_scale.h"

#include <algorithm>
#include <cmath>

namespace shellfem::viewer {

ColorScale::ColorScale(double minValue, double maxValue) {
    if (!std::isfinite(minValue) || !std::isfinite(maxValue))
        minValue = maxValue = 0.0;
    if (minValue > maxValue)
        std::swap(minValue, maxValue);
    if (minValue == maxValue) {
        limits_ = {minValue, maxValue};
        return;
    }
    limits_.resize(kContourBandCount + 1);
    const double span = maxValue - minValue;
    for (int i = 0; i <= kContourBandCount; ++i)
        limits_[static_cast<std::size_t>(i)] = minValue + span * i / kContourBandCount;
    // The end limits are the range itself, free of round-off.
    limits_.front() = minValue;
    limits_.back() = maxValue;
}

int bandOfValue(const std::vector<double>& limits, double value) {
    if (limits.size() < 3)
        return 0;
    const auto innerBegin = limits.begin() + 1;
    const auto innerEnd = limits.end() - 1;
    return static_cast<int>(std::upper_bound(innerBegin, innerEnd, value) - innerBegin);
}

platform::Color ColorScale::bandColor(int band) const {
    const int count = bandCount();
    if (count <= 1)
        return rainbowColor(0.5);
    return rainbowColor(static_cast<double>(band) / (count - 1));
}

platform::Color rainbowColor(double t) {
    t = std::clamp(t, 0.0, 1.0);
    const auto level = [](double fraction) {
        return static_cast<unsigned char>(std::lround(255.0 * std::clamp(fraction, 0.0, 1.0)));
    };
    // Four legs: blue to cyan, cyan to green, green to yellow, yellow to red.
    const double s = 4.0 * t;
    if (s < 1.0)
        return {0, level(s), 255};
    if (s < 2.0)
        return {0, 255, level(2.0 - s)};
    if (s < 3.0)
        return {level(s - 2.0), 255, 0};
    return {255, level(4.0 - s), 0};
}

} // namespace shellfem::viewer
