#include "viewer/contour/iso_bands.h"

#include "viewer/contour/color_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace shellfem::viewer {
namespace {

using platform::PixelPoint;
using Quad = std::array<ValuedPoint, 4>;

double signedArea(const std::vector<PixelPoint>& polygon) {
    double twice = 0.0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const PixelPoint& a = polygon[i];
        const PixelPoint& b = polygon[(i + 1) % polygon.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return 0.5 * twice;
}

PixelPoint centroid(const std::vector<PixelPoint>& polygon) {
    PixelPoint sum;
    for (const PixelPoint& p : polygon) {
        sum.x += p.x / polygon.size();
        sum.y += p.y / polygon.size();
    }
    return sum;
}

double cross(PixelPoint o, PixelPoint a, PixelPoint b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The value the fill means at p: linear over the triangle, about the quad's centre, that
// holds p. Written from the definition, apart from the code under test.
double interpolatedValue(const Quad& q, PixelPoint p) {
    ValuedPoint centre{{0, 0}, 0};
    for (const ValuedPoint& c : q) {
        centre.at.x += c.at.x / 4;
        centre.at.y += c.at.y / 4;
        centre.value += c.value / 4;
    }
    double bestOutside = -1e300;
    double value = NAN;
    for (std::size_t k = 0; k < 4; ++k) {
        const ValuedPoint& a = q[k];
        const ValuedPoint& b = q[(k + 1) % 4];
        const double whole = cross(a.at, b.at, centre.at);
        if (whole == 0.0)
            continue;
        const double wa = cross(b.at, centre.at, p) / whole;
        const double wb = cross(centre.at, a.at, p) / whole;
        const double wc = 1.0 - wa - wb;
        // The triangle where p is least outside: round-off may put a centroid just beyond.
        const double outside = std::min({wa, wb, wc});
        if (outside > bestOutside) {
            bestOutside = outside;
            value = wa * a.value + wb * b.value + wc * centre.value;
        }
    }
    return value;
}

bool isConvex(const std::vector<PixelPoint>& polygon, double tolerance) {
    const double orientation = signedArea(polygon) >= 0 ? 1.0 : -1.0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const double turn =
            cross(polygon[i], polygon[(i + 1) % polygon.size()], polygon[(i + 2) % polygon.size()]);
        if (orientation * turn < -tolerance)
            return false;
    }
    return true;
}

// Checks that the pieces tile the quad and that each lies in the band of its values.
void expectBandedTiling(const Quad& quad, const std::vector<double>& limits) {
    std::vector<PixelPoint> outline;
    for (const ValuedPoint& c : quad)
        outline.push_back(c.at);
    const double quadArea = std::abs(signedArea(outline));
    const std::vector<BandPiece> pieces = splitQuadIntoBands(quad, limits);
    const int bands = static_cast<int>(limits.size()) - 1;
    const double valueTolerance = 1e-9 * (std::abs(limits.front()) + std::abs(limits.back()) + 1);
    double total = 0.0;
    for (const BandPiece& piece : pieces) {
        ASSERT_GE(piece.polygon.size(), 3u);
        ASSERT_GE(piece.band, 0);
        ASSERT_LT(piece.band, bands);
        const double area = std::abs(signedArea(piece.polygon));
        total += area;
        EXPECT_TRUE(isConvex(piece.polygon, 1e-9 * (quadArea + 1)));
        if (area < 1e-9 * quadArea)
            continue; // a sliver's centroid says nothing about its band
        const double value = interpolatedValue(quad, centroid(piece.polygon));
        if (piece.band > 0) {
            EXPECT_GE(value, limits[piece.band] - valueTolerance) << "band " << piece.band;
        }
        if (piece.band < bands - 1) {
            EXPECT_LE(value, limits[piece.band + 1] + valueTolerance) << "band " << piece.band;
        }
    }
    EXPECT_NEAR(total, quadArea, 1e-9 * (quadArea + 1));
}

Quad square(double v0, double v1, double v2, double v3) {
    return {{{{0, 0}, v0}, {{100, 0}, v1}, {{100, 100}, v2}, {{0, 100}, v3}}};
}

TEST(IsoBands, GradientIsCutIntoStripsOfEveryBand) {
    const ColorScale scale(0.0, 10.0);
    const Quad quad = square(0, 10, 10, 0); // value = x / 10
    expectBandedTiling(quad, scale.limits());
    const std::vector<BandPiece> pieces = splitQuadIntoBands(quad, scale.limits());
    std::vector<double> areaOfBand(scale.bandCount(), 0.0);
    for (const BandPiece& piece : pieces)
        areaOfBand[piece.band] += std::abs(signedArea(piece.polygon));
    // A linear field: every band is an equal vertical strip.
    for (double area : areaOfBand)
        EXPECT_NEAR(area, 100.0 * 100.0 / scale.bandCount(), 1e-6);
}

TEST(IsoBands, RandomQuadsAndFieldsTileExactly) {
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> position(-300.0, 300.0);
    std::uniform_real_distribution<double> value(-50.0, 80.0);
    for (int trial = 0; trial < 300; ++trial) {
        // A convex quad: four points on an ellipse, one in each quarter of it.
        const double cx = position(random), cy = position(random);
        const double rx = std::uniform_real_distribution<double>(1.0, 200.0)(random);
        const double ry = std::uniform_real_distribution<double>(1.0, 200.0)(random);
        Quad quad;
        for (std::size_t k = 0; k < 4; ++k) {
            const double angle = (k + std::uniform_real_distribution<double>(0.05, 0.95)(random)) *
                                 std::acos(-1.0) / 2;
            quad[k] = {{cx + rx * std::cos(angle), cy + ry * std::sin(angle)}, value(random)};
        }
        // Some scales cover the values, others are narrower so that end bands take the rest.
        const ColorScale scale = trial % 3 == 0 ? ColorScale(-10.0, 20.0) : ColorScale(-50, 80);
        SCOPED_TRACE("trial " + std::to_string(trial));
        expectBandedTiling(quad, scale.limits());
    }
}

TEST(IsoBands, ConstantFieldGivesOneWholePiecePerTriangle) {
    const ColorScale constant(7.0, 7.0);
    const std::vector<BandPiece> pieces = splitQuadIntoBands(square(7, 7, 7, 7), constant.limits());
    EXPECT_EQ(pieces.size(), 4u);
    for (const BandPiece& piece : pieces)
        EXPECT_EQ(piece.band, 0);
    expectBandedTiling(square(7, 7, 7, 7), constant.limits());
}

TEST(IsoBands, LevelFieldOnALimitKeepsItsArea) {
    const ColorScale scale(0.0, 10.0);
    const double onLimit = scale.limits()[3];
    expectBandedTiling(square(onLimit, onLimit, onLimit, onLimit), scale.limits());
}

TEST(IsoBands, LimitThroughCornersAndCentre) {
    const ColorScale scale(0.0, 2.0); // limits every 0.2: 0, 0.4, 1.0 and 2.0 are limits
    expectBandedTiling(square(0.0, 1.0, 2.0, 1.0), scale.limits());
    expectBandedTiling(square(0.4, 0.4, 1.0, 1.0), scale.limits());
    expectBandedTiling(square(2.0, 0.0, 2.0, 0.0), scale.limits());
}

TEST(IsoBands, ZeroAreaQuadsNeitherCrashNorInventArea) {
    const ColorScale scale(0.0, 1.0);
    const Quad point = {{{{5, 5}, 0.0}, {{5, 5}, 1.0}, {{5, 5}, 0.5}, {{5, 5}, 0.2}}};
    const Quad line = {{{{0, 0}, 0.0}, {{10, 10}, 1.0}, {{20, 20}, 0.5}, {{30, 30}, 0.2}}};
    for (const Quad& quad : {point, line}) {
        double total = 0.0;
        for (const BandPiece& piece : splitQuadIntoBands(quad, scale.limits())) {
            total += std::abs(signedArea(piece.polygon));
            for (const PixelPoint& p : piece.polygon)
                EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
        }
        EXPECT_NEAR(total, 0.0, 1e-12);
    }
}

TEST(IsoBands, TriangleEntirelyWithinOneBandIsKeptWhole) {
    const ColorScale scale(0.0, 10.0);
    std::vector<BandPiece> pieces;
    splitTriangleIntoBands({{0, 0}, 3.1}, {{10, 0}, 3.5}, {{0, 10}, 3.9}, scale.limits(), pieces);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].band, 3);
    EXPECT_EQ(pieces[0].polygon.size(), 3u);
}

TEST(IsoBands, CrossingsOfAnEdgeAreTheSameWhicheverWayItIsWalked) {
    const ColorScale scale(0.0, 1.0, 7);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> any(-100.0, 100.0);
    for (int trial = 0; trial < 200; ++trial) {
        const ValuedPoint a{{any(random), any(random)}, any(random) / 80.0};
        const ValuedPoint b{{any(random), any(random)}, any(random) / 80.0};
        std::vector<PixelPoint> forth = limitCrossings(a, b, scale.limits());
        std::vector<PixelPoint> back = limitCrossings(b, a, scale.limits());
        ASSERT_EQ(forth.size(), back.size());
        for (std::size_t i = 0; i < forth.size(); ++i) {
            EXPECT_EQ(forth[i].x, back[i].x);
            EXPECT_EQ(forth[i].y, back[i].y);
        }
    }
    // The end limits are no band edges: no crossing there, whatever the values.
    EXPECT_TRUE(limitCrossings({{0, 0}, -5.0}, {{10, 0}, 0.05}, scale.limits()).empty());
}

TEST(IsoBands, SharedEdgePointsBecomeCornersOfThePiecesAndKeepTheTiling) {
    const ColorScale scale(0.0, 10.0);
    const Quad quad = square(1, 9, 9, 1); // value = 1 + 0.08 x
    EdgePoints shared;
    shared[1] = {{100, 20}, {100, 55.5}, {100, 90}}; // on the edge x = 100, all in band 8
    shared[3] = {{0, 50}};                           // on the edge x = 0, band 1
    const std::vector<BandPiece> pieces = splitQuadIntoBands(quad, scale.limits(), shared);
    for (const auto& [edge, points] : {std::pair{1, shared[1]}, std::pair{3, shared[3]}})
        for (const PixelPoint& p : points) {
            int holders = 0;
            for (const BandPiece& piece : pieces)
                for (const PixelPoint& q : piece.polygon)
                    holders += q.x == p.x && q.y == p.y;
            EXPECT_EQ(holders, 1) << "edge " << edge << " point y = " << p.y;
        }
    double total = 0.0;
    for (const BandPiece& piece : pieces) {
        total += std::abs(signedArea(piece.polygon));
        EXPECT_TRUE(isConvex(piece.polygon, 1e-9));
    }
    EXPECT_NEAR(total, 100.0 * 100.0, 1e-6);
}

} // namespace
} // namespace shellfem::viewer
