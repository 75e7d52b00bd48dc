#include "solver/band_window_ldlt.h"
#include "solver/ldlt_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>
#include <thread>

namespace shellfem {
namespace {

// Column tops of a ragged profile: heights that rise and fall, columns with
// nothing above the diagonal, and runs of equal tops like a node's DOFs.
std::vector<int> raggedTops(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<int> tops(static_cast<std::size_t>(n));
    int band = 1;
    for (int c = 0; c < n; ++c) {
        band = std::clamp(band + static_cast<int>(random() % 9) - 4, 1, 40);
        const bool empty = random() % 11 == 0;
        tops[static_cast<std::size_t>(c)] = empty ? c : std::max(0, c - band);
    }
    if (n > 3)
        tops[3] = 3; // one column of height 1 early on
    return tops;
}

SkylineProfile profileWithTops(const std::vector<int>& tops) {
    SkylineProfile profile(static_cast<int>(tops.size()));
    for (int c = 0; c < static_cast<int>(tops.size()); ++c)
        profile.addCoupling(std::array<int, 2>{tops[static_cast<std::size_t>(c)], c});
    profile.finish();
    return profile;
}

// Random entries in the profile, each diagonal above its row's and column's
// off-diagonal sum: symmetric positive definite.
void fillDominant(SkylineMatrix& K, unsigned seed) {
    const SkylineProfile& profile = K.profile();
    const int n = profile.equations();
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::vector<double> offDiagonal(static_cast<std::size_t>(n), 0.0);
    for (int c = 0; c < n; ++c)
        for (int r = profile.top(c); r < c; ++r) {
            K.at(r, c) = value(random);
            offDiagonal[static_cast<std::size_t>(r)] += std::abs(K.at(r, c));
            offDiagonal[static_cast<std::size_t>(c)] += std::abs(K.at(r, c));
        }
    for (int c = 0; c < n; ++c)
        K.at(c, c) = offDiagonal[static_cast<std::size_t>(c)] + 0.5 + std::abs(value(random));
}

void copyEntries(const SkylineMatrix& from, SkylineMatrix& to) {
    for (int c = 0; c < from.equations(); ++c)
        for (int r = from.profile().top(c); r <= c; ++r)
            to.at(r, c) = from.at(r, c);
}

constexpr SkylineKernel kKernels[] = {SkylineKernel::Panels, SkylineKernel::BandWindow};

FactorizationOptions options(int width, int threads, SkylineKernel kernel) {
    FactorizationOptions o;
    o.panelWidth = o.windowPanelWidth = width;
    o.threads = threads;
    o.kernel = kernel;
    return o;
}

std::string describe(int width, int threads, SkylineKernel kernel) {
    return " width=" + std::to_string(width) + " threads=" + std::to_string(threads) +
           (kernel == SkylineKernel::Panels ? " panels" : " band window");
}

void expectSameFactors(const SkylineMatrix& expected, const SkylineMatrix& actual,
                       const std::string& where) {
    const SkylineProfile& profile = expected.profile();
    for (int c = 0; c < profile.equations(); ++c)
        for (int r = profile.top(c); r <= c; ++r) {
            const double e = expected.at(r, c);
            ASSERT_NEAR(actual.at(r, c), e, 1e-12 * (1.0 + std::abs(e)))
                << where << " entry (" << r << ", " << c << ")";
        }
}

TEST(BlockedLdlt, MatchesTheColumnwiseFactorsOnRaggedProfiles) {
    for (int n : {0, 1, 2, 5, 97, 301, 1500}) {
        const std::vector<int> tops = raggedTops(n, 7u + static_cast<unsigned>(n));
        const SkylineProfile profile = profileWithTops(tops);
        SkylineMatrix original(profile);
        fillDominant(original, 11u + static_cast<unsigned>(n));
        SkylineMatrix reference(profile);
        copyEntries(original, reference);
        ASSERT_FALSE(factorizeLDLTColumnwise(reference));
        // Widths that do not divide n, one wider than n, one column per panel.
        for (SkylineKernel kernel : kKernels)
            for (int width : {1, 5, 13, 48, 400})
                for (int threads : {1, 2, 3}) {
                    SkylineMatrix K(profile);
                    copyEntries(original, K);
                    ASSERT_FALSE(factorizeLDLT(K, options(width, threads, kernel)));
                    expectSameFactors(reference, K,
                                      "n=" + std::to_string(n) + describe(width, threads, kernel));
                }
    }
}

TEST(BlockedLdlt, ReportsTheSameFirstFailingColumnAsTheColumnwiseOne) {
    const int n = 157;
    const SkylineProfile profile = profileWithTops(raggedTops(n, 5u));
    SkylineMatrix original(profile);
    fillDominant(original, 6u);
    // Column 90 indefinite, a later one singular: the first must be reported.
    original.at(90, 90) = -original.at(90, 90);
    original.at(120, 120) = 0.0;
    SkylineMatrix reference(profile);
    copyEntries(original, reference);
    const auto expected = factorizeLDLTColumnwise(reference);
    ASSERT_TRUE(expected);
    ASSERT_EQ(expected->equation, 90);
    for (SkylineKernel kernel : kKernels)
        for (int width : {1, 7, 48})
            for (int threads : {1, 2}) {
                SkylineMatrix K(profile);
                copyEntries(original, K);
                std::vector<int> done;
                const auto failure = factorizeLDLT(K, options(width, threads, kernel),
                                                   [&](int j) { done.push_back(j); });
                ASSERT_TRUE(failure) << describe(width, threads, kernel);
                EXPECT_EQ(failure->equation, 90);
                EXPECT_NEAR(failure->pivot, expected->pivot, 1e-12 * std::abs(expected->pivot));
                EXPECT_EQ(failure->originalDiagonal, expected->originalDiagonal);
                EXPECT_EQ(done.size(), 90u) << "columns before the failing one are reported";
            }
}

TEST(BlockedLdlt, ReportsEveryColumnInOrderFromTheCallingThread) {
    const int n = 203;
    const SkylineProfile profile = profileWithTops(raggedTops(n, 9u));
    for (SkylineKernel kernel : kKernels)
        for (int threads : {1, 2}) {
            SkylineMatrix K(profile);
            fillDominant(K, 10u);
            const std::thread::id caller = std::this_thread::get_id();
            int next = 0;
            ASSERT_FALSE(factorizeLDLT(K, options(12, threads, kernel), [&](int j) {
                EXPECT_EQ(j, next++);
                EXPECT_EQ(std::this_thread::get_id(), caller);
            }));
            EXPECT_EQ(next, n);
        }
}

TEST(BlockedLdlt, PassesOnAnExceptionFromTheProgressCallbackAfterStoppingItsThreads) {
    const SkylineProfile profile = profileWithTops(raggedTops(120, 3u));
    SkylineMatrix K(profile);
    fillDominant(K, 4u);
    int calls = 0;
    const auto stopAt50 = [&](int j) {
        ++calls;
        if (j == 50)
            throw std::runtime_error("stop");
    };
    for (SkylineKernel kernel : kKernels) {
        calls = 0;
        EXPECT_THROW(factorizeLDLT(K, options(16, 2, kernel), stopAt50), std::runtime_error);
        EXPECT_EQ(calls, 51);
    }
}

// A band of tops that lags its column by a steady height, as a mesh numbered
// row by row gives, and the same with a few columns reaching back to row 0.
std::vector<int> bandTops(int n, int height, bool withTallColumns) {
    std::vector<int> tops(static_cast<std::size_t>(n));
    for (int c = 0; c < n; ++c)
        tops[static_cast<std::size_t>(c)] = std::max(0, c - height);
    if (withTallColumns)
        for (int c = n / 4; c < n; c += n / 4)
            tops[static_cast<std::size_t>(c)] = 0;
    return tops;
}

TEST(BlockedLdlt, FlopCountIsTheInnerProductsOfEveryColumnPair) {
    // Column j's entry i is an inner product over the rows both columns hold.
    auto counted = [](const SkylineProfile& profile) {
        double flops = 0.0;
        for (int j = 0; j < profile.equations(); ++j) {
            for (int i = profile.top(j) + 1; i < j; ++i)
                flops += 2.0 * (i - std::max(profile.top(i), profile.top(j)));
            flops += 3.0 * (j - profile.top(j));
        }
        return flops;
    };
    for (const std::vector<int>& tops :
         {raggedTops(700, 4u), bandTops(900, 60, false), bandTops(900, 60, true)}) {
        const SkylineProfile profile = profileWithTops(tops);
        EXPECT_EQ(factorizationFlops(profile), counted(profile));
    }
}

TEST(BlockedLdlt, TakesTheBandWindowForABandButNotForAProfileWithTallColumns) {
    const SkylineProfile band = profileWithTops(bandTops(6000, 600, false));
    EXPECT_TRUE(bandWindowPays(band, planBandWindow(band, 64)));
    const SkylineProfile tall = profileWithTops(bandTops(6000, 600, true));
    EXPECT_FALSE(bandWindowPays(tall, planBandWindow(tall, 64)));
    // Rank updates as deep as a panel is wide do not pay on columns barely taller.
    const SkylineProfile low = profileWithTops(bandTops(6000, 200, false));
    EXPECT_FALSE(bandWindowPays(low, planBandWindow(low, 192)));
    EXPECT_TRUE(bandWindowPays(low, planBandWindow(low, 64)));
}

TEST(BlockedLdlt, BandWindowMatchesWhereTallColumnsWidenItAcrossTheWholeMatrix) {
    const SkylineProfile profile = profileWithTops(bandTops(400, 20, true));
    SkylineMatrix original(profile);
    fillDominant(original, 21u);
    SkylineMatrix reference(profile);
    copyEntries(original, reference);
    ASSERT_FALSE(factorizeLDLTColumnwise(reference));
    SkylineMatrix K(profile);
    copyEntries(original, K);
    ASSERT_FALSE(factorizeLDLT(K, options(24, 2, SkylineKernel::BandWindow)));
    expectSameFactors(reference, K, "tall columns");
}

} // namespace
} // namespace shellfem
