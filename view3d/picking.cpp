#include "view3d/picking.h"

#include <algorithm>

namespace shellfem::view3d {

namespace {

double cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

bool takes(const Eligible& eligible, std::size_t i) {
    return !eligible || eligible(i);
}

} // namespace

bool triangleContains(platform::PixelPoint a, platform::PixelPoint b, platform::PixelPoint c,
                      platform::PixelPoint p) {
    const double area = cross(b.x - a.x, b.y - a.y, c.x - a.x, c.y - a.y);
    if (area == 0.0)
        return false;
    const double sign = area > 0.0 ? 1.0 : -1.0;
    return sign * cross(b.x - a.x, b.y - a.y, p.x - a.x, p.y - a.y) >= 0.0 &&
           sign * cross(c.x - b.x, c.y - b.y, p.x - b.x, p.y - b.y) >= 0.0 &&
           sign * cross(a.x - c.x, a.y - c.y, p.x - c.x, p.y - c.y) >= 0.0;
}

PixelBox::PixelBox(platform::PixelPoint a, platform::PixelPoint b)
    : left(std::min(a.x, b.x)), top(std::min(a.y, b.y)), right(std::max(a.x, b.x)),
      bottom(std::max(a.y, b.y)) {}

int nearestPoint(const std::vector<ScreenPoint>& points, platform::PixelPoint at,
                 double tolerancePixels, const Eligible& eligible) {
    if (!(tolerancePixels >= 0.0))
        return -1;
    const double reach = tolerancePixels * tolerancePixels;
    int best = -1;
    double bestDistance = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double dx = points[i].x - at.x;
        const double dy = points[i].y - at.y;
        const double distance = dx * dx + dy * dy;
        if (distance > reach || !takes(eligible, i))
            continue;
        const bool nearer = best < 0 || distance < bestDistance;
        const bool sameButInFront = best >= 0 && distance == bestDistance &&
                                    points[i].depth > points[static_cast<std::size_t>(best)].depth;
        if (nearer || sameButInFront) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

std::vector<int> pointsInRectangle(const std::vector<ScreenPoint>& points, platform::PixelPoint a,
                                   platform::PixelPoint b, const Eligible& eligible) {
    const PixelBox box(a, b);
    std::vector<int> inside;
    for (std::size_t i = 0; i < points.size(); ++i)
        if (box.contains(points[i]) && takes(eligible, i))
            inside.push_back(static_cast<int>(i));
    return inside;
}

int frontFaceAt(std::size_t faceCount, const FaceCorners& corners, platform::PixelPoint at) {
    int best = -1;
    double bestDepth = 0.0;
    std::vector<ScreenPoint> c;
    for (std::size_t i = 0; i < faceCount; ++i) {
        c.clear();
        if (!corners(i, c) || !faceContains(c, at))
            continue;
        const double depth = meanDepth(c);
        if (best < 0 || depth > bestDepth) {
            best = static_cast<int>(i);
            bestDepth = depth;
        }
    }
    return best;
}

std::vector<int> facesInRectangle(std::size_t faceCount, const FaceCorners& corners,
                                  platform::PixelPoint a, platform::PixelPoint b) {
    const PixelBox box(a, b);
    std::vector<int> inside;
    std::vector<ScreenPoint> c;
    for (std::size_t i = 0; i < faceCount; ++i) {
        c.clear();
        if (!corners(i, c) || c.empty())
            continue;
        if (std::all_of(c.begin(), c.end(), [&](const ScreenPoint& p) { return box.contains(p); }))
            inside.push_back(static_cast<int>(i));
    }
    return inside;
}

} // namespace shellfem::view3d
