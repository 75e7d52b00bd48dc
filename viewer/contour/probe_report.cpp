#include "viewer/contour/probe_report.h"

#include "formats/number_format.h"
#include "viewer/contour/contour_field.h"
#include "viewer/contour/stress_component.h"

#include <cstdio>

namespace shellfem::viewer {

namespace {

// Four significant digits: enough to read, short enough for one status line. A negative
// zero (the files hold them) reads 0.
std::string brief(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.4g", value + 0.0);
    return buffer;
}

std::string shown(double value) {
    return formatGeneral(value + 0.0);
}

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& line : lines)
        s += (s.empty() ? "" : " ") + line;
    return s;
}

} // namespace

ProbeReport describeProbe(const ContourModel& model, const ContourModel* unaveraged,
                          const std::vector<double>* displacements, const DisplayStates& states,
                          const ProbePoint& probe) {
    const auto e = static_cast<std::size_t>(probe.element);
    const auto corner = static_cast<std::size_t>(probe.corner);
    const double here = interpolate(cornerValues(model, unaveraged, e, states), probe.s, probe.t);
    const StressValues atNode = surfaceStress(model.elements[e], corner, states.surface);
    const std::string element = std::to_string(probe.element);
    const std::string node = std::to_string(probe.node);
    const std::string quantity = joined(fieldTitle(states));

    ProbeReport report;
    report.status = "Element " + element + ", nearest node " + node + "  |  " + quantity +
                    " here: " + brief(here) + "  |  node " + node + ":";
    for (int c = 0; c < 6; ++c)
        report.status += std::string(" ") + stressComponentName(c) + " " + brief(atNode[c]);

    report.rows = {{"Element", element},
                   {"Nearest node", node + " (corner " + std::to_string(probe.corner) + ")"},
                   {"Point in element (s, t)", brief(probe.s) + ", " + brief(probe.t)},
                   {quantity + " here", shown(here)}};
    const std::string surface = std::string(" at node, ") + surfaceName(states.surface);
    for (int c = 0; c < 7; ++c)
        report.rows.push_back({stressComponentName(c) + surface, shown(atNode[c])});
    if (displacements && displacements->size() >= 6 * (static_cast<std::size_t>(probe.node) + 1)) {
        static const char* const names[6] = {"dx", "dy", "dz", "rx", "ry", "rz"};
        for (std::size_t d = 0; d < 6; ++d)
            report.rows.push_back(
                {std::string(names[d]) + " at node",
                 shown((*displacements)[6 * static_cast<std::size_t>(probe.node) + d])});
    }
    const Vec3& p = model.nodes[static_cast<std::size_t>(probe.node)];
    report.rows.push_back({"Node position", shown(p.x) + ", " + shown(p.y) + ", " + shown(p.z)});
    return report;
}

} // namespace shellfem::viewer
