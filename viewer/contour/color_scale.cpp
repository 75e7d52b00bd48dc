#include "viewer/contour/color_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace shellfem::viewer {

ColorScale::ColorScale(double minValue, double maxValue, int bands) {
    if (!std::isfinite(minValue) || !std::isfinite(maxValue))
        minValue = maxValue = 0.0;
    if (minValue > maxValue)
        std::swap(minValue, maxValue);
    if (minValue == maxValue) {
        limits_ = {minValue, maxValue};
        return;
    }
    bands = std::clamp(bands, kFewestBands, kMostBands);
    limits_.resize(static_cast<std::size_t>(bands) + 1);
    const double span = maxValue - minValue;
    for (int i = 0; i <= bands; ++i)
        limits_[static_cast<std::size_t>(i)] = minValue + span * i / bands;
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

ColorScale scaleFor(const LegendSettings& settings, double dataMin, double dataMax) {
    if (settings.fixedRange && settings.low < settings.high)
        return ColorScale(settings.low, settings.high, settings.bands);
    return ColorScale(dataMin, dataMax, settings.bands);
}

namespace {

std::string withDigits(double value, int digits) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    return buffer;
}

} // namespace

std::vector<std::string> limitLabels(const std::vector<double>& limits) {
    if (limits.empty())
        return {};
    const double span = limits.back() - limits.front();
    const double step = limits.size() > 1 ? span / static_cast<double>(limits.size() - 1) : 0.0;
    std::vector<double> shown = limits;
    for (double& v : shown)
        if (std::fabs(v) <= 1e-9 * span)
            v = 0.0;
    std::vector<std::string> labels(shown.size());
    for (int digits = 3; digits <= 8; ++digits) {
        // Enough digits when every label reads back within a twentieth of a band.
        bool enough = true;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            labels[i] = withDigits(shown[i], digits);
            enough = enough &&
                     std::fabs(std::strtod(labels[i].c_str(), nullptr) - shown[i]) <= 0.05 * step;
        }
        if (enough)
            break;
    }
    return labels;
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
