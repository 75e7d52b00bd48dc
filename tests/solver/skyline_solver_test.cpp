#include "solver/ldlt_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace shellfem {
namespace {

// A symmetric positive definite matrix with a ragged profile: column c couples
// to rows top(c)..c; dense copy kept for checking.
struct ProfileProblem {
    int n;
    std::vector<int> tops;
    std::vector<double> dense; // n × n, full symmetric
};

ProfileProblem raggedProblem(int n, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    ProfileProblem p{n, std::vector<int>(static_cast<std::size_t>(n)),
                     std::vector<double>(static_cast<std::size_t>(n * n), 0.0)};
    for (int c = 0; c < n; ++c) {
        p.tops[c] = std::max(0, c - static_cast<int>(random() % 23));
        for (int r = p.tops[c]; r < c; ++r)
            p.dense[r * n + c] = p.dense[c * n + r] = value(random);
    }
    for (int c = 0; c < n; ++c)
        p.dense[c * n + c] = 30.0 + value(random); // diagonally dominant
    return p;
}

SkylineProfile profileOf(const ProfileProblem& p) {
    SkylineProfile profile(p.n);
    for (int c = 0; c < p.n; ++c)
        profile.addCoupling(std::array<int, 2>{p.tops[c], c});
    profile.finish();
    return profile;
}

TEST(SkylineSolver, SolvesRaggedProfilesLikeADenseProduct) {
    for (int n : {1, 7, 61, 200}) {
        const ProfileProblem p = raggedProblem(n, 42u + static_cast<unsigned>(n));
        const SkylineProfile profile = profileOf(p);
        SkylineMatrix K(profile);
        for (int c = 0; c < n; ++c)
            for (int r = profile.top(c); r <= c; ++r)
                K.at(r, c) = p.dense[r * n + c];
        std::vector<double> expected(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            expected[i] = std::sin(1.0 + i);
        std::vector<double> f(static_cast<std::size_t>(n), 0.0);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                f[i] += p.dense[i * n + j] * expected[j];

        int columnsReported = 0;
        ASSERT_FALSE(factorizeLDLT(K, [&](int j) { EXPECT_EQ(j, columnsReported++); }));
        EXPECT_EQ(columnsReported, n);
        forwardReduce(K, f);
        std::vector<double> u;
        backSubstitute(K, f, u);
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(u[i], expected[i], 1e-12) << "n=" << n << " i=" << i;
    }
}

TEST(SkylineSolver, AddressesStayCorrectBeyondThirtyTwoBits) {
    // The later half of 80000 equations coupled to equation 0: 2.4e9 entries.
    SkylineProfile profile(80000);
    for (int c = 40000; c < 80000; ++c)
        profile.addCoupling(std::array<int, 2>{0, c});
    profile.finish();
    EXPECT_EQ(profile.height(79999), 80000);
    EXPECT_EQ(profile.diagonal(79999), profile.entries() - 80000);
    EXPECT_GT(profile.entries(), std::int64_t{1} << 31);
}

TEST(SkylineSolver, ReportsTheFirstZeroOrRoundOffPivot) {
    // [[1, 1, 0], [1, 1, 0], [0, 0, 1]]: singular in equation 1; the second
    // case leaves only round-off there, which must be caught as well.
    for (double offDiagonal : {1.0, 1.0 + 1e-15}) {
        SkylineProfile profile(3);
        profile.addCoupling(std::array<int, 2>{0, 1});
        profile.finish();
        SkylineMatrix K(profile);
        K.at(0, 0) = 1.0;
        K.at(0, 1) = offDiagonal;
        K.at(1, 1) = 1.0 + 2e-15;
        K.at(2, 2) = 1.0;
        const auto failure = factorizeLDLT(K);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->equation, 1);
        EXPECT_EQ(failure->originalDiagonal, 1.0 + 2e-15);
    }
    SkylineProfile lone(2);
    lone.finish();
    SkylineMatrix zero(lone);
    zero.at(0, 0) = 4.0;
    const auto failure = factorizeLDLT(zero);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->equation, 1);
}

} // namespace
} // namespace shellfem
