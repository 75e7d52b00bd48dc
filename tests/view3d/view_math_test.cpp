#include "view3d/matrix4.h"
#include "view3d/view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace shellfem::view3d {
namespace {

const double kPi = std::acos(-1.0);

// The start-up angles exactly as the programs pass them.
const double kStartAlpha = kPi * 1.25;
const double kStartBeta = kPi * 0.1958888888888889;

Vec3 eyeDirection(const Matrix4& m) { // the model direction that maps onto +depth
    return {m[2], m[6], m[10]};
}

std::vector<Vec3> box() {
    return {{0, 0, 0}, {4, 0, 0}, {4, 2, 0}, {0, 2, 0}, {0, 0, 1}, {4, 0, 1}, {4, 2, 1}, {0, 2, 1}};
}

TEST(ViewMatrix, StartUpLooksFromMinusMinusPlusWithZUp) {
    View view;
    view.setWindowSize(800, 600);
    view.setPoints(box());
    view.setAngles(kStartAlpha, kStartBeta);
    const Vec3 eye = eyeDirection(view.matrix());
    EXPECT_NEAR(eye.x, -0.577, 1e-3);
    EXPECT_NEAR(eye.y, -0.577, 1e-3);
    EXPECT_NEAR(eye.z, 0.577, 1e-3);
    // z points up on the screen: straight up, with no sideways part.
    view.fit();
    const platform::PixelPoint o = view.modelToPixel({0, 0, 0});
    const platform::PixelPoint z = view.modelToPixel({0, 0, 1});
    EXPECT_NEAR(z.x, o.x, 1e-9);
    EXPECT_LT(z.y, o.y);
    // The point nearer the eye has the larger depth.
    EXPECT_GT(view.modelToScreen(eye).depth, view.modelToScreen({0, 0, 0}).depth);
}

TEST(ViewMatrix, XoyPlusLooksDownZWithXRightAndYUp) {
    View view;
    view.setAngles(-kPi / 2, kPi / 2);
    const PlanePoint x = transformPoint(view.matrix(), {1, 0, 0});
    const PlanePoint y = transformPoint(view.matrix(), {0, 1, 0});
    const PlanePoint z = transformPoint(view.matrix(), {0, 0, 1});
    const PlanePoint o = transformPoint(view.matrix(), {0, 0, 0});
    EXPECT_NEAR(x.u - o.u, 1.0, 1e-12);
    EXPECT_NEAR(x.v - o.v, 0.0, 1e-12);
    EXPECT_NEAR(y.u - o.u, 0.0, 1e-12);
    EXPECT_NEAR(y.v - o.v, 1.0, 1e-12);
    EXPECT_NEAR(z.depth - o.depth, 1.0, 1e-12); // +z comes towards the eye
    EXPECT_NEAR(z.u - o.u, 0.0, 1e-12);
    EXPECT_NEAR(z.v - o.v, 0.0, 1e-12);
}

TEST(ViewMatrix, YozPlusShowsYRightAndZUp) {
    View view;
    view.setWindowSize(400, 400);
    view.setPoints(box());
    view.setAngles(0.0, 0.0);
    view.fit();
    const platform::PixelPoint o = view.modelToPixel({0, 0, 0});
    const platform::PixelPoint y = view.modelToPixel({0, 1, 0});
    const platform::PixelPoint z = view.modelToPixel({0, 0, 1});
    EXPECT_GT(y.x, o.x);
    EXPECT_NEAR(y.y, o.y, 1e-9);
    EXPECT_LT(z.y, o.y); // pixel y grows downwards
    EXPECT_NEAR(z.x, o.x, 1e-9);
    EXPECT_NEAR(view.modelToScreen({1, 0, 0}).depth - view.modelToScreen({0, 0, 0}).depth, 1.0,
                1e-12);
}

TEST(ViewMatrix, NewViewStartsWithZeroAngles) {
    View view;
    EXPECT_EQ(view.alpha(), 0.0);
    EXPECT_EQ(view.beta(), 0.0);
    EXPECT_EQ(view.matrix(), viewMatrix(0.0, 0.0));
    const Matrix4& m = view.matrix();
    EXPECT_EQ(m[14], -1.0);
    EXPECT_EQ(m[15], 1.0);
}

TEST(ViewProjection, ExtentAndPixelMappingRoundTrip) {
    View view;
    view.setWindowSize(640, 480);
    view.setPoints(box());
    view.setAngles(kStartAlpha, kStartBeta);
    view.fit();
    const ModelExtent& me = view.modelExtent();
    EXPECT_EQ(me.xmax, 4.0);
    EXPECT_EQ(me.ymax, 2.0);
    EXPECT_EQ(me.zmax, 1.0);
    // Every projected point lies inside the window after a fit, with the 5 % margin.
    for (const ScreenPoint& s : view.screenPoints()) {
        EXPECT_GE(s.x, 640 * 0.025 - 1);
        EXPECT_LE(s.x, 640 * 0.975 + 1);
        EXPECT_GE(s.y, 480 * 0.025 - 1);
        EXPECT_LE(s.y, 480 * 0.975 + 1);
    }
    const platform::PixelPoint p{123, 77};
    const PlanePoint q = view.pixelToPlane(p);
    const platform::PixelPoint back = view.planeToPixel(q.u, q.v);
    EXPECT_NEAR(back.x, 123, 1e-9);
    EXPECT_NEAR(back.y, 77, 1e-9);
}

TEST(ViewFit, UsesTheSmallerRatioWithMargin) {
    View view;
    view.setWindowSize(800, 600);
    view.setPoints({{0, 0, 0}, {0, 10, 0}, {0, 10, 2}, {0, 0, 2}}); // YOZ+: u = y, v = z
    view.setAngles(0.0, 0.0);
    view.fit();
    const Placement& p = view.placement();
    EXPECT_DOUBLE_EQ(p.scale, 0.95 * std::min(800.0 / 10.0, 600.0 / 2.0));
    EXPECT_EQ(p.cx, 400);
    EXPECT_EQ(p.cy, 300);
    EXPECT_DOUBLE_EQ(p.cu, 5.0);
    EXPECT_DOUBLE_EQ(p.cv, 1.0); // v = z: the middle of 0..2
}

TEST(ViewFit, EndOnLineUsesTheHeightRatio) {
    View view;
    view.setWindowSize(801, 601);
    // Seen from +x (YOZ+), the x-z plate is a vertical line: zero width.
    view.setPoints({{0, 0, 0}, {3, 0, 0}, {3, 0, 2}, {0, 0, 2}});
    view.setAngles(0.0, 0.0);
    view.fit();
    const Placement& p = view.placement();
    EXPECT_TRUE(std::isfinite(p.scale));
    EXPECT_DOUBLE_EQ(p.scale, 0.95 * 601.0 / 2.0);
    EXPECT_EQ(p.cx, 400); // integer halves
    EXPECT_EQ(p.cy, 300);
    EXPECT_NEAR(view.modelToPixel({0, 0, 2}).y, 300 - 0.95 * 601.0 / 2.0 + 0.0, 1e-9);
}

TEST(ViewFit, ZeroHeightUsesTheWidthRatioAndAPointKeepsItsScale) {
    View view;
    view.setWindowSize(500, 500);
    view.setPoints({{0, 0, 0}, {0, 4, 0}}); // YOZ+: a horizontal line
    view.setAngles(0.0, 0.0);
    view.fit();
    EXPECT_DOUBLE_EQ(view.placement().scale, 0.95 * 500.0 / 4.0);

    View single;
    single.setWindowSize(500, 500);
    single.setPoints({{1, 2, 3}});
    single.fit();
    EXPECT_TRUE(std::isfinite(single.placement().scale));
    EXPECT_GT(single.placement().scale, 0.0);
    const platform::PixelPoint p = single.modelToPixel({1, 2, 3});
    EXPECT_NEAR(p.x, 250, 1e-9);
    EXPECT_NEAR(p.y, 250, 1e-9);

    View empty; // no points and no window yet: nothing becomes infinite
    empty.fit();
    EXPECT_TRUE(std::isfinite(empty.placement().scale));
}

TEST(ViewZoom, WheelKeepsTheModelPointUnderTheCursor) {
    View view;
    view.setWindowSize(800, 600);
    view.setPoints(box());
    view.setAngles(kStartAlpha, kStartBeta);
    view.fit();
    const platform::PixelPoint cursor{517, 143};
    const PlanePoint before = view.pixelToPlane(cursor);
    const double scale = view.placement().scale;
    view.wheelZoom(cursor, 120);
    EXPECT_DOUBLE_EQ(view.placement().scale, scale * 1.1);
    PlanePoint after = view.pixelToPlane(cursor);
    EXPECT_NEAR(after.u, before.u, 1e-12);
    EXPECT_NEAR(after.v, before.v, 1e-12);
    view.wheelZoom(cursor, -120);
    view.wheelZoom(cursor, -120);
    EXPECT_NEAR(view.placement().scale, scale / 1.1, 1e-9);
    after = view.pixelToPlane(cursor);
    EXPECT_NEAR(after.u, before.u, 1e-12);
    EXPECT_NEAR(after.v, before.v, 1e-12);

    // A model corner under the cursor stays there (to the rounding of the cursor pixel).
    const platform::PixelPoint corner = view.modelToPixel({4, 2, 1});
    const platform::PixelPoint cursor2{std::round(corner.x), std::round(corner.y)};
    view.wheelZoom(cursor2, 1);
    const platform::PixelPoint moved = view.modelToPixel({4, 2, 1});
    EXPECT_NEAR(moved.x, corner.x, 1.1 * 0.5 + 1e-9);
    EXPECT_NEAR(moved.y, corner.y, 1.1 * 0.5 + 1e-9);
}

TEST(ViewZoom, RectangleFillsTheWindowWithoutMargin) {
    View view;
    view.setWindowSize(800, 600);
    view.setPoints(box());
    view.setAngles(-kPi / 2, kPi / 2); // XOY+
    view.fit();
    const platform::PixelPoint a = view.modelToPixel({1, 0.5, 0});
    const platform::PixelPoint b = view.modelToPixel({3, 1.5, 0});
    view.zoomToRectangle(b, a); // corners in any order
    EXPECT_NEAR(view.placement().scale, std::min(800.0 / 2.0, 600.0 / 1.0), 1e-9);
    const platform::PixelPoint centre = view.modelToPixel({2, 1, 0});
    EXPECT_NEAR(centre.x, 400, 1e-9);
    EXPECT_NEAR(centre.y, 300, 1e-9);

    // Two clicks on one pixel make no rectangle: the scale stays finite.
    const double scale = view.placement().scale;
    view.zoomToRectangle({10, 10}, {10, 10});
    EXPECT_DOUBLE_EQ(view.placement().scale, scale);
}

TEST(ViewPan, ShiftsTheScreenCentre) {
    View view;
    view.setWindowSize(800, 600);
    view.setPoints(box());
    view.fit();
    const platform::PixelPoint before = view.modelToPixel({4, 2, 1});
    view.pan(25, -13);
    const platform::PixelPoint after = view.modelToPixel({4, 2, 1});
    EXPECT_NEAR(after.x - before.x, 25, 1e-9);
    EXPECT_NEAR(after.y - before.y, -13, 1e-9);
}

void expectOrthonormalRows(const Matrix4& m) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double d = 0;
            for (int k = 0; k < 3; ++k)
                d += m[i * 4 + k] * m[j * 4 + k];
            EXPECT_NEAR(d, i == j ? 1.0 : 0.0, 1e-12) << i << "," << j;
        }
}

TEST(ViewRotate, KeepsRowsOrthonormalAndThePivotInPlace) {
    View view;
    view.setWindowSize(800, 600);
    view.setPoints(box());
    view.setAngles(kStartAlpha, kStartBeta);
    view.fit();
    const PlaneExtent e = view.projectedExtent();
    const platform::PixelPoint middle =
        view.planeToPixel((e.umin + e.umax) / 2, (e.vmin + e.vmax) / 2);
    const Matrix4 m0 = view.matrix();
    // The model point at the middle of the projected extent, at the middle depth.
    Matrix4 inv{};
    ASSERT_TRUE(invertMatrix(m0, inv));
    const double plane[4] = {(e.umin + e.umax) / 2, (e.vmin + e.vmax) / 2,
                             (e.depthMin + e.depthMax) / 2, 1};
    double model[4] = {0, 0, 0, 0};
    for (int j = 0; j < 4; ++j)
        for (int k = 0; k < 4; ++k)
            model[j] += plane[k] * inv[k * 4 + j];
    const Vec3 pivot{model[0], model[1], model[2]};

    ASSERT_TRUE(view.rotate(RotationAxis::ScreenVertical, 0.3));
    EXPECT_NE(view.matrix(), m0);
    expectOrthonormalRows(view.matrix());
    const platform::PixelPoint p = view.modelToPixel(pivot);
    EXPECT_NEAR(p.x, middle.x, 1e-9);
    EXPECT_NEAR(p.y, middle.y, 1e-9);
    // Alpha and Beta are not touched by arrow rotation.
    EXPECT_EQ(view.alpha(), kStartAlpha);
    EXPECT_EQ(view.beta(), kStartBeta);
}

TEST(ViewRotate, ScreenVerticalTurnKeepsTheVerticalAndTurnsTheRest) {
    View view;
    view.setWindowSize(800, 600);
    view.setPoints(box());
    view.setAngles(0.0, 0.0); // YOZ+: z up, y right, x towards the eye
    view.fit();
    ASSERT_TRUE(view.rotate(RotationAxis::ScreenVertical, kPi / 2));
    const Matrix4& m = view.matrix();
    // z stays up; a quarter turn about the vertical brings x (which came towards the eye)
    // onto the screen's horizontal and y onto the depth axis.
    EXPECT_NEAR(m[8], 0.0, 1e-12);
    EXPECT_NEAR(m[9], 1.0, 1e-12);
    EXPECT_NEAR(std::fabs(m[0]), 1.0, 1e-12);
    EXPECT_NEAR(std::fabs(m[6]), 1.0, 1e-12);
    // Positive angles follow the right-hand rule about screen up: the near side goes right.
    EXPECT_NEAR(m[0], 1.0, 1e-12);
}

TEST(ViewRotate, FullTurnOfSteppedRotationsComesBack) {
    View view;
    view.setWindowSize(800, 600);
    view.setPoints(box());
    view.setAngles(kStartAlpha, kStartBeta);
    view.fit();
    const std::vector<ScreenPoint> before = view.screenPoints();
    for (int i = 0; i < 72; ++i)
        ASSERT_TRUE(view.rotate(RotationAxis::ScreenHorizontal, kPi / 36));
    const std::vector<ScreenPoint> after = view.screenPoints();
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_NEAR(after[i].x, before[i].x, 1e-6);
        EXPECT_NEAR(after[i].y, before[i].y, 1e-6);
        EXPECT_NEAR(after[i].depth, before[i].depth, 1e-9);
    }
}

TEST(MatrixInverse, InverseTimesMatrixIsIdentity) {
    const Matrix4 mats[] = {
        viewMatrix(kStartAlpha, kStartBeta),
        viewMatrix(-kPi / 2, kPi / 2),
        // Zeros on the diagonal need the pivoting; mixed magnitudes test its choice.
        {0, 2, 0, 1, 3, 0, 1e-3, 0, 0, 0, 0, 5, 1, 1, 4, 0},
        {1e-8, 1, 2, 3, 4, 5e6, 6, 7, 8, 9, 1e-5, 11, 12, 13, 14, 15.5},
    };
    for (const Matrix4& m : mats) {
        Matrix4 inv{};
        ASSERT_TRUE(invertMatrix(m, inv));
        const Matrix4 left = multiply(inv, m);
        const Matrix4 right = multiply(m, inv);
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(left[i], i % 5 == 0 ? 1.0 : 0.0, 1e-9) << i;
            EXPECT_NEAR(right[i], i % 5 == 0 ? 1.0 : 0.0, 1e-9) << i;
        }
    }
}

TEST(MatrixInverse, SingularMatricesAreReportedNotFatal) {
    const Matrix4 zero{};
    Matrix4 inv = identityMatrix();
    EXPECT_FALSE(invertMatrix(zero, inv));
    EXPECT_EQ(inv, identityMatrix()); // untouched
    const Matrix4 twoEqualRows{1, 2, 3, 4, 1, 2, 3, 4, 0, 1, 0, 0, 0, 0, 0, 1};
    EXPECT_FALSE(invertMatrix(twoEqualRows, inv));
    // The last pivot is 1e-17: p + 1 == 1 in double arithmetic.
    const Matrix4 tiny{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1e-17, 0, 0, 0, 0, 1};
    EXPECT_FALSE(invertMatrix(tiny, inv));
    const Matrix4 nan{std::nan(""), 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_FALSE(invertMatrix(nan, inv));

    View view;
    view.setPoints(box());
    view.setMatrix(twoEqualRows);
    EXPECT_FALSE(view.rotate(RotationAxis::ScreenVertical, 0.1));
    EXPECT_EQ(view.matrix(), twoEqualRows);
}

} // namespace
} // namespace shellfem::view3d

namespace shellfem::view3d {
namespace {

TEST(ViewRotate, RowsAreMadeOrthonormalAgainAsThePartSays) {
    Matrix4 skewed = viewMatrix(0.3, 0.4);
    skewed[0] *= 1.01; // rows drifted by rounding over many turns
    skewed[5] += 0.02;
    skewed[9] -= 0.015;
    Matrix4 m = skewed;
    reorthonormaliseRows(m);
    // X keeps its direction, Z = X × Y, Y = Z × X, all of unit length.
    const Vec3 x{skewed[0], skewed[1], skewed[2]}, y{skewed[4], skewed[5], skewed[6]};
    const Vec3 nx = (1.0 / length(x)) * x;
    EXPECT_NEAR(m[0], nx.x, 1e-15);
    EXPECT_NEAR(m[1], nx.y, 1e-15);
    EXPECT_NEAR(m[2], nx.z, 1e-15);
    const Vec3 z = cross(nx, y);
    EXPECT_NEAR(m[8] * length(z), z.x, 1e-12);
    EXPECT_NEAR(m[10] * length(z), z.z, 1e-12);
    for (int i = 12; i < 16; ++i)
        EXPECT_EQ(m[i], skewed[i]); // translation row unchanged
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double d = 0;
            for (int k = 0; k < 3; ++k)
                d += m[i * 4 + k] * m[j * 4 + k];
            EXPECT_NEAR(d, i == j ? 1.0 : 0.0, 1e-12);
        }

    // An arrow turn of a drifted view gives orthonormal rows again.
    View view;
    view.setPoints({{0, 0, 0}, {1, 2, 3}, {-2, 1, 0}});
    view.setMatrix(skewed);
    ASSERT_TRUE(view.rotate(RotationAxis::ScreenHorizontal, 0.1));
    const Matrix4& r = view.matrix();
    for (int i = 0; i < 3; ++i) {
        double d = 0;
        for (int k = 0; k < 3; ++k)
            d += r[i * 4 + k] * r[i * 4 + k];
        EXPECT_NEAR(d, 1.0, 1e-12) << "row " << i;
    }
}

TEST(ViewRotate, PivotLiesAtTheMiddleDepthOfTheModel) {
    // Seen along x (YOZ+), a long box in x: the pivot must lie at the box's middle in x,
    // so a turn about the screen vertical keeps the middle of the box in place.
    View view;
    view.setWindowSize(800, 600);
    view.setPoints({{0, 0, 0}, {10, 0, 0}, {10, 1, 1}, {0, 1, 1}});
    view.setAngles(0.0, 0.0);
    view.fit();
    const platform::PixelPoint before = view.modelToPixel({5, 0.5, 0.5});
    ASSERT_TRUE(view.rotate(RotationAxis::ScreenVertical, 0.5));
    const platform::PixelPoint after = view.modelToPixel({5, 0.5, 0.5});
    EXPECT_NEAR(after.x, before.x, 1e-9);
    EXPECT_NEAR(after.y, before.y, 1e-9);
}

} // namespace
} // namespace shellfem::view3d
