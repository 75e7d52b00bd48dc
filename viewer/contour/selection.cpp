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

namespace {

view3d::FaceCorners elementCorners(const ContourModel& model,
                                   const std::vector<view3d::ScreenPoint>& nodes) {
    return [&model, &nodes](std::size_t e, std::vector<view3d::ScreenPoint>& corners) {
        std::array<view3d::ScreenPoint, 4> c;
        if (!projectedCorners(model.elements[e], nodes, c))
            return false;
        corners.assign(c.begin(), c.end());
        return true;
    };
}

} // namespace

int pickElement(const ContourModel& model, const std::vector<view3d::ScreenPoint>& nodes,
                platform::PixelPoint at) {
    return view3d::frontFaceAt(model.elements.size(), elementCorners(model, nodes), at);
}

std::vector<int> elementsInRectangle(const ContourModel& model,
                                     const std::vector<view3d::ScreenPoint>& nodes,
                                     platform::PixelPoint a, platform::PixelPoint b) {
    return view3d::facesInRectangle(model.elements.size(), elementCorners(model, nodes), a, b);
}

} // namespace shellfem::viewer
