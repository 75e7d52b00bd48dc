#include "viewer/contour/color_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <tuple>

namespace shellfem::viewer {
namespace {

TEST(ColorScale, LimitsRiseEvenlyFromMinimumToMaximum) {
    for (auto [low, high] : {std::pair{-3.0, 7.0}, {0.1, 0.3}, {-1e9, -1e-9}, {1e-300, 2e-300}}) {
        const ColorScale scale(low, high);
        ASSERT_GE(scale.bandCount(), 9);
        ASSERT_LE(scale.bandCount(), 12);
        const std::vector<double>& limits = scale.limits();
        ASSERT_EQ(limits.size(), static_cast<std::size_t>(scale.bandCount()) + 1);
        EXPECT_EQ(limits.front(), low);
        EXPECT_EQ(limits.back(), high);
        const double width = (high - low) / scale.bandCount();
        for (std::size_t i = 1; i < limits.size(); ++i) {
            EXPECT_LT(limits[i - 1], limits[i]);
            EXPECT_NEAR(limits[i] - limits[i - 1], width, 1e-9 * width);
        }
    }
}

TEST(ColorScale, ValuesFallIntoTheirBandsAndOutsidersIntoTheEndBands) {
    const ColorScale scale(0.0, 100.0);
    const int last = scale.bandCount() - 1;
    EXPECT_EQ(scale.bandOf(0.0), 0);
    EXPECT_EQ(scale.bandOf(100.0), last);
    EXPECT_EQ(scale.bandOf(-5.0), 0);
    EXPECT_EQ(scale.bandOf(1e9), last);
    for (int band = 0; band <= last; ++band) {
        const double middle = 0.5 * (scale.limits()[band] + scale.limits()[band + 1]);
        EXPECT_EQ(scale.bandOf(middle), band);
    }
}

TEST(ColorScale, ColoursRunFromBlueToRedAndDifferBetweenBands) {
    const ColorScale scale(-1.0, 1.0);
    EXPECT_EQ(scale.bandColor(0), (platform::Color{0, 0, 255}));
    EXPECT_EQ(scale.bandColor(scale.bandCount() - 1), (platform::Color{255, 0, 0}));
    std::set<std::tuple<int, int, int>> distinct;
    for (int band = 0; band < scale.bandCount(); ++band) {
        const platform::Color c = scale.bandColor(band);
        distinct.insert({c.r, c.g, c.b});
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(scale.bandCount()));
}

TEST(ColorScale, ConstantFieldHasOneBand) {
    const ColorScale scale(4.5, 4.5);
    ASSERT_EQ(scale.bandCount(), 1);
    EXPECT_EQ(scale.minValue(), 4.5);
    EXPECT_EQ(scale.maxValue(), 4.5);
    EXPECT_EQ(scale.bandOf(4.5), 0);
    EXPECT_EQ(scale.bandOf(-1.0), 0);
    EXPECT_EQ(scale.bandOf(99.0), 0);
}

TEST(ColorScale, ReversedOrNonFiniteRangeStillGivesAUsableScale) {
    const ColorScale reversed(10.0, -10.0);
    EXPECT_EQ(reversed.minValue(), -10.0);
    EXPECT_EQ(reversed.maxValue(), 10.0);
    const ColorScale broken(std::numeric_limits<double>::quiet_NaN(), 1.0);
    EXPECT_EQ(broken.bandCount(), 1);
    EXPECT_TRUE(std::isfinite(broken.minValue()));
}

TEST(ColorScale, BandCountFollowsTheSettingWithinTwoToTwenty) {
    EXPECT_EQ(ColorScale(0, 1, 2).bandCount(), 2);
    EXPECT_EQ(ColorScale(0, 1, 20).bandCount(), 20);
    EXPECT_EQ(ColorScale(0, 1, 1).bandCount(), 2);
    EXPECT_EQ(ColorScale(0, 1, 500).bandCount(), 20);
    const ColorScale twenty(0, 1, 20);
    EXPECT_EQ(twenty.bandColor(0), (platform::Color{0, 0, 255}));
    EXPECT_EQ(twenty.bandColor(19), (platform::Color{255, 0, 0}));
}

TEST(ColorScale, FixedRangeReplacesTheDataRangeOnlyWhenItIsOne) {
    const LegendSettings fromData{8, false, -5.0, 5.0};
    EXPECT_EQ(scaleFor(fromData, 1.0, 3.0).minValue(), 1.0);
    EXPECT_EQ(scaleFor(fromData, 1.0, 3.0).bandCount(), 8);
    const LegendSettings fixed{8, true, -5.0, 5.0};
    EXPECT_EQ(scaleFor(fixed, 1.0, 3.0).minValue(), -5.0);
    EXPECT_EQ(scaleFor(fixed, 1.0, 3.0).maxValue(), 5.0);
    const LegendSettings empty{8, true, 5.0, 5.0}; // no range: the data's
    EXPECT_EQ(scaleFor(empty, 1.0, 3.0).maxValue(), 3.0);
}

TEST(LimitLabels, TakeTheFewestDigitsThatTellTheLimitsApart) {
    const auto labels = [](double low, double high, int bands) {
        return limitLabels(ColorScale(low, high, bands).limits());
    };
    // Se of the bundled plate: three digits are enough.
    const std::vector<std::string> plate = labels(318424, 3305610, 10);
    EXPECT_EQ(plate.front(), "3.18e+05");
    EXPECT_EQ(plate.back(), "3.31e+06");
    // A narrow range far from zero needs more; every label stays distinct and close.
    const std::vector<double> narrow = ColorScale(100.0, 100.1, 10).limits();
    const std::vector<std::string> narrowLabels = limitLabels(narrow);
    EXPECT_EQ(narrowLabels[1], "100.01");
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        EXPECT_NEAR(std::stod(narrowLabels[i]), narrow[i], 0.05 * 0.01);
        if (i > 0) {
            EXPECT_NE(narrowLabels[i], narrowLabels[i - 1]);
        }
    }
    // A limit that is zero but for round-off reads 0.
    const std::vector<std::string> symmetric = labels(-0.3, 0.3, 6);
    EXPECT_EQ(symmetric[3], "0");
    EXPECT_EQ(symmetric[1], "-0.2");
    EXPECT_EQ(labels(4.5, 4.5, 10), (std::vector<std::string>{"4.5", "4.5"}));
}

} // namespace
} // namespace shellfem::viewer
