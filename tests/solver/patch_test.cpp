#include "solver/shell_element.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace shellfem {
namespace {

constexpr double kE = 1000.0, kMu = 0.25, kT = 0.1;

// Four distorted elements around the interior node 4 of a 2 × 2 square.
const std::array<Vec3, 9> kNodes = {Vec3{0, 0, 0},   Vec3{1.1, 0, 0},   Vec3{2, 0, 0},
                                    Vec3{0, 1.2, 0}, Vec3{0.9, 1.1, 0}, Vec3{2, 0.9, 0},
                                    Vec3{0, 2, 0},   Vec3{0.8, 2, 0},   Vec3{2, 2, 0}};
const std::array<std::array<int, 4>, 4> kElements = {
    {{0, 1, 4, 3}, {1, 2, 5, 4}, {3, 4, 7, 6}, {4, 5, 8, 7}}};

using NodalField = std::function<std::array<double, 6>(const Vec3&)>;

struct PatchResult {
    std::array<double, 6> interiorForce{};
    double largestForce = 0.0;
    std::vector<CornerStresses> top, bottom;
};

// Imposes the field on every node, sums K·d over the elements, and recovers the
// corner stresses of each element.
PatchResult runPatch(const NodalField& field) {
    std::array<double, 54> d{}, f{};
    for (std::size_t n = 0; n < 9; ++n) {
        const auto values = field(kNodes[n]);
        std::copy(values.begin(), values.end(), d.begin() + 6 * n);
    }
    PatchResult result;
    for (const auto& nodes : kElements) {
        std::array<Vec3, 4> corners;
        ElementVector de;
        for (std::size_t k = 0; k < 4; ++k) {
            corners[k] = kNodes[static_cast<std::size_t>(nodes[k])];
            for (std::size_t c = 0; c < 6; ++c)
                de[6 * k + c] = d[6 * static_cast<std::size_t>(nodes[k]) + c];
        }
        ShellElement element(corners, kE, kMu, kT);
        EXPECT_EQ(element.geometryProblem(), "");
        ElementMatrix K;
        element.stiffness(K);
        for (std::size_t i = 0; i < 24; ++i)
            for (std::size_t j = 0; j < 24; ++j)
                f[6 * static_cast<std::size_t>(nodes[i / 6]) + i % 6] += K[i * 24 + j] * de[j];
        CornerStresses top, bottom;
        element.cornerStresses(de, top, bottom);
        result.top.push_back(top);
        result.bottom.push_back(bottom);
    }
    for (double v : f)
        result.largestForce = std::max(result.largestForce, std::fabs(v));
    std::copy(f.begin() + 24, f.begin() + 30, result.interiorForce.begin());
    return result;
}

void expectStress(const SurfaceStress& actual, const SurfaceStress& expected, double scale) {
    for (std::size_t c = 0; c < 6; ++c)
        EXPECT_NEAR(actual[c], expected[c], 1e-10 * scale) << "component " << c;
}

TEST(PatchTest, LinearInPlaneFieldGivesConstantMembraneStress) {
    const double b = 0.003, c = -0.001, e = 0.002, fy = -0.004;
    const PatchResult r = runPatch([&](const Vec3& p) {
        return std::array<double, 6>{
            0.1 + b * p.x + c * p.y, -0.2 + e * p.x + fy * p.y, 0, 0, 0, 0.5 * (e - c)};
    });
    ASSERT_GT(r.largestForce, 0.0);
    for (double v : r.interiorForce)
        EXPECT_NEAR(v, 0.0, 1e-10 * r.largestForce);
    const double k = kE / (1 - kMu * kMu);
    const SurfaceStress expected = {
        k * (b + kMu * fy), k * (fy + kMu * b), 0, kE / (2 * (1 + kMu)) * (c + e), 0, 0};
    for (std::size_t el = 0; el < 4; ++el)
        for (std::size_t corner = 0; corner < 4; ++corner) {
            expectStress(r.top[el][corner], expected, std::fabs(expected[0]));
            expectStress(r.bottom[el][corner], expected, std::fabs(expected[0]));
        }
}

TEST(PatchTest, QuadraticDeflectionGivesConstantBendingStress) {
    // w = x² + y²/2 + 0.3xy with zero transverse shear: θx = ∂w/∂y, θy = −∂w/∂x.
    const PatchResult r = runPatch([](const Vec3& p) {
        const double w = p.x * p.x + 0.5 * p.y * p.y + 0.3 * p.x * p.y;
        return std::array<double, 6>{0, 0, w, p.y + 0.3 * p.x, -(2 * p.x + 0.3 * p.y), 0};
    });
    for (double v : r.interiorForce)
        EXPECT_NEAR(v, 0.0, 1e-10 * r.largestForce);
    const double kx = -2.0, ky = -1.0, kxy = -0.6;
    const double D = kE * kT * kT * kT / (12 * (1 - kMu * kMu));
    const double toStress = 6.0 / (kT * kT);
    const SurfaceStress top = {toStress * D * (kx + kMu * ky),
                               toStress * D * (ky + kMu * kx),
                               0,
                               toStress * D * (1 - kMu) / 2 * kxy,
                               0,
                               0};
    SurfaceStress bottom;
    for (std::size_t c = 0; c < 6; ++c)
        bottom[c] = -top[c];
    for (std::size_t el = 0; el < 4; ++el)
        for (std::size_t corner = 0; corner < 4; ++corner) {
            expectStress(r.top[el][corner], top, std::fabs(top[0]));
            expectStress(r.bottom[el][corner], bottom, std::fabs(top[0]));
        }
}

} // namespace
} // namespace shellfem
