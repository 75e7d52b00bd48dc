#pragma once

#include "common/outcome.h"
#include "formats/stress_file.h"
#include "platform/canvas.h"
#include "viewer/contour/projected_node.h"

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

// The node nearest to `at` within `tolerancePixels`; the front-most (largest depth)
// on equal distance; -1 if none is that close.
int pickNode(const std::vector<ProjectedNode>& nodes, platform::PixelPoint at,
             double tolerancePixels);

// The front-most element (largest mean corner depth) whose projected quadrilateral
// contains `at` (boundary included); -1 if none.
int pickElement(const ContourModel& model, const std::vector<ProjectedNode>& nodes,
                platform::PixelPoint at);

// Sets the flag of every node inside the rectangle with opposite corners a and b
// (boundary included); other flags are left as they are.
void pickNodesInRectangle(const std::vector<ProjectedNode>& nodes, platform::PixelPoint a,
                          platform::PixelPoint b, std::vector<char>& flags);

// Sets the flag of every element whose four corners all lie inside the rectangle.
void pickElementsInRectangle(const ContourModel& model, const std::vector<ProjectedNode>& nodes,
                             platform::PixelPoint a, platform::PixelPoint b,
                             std::vector<char>& flags);

} // namespace shellfem::viewer
