#include "solver/shell_element.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace shellfem {
namespace {

constexpr double kE = 2.1e11, kMu = 0.3, kT = 0.05;

// K·d for a 24-vector d.
ElementVector multiply(const ElementMatrix& K, const ElementVector& d) {
    ElementVector f{};
    for (std::size_t i = 0; i < 24; ++i)
        for (std::size_t j = 0; j < 24; ++j)
            f[i] += K[i * 24 + j] * d[j];
    return f;
}

double largest(const ElementMatrix& K) {
    double m = 0;
    for (double v : K)
        m = std::max(m, std::fabs(v));
    return m;
}

// A distorted quadrilateral turned out of the x–y plane.
std::array<Vec3, 4> tiltedCorners() {
    const std::array<Vec3, 4> flat = {Vec3{0, 0, 0}, Vec3{2.0, 0.2, 0}, Vec3{2.3, 1.7, 0},
                                      Vec3{-0.2, 1.2, 0}};
    const double c = std::cos(0.7), s = std::sin(0.7);
    std::array<Vec3, 4> out;
    for (std::size_t k = 0; k < 4; ++k) {
        const Vec3& p = flat[k];
        // Rotate about x, then shift.
        out[k] = {p.x + 1.0, c * p.y - s * p.z - 2.0, s * p.y + c * p.z + 0.5};
    }
    return out;
}

TEST(ShellElement, CounterClockwiseUnitSquareHasIdentityAxes) {
    ShellElement e({Vec3{0, 0, 0}, Vec3{1, 0, 0}, Vec3{1, 1, 0}, Vec3{0, 1, 0}}, kE, kMu, kT);
    const auto& a = e.axes();
    EXPECT_DOUBLE_EQ(a[0].x, 1.0);
    EXPECT_DOUBLE_EQ(a[1].y, 1.0);
    EXPECT_DOUBLE_EQ(a[2].z, 1.0);
    EXPECT_EQ(a[0].y, 0.0);
    EXPECT_EQ(a[1].x, 0.0);
    EXPECT_EQ(a[2].x, 0.0);
    EXPECT_TRUE(e.geometryProblem().empty());
}

TEST(ShellElement, StiffnessIsSymmetricAndRigidBodyModesCarryNoForce) {
    ShellElement e(tiltedCorners(), kE, kMu, kT);
    ElementMatrix K;
    e.stiffness(K);
    const double scale = largest(K);
    for (std::size_t i = 0; i < 24; ++i)
        for (std::size_t j = 0; j < i; ++j)
            ASSERT_NEAR(K[i * 24 + j], K[j * 24 + i], 1e-12 * scale) << i << "," << j;

    const auto corners = tiltedCorners();
    const Vec3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const Vec3& axis : axes) {
        ElementVector translation{}, rotation{};
        for (std::size_t k = 0; k < 4; ++k) {
            translation[6 * k] = axis.x;
            translation[6 * k + 1] = axis.y;
            translation[6 * k + 2] = axis.z;
            // Small rigid rotation about `axis` through the origin: u = θ × r.
            const Vec3 u = cross(axis, corners[k]);
            rotation[6 * k] = u.x;
            rotation[6 * k + 1] = u.y;
            rotation[6 * k + 2] = u.z;
            rotation[6 * k + 3] = axis.x;
            rotation[6 * k + 4] = axis.y;
            rotation[6 * k + 5] = axis.z;
        }
        for (const ElementVector* mode : {&translation, &rotation}) {
            const ElementVector f = multiply(K, *mode);
            for (double v : f)
                EXPECT_NEAR(v, 0.0, 1e-9 * scale);
        }
    }
}

TEST(ShellElement, UniformPressureOnRectangleGivesQuarterLoadsAlongNormal) {
    // A 2 × 3 rectangle standing in the y–z plane: normal along +x.
    ShellElement e({Vec3{0, 0, 0}, Vec3{0, 2, 0}, Vec3{0, 2, 3}, Vec3{0, 0, 3}}, kE, kMu, kT);
    EXPECT_NEAR(e.normal().x, 1.0, 1e-15);
    ElementVector f;
    e.pressureLoad({-10, -10, -10, -10}, f);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(f[6 * k], -10.0 * 6.0 / 4.0, 1e-12);
        for (std::size_t d = 1; d < 6; ++d)
            EXPECT_NEAR(f[6 * k + d], 0.0, 1e-12) << "corner " << k << " dof " << d;
    }
}

TEST(ShellElement, RejectsDegenerateAndCrossedShapes) {
    const Vec3 p0{0, 0, 0}, p1{1, 0, 0}, p2{1, 1, 0}, p3{0, 1, 0};
    EXPECT_NE(ShellElement({p0, p0, p2, p3}, kE, kMu, kT).geometryProblem().find("zero length"),
              std::string::npos);
    EXPECT_NE(
        ShellElement({p0, p1, p2, Vec3{2, 0, 0}}, kE, kMu, kT).geometryProblem().find("normal"),
        std::string::npos);
    // Bow-tie: corners 2 and 3 exchanged.
    EXPECT_NE(ShellElement({p0, p1, p3, p2}, kE, kMu, kT).geometryProblem().find("Jacobian"),
              std::string::npos);
    // Re-entrant (dart-shaped) quadrilateral: positive at the Gauss points, not at corner 2.
    const std::string dart =
        ShellElement({p0, Vec3{2, 0, 0}, Vec3{0.8, 0.8, 0}, Vec3{0, 2, 0}}, kE, kMu, kT)
            .geometryProblem();
    EXPECT_NE(dart.find("corner 2"), std::string::npos) << dart;
}

TEST(ShellElement, CentreStressOfAParallelogramIsTheMeanOfItsCornerStresses) {
    // On a parallelogram the strains vary linearly over ξ and η, so the centre
    // value is the mean of the corners; a corner's own value would differ.
    ShellElement e({Vec3{0, 0, 0}, Vec3{2, 0, 0}, Vec3{2.5, 1, 0}, Vec3{0.5, 1, 0}}, kE, kMu, kT);
    ElementVector u;
    for (std::size_t i = 0; i < 24; ++i)
        u[i] = 1e-4 * std::sin(1.0 + 0.7 * static_cast<double>(i));
    CornerStresses top, bottom;
    e.cornerStresses(u, top, bottom);
    SurfaceStress centreTop, centreBottom;
    e.centreStresses(u, centreTop, centreBottom);
    for (std::size_t c = 0; c < 6; ++c) {
        const double meanTop = (top[0][c] + top[1][c] + top[2][c] + top[3][c]) / 4;
        const double meanBottom = (bottom[0][c] + bottom[1][c] + bottom[2][c] + bottom[3][c]) / 4;
        EXPECT_NEAR(centreTop[c], meanTop, 1e-9 * std::fabs(top[0][0])) << c;
        EXPECT_NEAR(centreBottom[c], meanBottom, 1e-9 * std::fabs(top[0][0])) << c;
    }
    EXPECT_GT(std::fabs(centreTop[0] - top[0][0]), 1e-3 * std::fabs(top[0][0]));
}

} // namespace
} // namespace shellfem
