#pragma once

#include "platform/canvas.h"
#include "view3d/view.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace shellfem::view3d {

// What both programs pick in the window: points of the model (geometric
// points, nodes) and faces (polygons, elements) given by their corners on
// screen. Picking works in window pixels on the projected positions, so that
// an item is picked where it is drawn; in front means larger depth.

// Whether item `i` may be picked (visible, say); an empty filter takes every item.
using Eligible = std::function<bool(std::size_t i)>;

// Fills `corners` with face `i`'s corners on screen; false leaves the face out.
using FaceCorners = std::function<bool(std::size_t i, std::vector<ScreenPoint>& corners)>;

// The rectangle between two pixel corners given in any order, boundary included.
struct PixelBox {
    double left, top, right, bottom;
    PixelBox(platform::PixelPoint a, platform::PixelPoint b);
    bool contains(double x, double y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
    bool contains(const ScreenPoint& p) const { return contains(p.x, p.y); }
};

// The point nearest to `at` within `tolerancePixels`, the front-most of equally
// near ones; -1 when none is that close.
int nearestPoint(const std::vector<ScreenPoint>& points, platform::PixelPoint at,
                 double tolerancePixels, const Eligible& eligible = {});

// Every point inside the rectangle, in index order.
std::vector<int> pointsInRectangle(const std::vector<ScreenPoint>& points, platform::PixelPoint a,
                                   platform::PixelPoint b, const Eligible& eligible = {});

// The mean of the corners' depths, and of their positions: a face's depth for
// drawing and picking, and its centre. `Corners` is any sequence of ScreenPoint.
template <class Corners> double meanDepth(const Corners& corners) {
    double sum = 0.0;
    for (const ScreenPoint& c : corners)
        sum += c.depth;
    return corners.empty() ? 0.0 : sum / static_cast<double>(corners.size());
}
template <class Corners> platform::PixelPoint centreOf(const Corners& corners) {
    platform::PixelPoint sum;
    for (const ScreenPoint& c : corners) {
        sum.x += c.x;
        sum.y += c.y;
    }
    const double n = corners.empty() ? 1.0 : static_cast<double>(corners.size());
    return {sum.x / n, sum.y / n};
}

// Whether the triangle a b c covers p, boundary included; one without area covers nothing.
bool triangleContains(platform::PixelPoint a, platform::PixelPoint b, platform::PixelPoint c,
                      platform::PixelPoint p);

// Whether the face covers `at` as it is filled: a fan of triangles about the
// mean of its corners, so that bent or folded projections pick where they are
// drawn. Boundary included; a face without area covers nothing.
template <class Corners> bool faceContains(const Corners& corners, platform::PixelPoint at) {
    const platform::PixelPoint m = centreOf(corners);
    const std::size_t n = corners.size();
    for (std::size_t k = 0; k < n; ++k) {
        const ScreenPoint& a = corners[k];
        const ScreenPoint& b = corners[(k + 1) % n];
        if (triangleContains({a.x, a.y}, {b.x, b.y}, m, at))
            return true;
    }
    return false;
}

// The front-most face (largest mean depth) that covers `at`; -1 when none does.
int frontFaceAt(std::size_t faceCount, const FaceCorners& corners, platform::PixelPoint at);

// Every face whose corners all lie inside the rectangle, in index order.
std::vector<int> facesInRectangle(std::size_t faceCount, const FaceCorners& corners,
                                  platform::PixelPoint a, platform::PixelPoint b);

} // namespace shellfem::view3d
