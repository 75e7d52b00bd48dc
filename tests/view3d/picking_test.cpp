#include "view3d/picking.h"

#include <gtest/gtest.h>

namespace shellfem::view3d {
namespace {

TEST(NearestPoint, NearestWithinToleranceFrontMostOnTiesAndOnlyEligible) {
    const std::vector<ScreenPoint> points = {
        {10, 10, 0.0}, {20, 10, 0.0}, {20, 10, 5.0}, {20, 10, 1.0}, {100, 100, 0.0}};
    EXPECT_EQ(nearestPoint(points, {12, 10}, 5), 0);
    // Three points at one pixel: the one nearest the eye.
    EXPECT_EQ(nearestPoint(points, {19, 10}, 5), 2);
    EXPECT_EQ(nearestPoint(points, {19, 10}, 5, [](std::size_t i) { return i != 2; }), 3);
    EXPECT_EQ(nearestPoint(points, {100, 104}, 4), 4); // on the tolerance circle
    EXPECT_EQ(nearestPoint(points, {100, 104.5}, 4), -1);
    EXPECT_EQ(nearestPoint(points, {50, 50}, 5), -1);
    EXPECT_EQ(nearestPoint({}, {0, 0}, 5), -1);
    EXPECT_EQ(nearestPoint(points, {10, 10}, -1), -1);
}

TEST(PointsInRectangle, BoundaryIncludedWhateverTheDragDirection) {
    const std::vector<ScreenPoint> points = {{0, 0, 0}, {10, 10, 0}, {20, 5, 0}, {5, 30, 0}};
    EXPECT_EQ(pointsInRectangle(points, {10, 10}, {0, 0}), (std::vector<int>{0, 1}));
    EXPECT_EQ(pointsInRectangle(points, {0, 0}, {20, 30}, [](std::size_t i) { return i % 2; }),
              (std::vector<int>{1, 3}));
}

// A triangle, a square and a concave "L" with six corners.
std::vector<std::vector<ScreenPoint>> faces() {
    return {{{0, 0, 1}, {40, 0, 1}, {0, 40, 1}},
            {{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}},
            {{200, 0, 0}, {260, 0, 0}, {260, 20, 0}, {220, 20, 0}, {220, 60, 0}, {200, 60, 0}}};
}

FaceCorners cornersOf(const std::vector<std::vector<ScreenPoint>>& all) {
    return [&all](std::size_t i, std::vector<ScreenPoint>& c) {
        c = all[i];
        return true;
    };
}

TEST(FrontFaceAt, TheNearestFaceOfAnyCornerCountCoversThePoint) {
    const auto all = faces();
    EXPECT_EQ(frontFaceAt(all.size(), cornersOf(all), {5, 5}), 0);     // triangle in front
    EXPECT_EQ(frontFaceAt(all.size(), cornersOf(all), {80, 80}), 1);   // only the square
    EXPECT_EQ(frontFaceAt(all.size(), cornersOf(all), {100, 100}), 1); // corner counts
    EXPECT_EQ(frontFaceAt(all.size(), cornersOf(all), {210, 50}), 2);  // the L's leg
    EXPECT_EQ(frontFaceAt(all.size(), cornersOf(all), {150, 50}), -1);
    // A face left out by its corner function is never picked.
    const FaceCorners noTriangle = [&all](std::size_t i, std::vector<ScreenPoint>& c) {
        c = all[i];
        return i != 0;
    };
    EXPECT_EQ(frontFaceAt(all.size(), noTriangle, {5, 5}), 1);
}

TEST(FacesInRectangle, OnlyFacesWithEveryCornerInside) {
    const auto all = faces();
    EXPECT_EQ(facesInRectangle(all.size(), cornersOf(all), {-1, -1}, {100, 100}),
              (std::vector<int>{0, 1}));
    EXPECT_EQ(facesInRectangle(all.size(), cornersOf(all), {300, 70}, {190, -5}),
              std::vector<int>{2});
}

} // namespace
} // namespace shellfem::view3d
