#include "viewer/contour/selection.h"

#include "viewer/contour/element_geometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace shellfem::viewer {

void Selection::reset(std::size_t nElements, std::size_t nNodes) {
    elements.assign(nElements, 0);
    nodes.assign(nNodes, 0);
}

void Selection::clearElements() {
    std::fill(elements.begin(), elements.end(), 0);
}

void Selection::clearNodes() {
    std::fill(nodes.begin(), nodes.end(), 0);
}

Outcome selectRange(std::vector<char>& flags, int first, int last, int step, bool select) {
    if (step <= 0) {
        return Outcome::failure(Status::Refused,
                                "the step must be 1 or more, not " + std::to_string(step));
    }
    if (first > last) {
        return Outcome::failure(Status::Refused, "the first number " + std::to_string(first) +
                                                     " is greater than the last " +
                                                     std::to_string(last));
    }
    if (flags.empty()) {
        return Outcome::failure(Status::Refused, "there is nothing to select");
    }
    const long long highest = static_cast<long long>(flags.size()) - 1;
    for (int number : {first, last})
        if (number < 0 || number > highest) {
            return Outcome::failure(Status::Refused, "number " + std::to_string(number) +
                                                         " is out of range 0.." +
                                                         std::to_string(highest));
        }
    // Stepping in 64 bits: last + step may pass the largest int.
    for (long long i = first; i <= last; i += step)
        flags[static_cast<std::size_t>(i)] = select ? 1 : 0;
    return Outcome::success();
}

int pickNode(const std::vector<ProjectedNode>& nodes, platform::PixelPoint at,
             double tolerancePixels) {
    if (!(tolerancePixels >= 0.0))
        return -1;
    const double reach = tolerancePixels * tolerancePixels;
    int best = -1;
    double bestDistance = 0.0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const double dx = nodes[i].x - at.x;
        const double dy = nodes[i].y - at.y;
        const double distance = dx * dx + dy * dy;
        if (distance > reach)
            continue;
        const bool nearer = best < 0 || distance < bestDistance;
        const bool sameButInFront = best >= 0 && distance == bestDistance &&
                                    nodes[i].depth > nodes[static_cast<std::size_t>(best)].depth;
        if (nearer || sameButInFront) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

namespace {

double cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

// Boundary included; a triangle without area contains nothing.
bool triangleContains(double ax, double ay, double bx, double by, double cx, double cy,
                      platform::PixelPoint p) {
    const double area = cross(bx - ax, by - ay, cx - ax, cy - ay);
    if (area == 0.0)
        return false;
    const double sign = area > 0.0 ? 1.0 : -1.0;
    return sign * cross(bx - ax, by - ay, p.x - ax, p.y - ay) >= 0.0 &&
           sign * cross(cx - bx, cy - by, p.x - bx, p.y - by) >= 0.0 &&
           sign * cross(ax - cx, ay - cy, p.x - cx, p.y - cy) >= 0.0;
}

// The quadrilateral as it is filled: four triangles about the mean of its corners, so that
// bent or folded projections pick where they are drawn.
bool quadContains(const std::array<ProjectedNode, 4>& c, platform::PixelPoint p) {
    const platform::PixelPoint m = quadCentre(c);
    for (std::size_t k = 0; k < 4; ++k) {
        const ProjectedNode& a = c[k];
        const ProjectedNode& b = c[(k + 1) % 4];
        if (triangleContains(a.x, a.y, b.x, b.y, m.x, m.y, p))
            return true;
    }
    return false;
}

struct PixelBox {
    double left, top, right, bottom;
    PixelBox(platform::PixelPoint a, platform::PixelPoint b)
        : left(std::min(a.x, b.x)), top(std::min(a.y, b.y)), right(std::max(a.x, b.x)),
          bottom(std::max(a.y, b.y)) {}
    bool contains(const ProjectedNode& n) const {
        return n.x >= left && n.x <= right && n.y >= top && n.y <= bottom;
    }
};

} // namespace

int pickElement(const ContourModel& model, const std::vector<ProjectedNode>& nodes,
                platform::PixelPoint at) {
    int best = -1;
    double bestDepth = 0.0;
    std::array<ProjectedNode, 4> corners;
    for (std::size_t e = 0; e < model.elements.size(); ++e) {
        if (!projectedCorners(model.elements[e], nodes, corners) || !quadContains(corners, at))
            continue;
        const double depth = meanDepth(corners);
        if (best < 0 || depth > bestDepth) {
            best = static_cast<int>(e);
            bestDepth = depth;
        }
    }
    return best;
}

void pickNodesInRectangle(const std::vector<ProjectedNode>& nodes, platform::PixelPoint a,
                          platform::PixelPoint b, std::vector<char>& flags) {
    const PixelBox box(a, b);
    const std::size_t count = std::min(nodes.size(), flags.size());
    for (std::size_t i = 0; i < count; ++i)
        if (box.contains(nodes[i]))
            flags[i] = 1;
}

void pickElementsInRectangle(const ContourModel& model, const std::vector<ProjectedNode>& nodes,
                             platform::PixelPoint a, platform::PixelPoint b,
                             std::vector<char>& flags) {
    const PixelBox box(a, b);
    const std::size_t count = std::min(model.elements.size(), flags.size());
    std::array<ProjectedNode, 4> corners;
    for (std::size_t e = 0; e < count; ++e) {
        if (!projectedCorners(model.elements[e], nodes, corners))
            continue;
        if (std::all_of(corners.begin(), corners.end(),
                        [&](const ProjectedNode& c) { return box.contains(c); }))
            flags[e] = 1;
    }
}

} // namespace shellfem::viewer
