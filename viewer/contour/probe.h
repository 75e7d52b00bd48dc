#pragma once

#include "formats/stress_file.h"
#include "platform/canvas.h"
#include "view3d/view.h"

#include <array>
#include <optional>
#include <vector>

namespace shellfem::viewer {

// Where the cursor lies on the drawn mesh: the front-most element under it, the point's
// coordinates (s, t) in [0, 1]² of the element's bilinear map (corner 0 at (0, 0), 1 at
// (1, 0), 2 at (1, 1), 3 at (0, 1)), and the element's corner nearest to it on screen.
struct ProbePoint {
    int element = -1;
    double s = 0.0;
    double t = 0.0;
    int corner = 0;
    int node = -1; // the node at that corner
};

// The (s, t) whose bilinear image of the quadrilateral is `at`. The projection is parallel,
// so for a flat element these are its own natural coordinates. False, leaving s and t
// alone, when the map cannot be inverted there (a quadrilateral seen edge-on).
bool bilinearCoordinates(const std::array<view3d::ScreenPoint, 4>& corners, platform::PixelPoint at,
                         double& s, double& t);

// The probe at `at`, or nothing when no element covers it.
std::optional<ProbePoint> probeAt(const ContourModel& model,
                                  const std::vector<view3d::ScreenPoint>& nodes,
                                  platform::PixelPoint at);

// The bilinear interpolation of four corner values at (s, t).
double interpolate(const std::array<double, 4>& cornerValues, double s, double t);

// The window position of (s, t) on the element as drawn, or nothing without its corners.
std::optional<platform::PixelPoint> probePosition(const ContourModel& model,
                                                  const std::vector<view3d::ScreenPoint>& nodes,
                                                  const ProbePoint& probe);

} // namespace shellfem::viewer
