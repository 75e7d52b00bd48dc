#pragma once

#include "formats/stress_file.h"
#include "viewer/contour/display_states.h"
#include "viewer/contour/probe.h"

#include <string>
#include <vector>

namespace shellfem::viewer {

// What the probe tells about a point: one status line, and rows (quantity, value) for the
// pinned panel.
struct ProbeReport {
    std::string status;
    std::vector<std::vector<std::string>> rows;
};

// The element and nearest node under the probe, the shown value interpolated at the point,
// the node's six stress components (and SE) on the shown surface, and, when
// `displacements` (six per node) is given, the node's displacements.
ProbeReport describeProbe(const ContourModel& model, const ContourModel* unaveraged,
                          const std::vector<double>* displacements, const DisplayStates& states,
                          const ProbePoint& probe);

} // namespace shellfem::viewer
