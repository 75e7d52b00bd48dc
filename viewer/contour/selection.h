#pragma once

#include "common/outcome.h"
#include "formats/stress_file.h"
#include "platform/canvas.h"
#include "view3d/view.h"

#include <cstddef>
#include <string>
#include <vector>

namespace shellfem::viewer {

// One flag per element and per node of the shown model (0-based, nonzero = selected).
struct Selection {
    std::vector<char> elements, nodes;

    // Sizes the flags for a model and clears them all.
    void reset(std::size_t nElements, std::size_t nNodes);
    void clearElements();
    void clearNodes();
};

// Sets (select) or clears the flags first, first+step, ... up to last (0-based, inclusive).
// Refuses, with `flags` unchanged and the problem named, a step <= 0,
// first > last, or a number outside 0..flags.size()-1.
Outcome selectRange(std::vector<char>& flags, int first, int last, int step, bool select);

// The front-most element (largest mean corner depth) whose projected quadrilateral
// covers `at` (boundary included); -1 if none.
int pickElement(const ContourModel& model, const std::vector<view3d::ScreenPoint>& nodes,
                platform::PixelPoint at);

// The elements whose four corners all lie inside the rectangle, in element order.
std::vector<int> elementsInRectangle(const ContourModel& model,
                                     const std::vector<view3d::ScreenPoint>& nodes,
                                     platform::PixelPoint a, platform::PixelPoint b);

} // namespace shellfem::viewer
