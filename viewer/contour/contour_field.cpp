#include "viewer/contour/contour_field.h"

#include "viewer/contour/stress_component.h"

#include <algorithm>
#include <cmath>

namespace shellfem::viewer {

const char* surfaceName(Surface surface) {
    switch (surface) {
    case Surface::Top:
        return "top surface";
    case Surface::Bottom:
        return "bottom surface";
    case Surface::Membrane:
        return "membrane";
    case Surface::Bending:
        return "bending";
    }
    return "?";
}

StressValues surfaceStress(const ContourElement& element, std::size_t corner, Surface surface) {
    const StressValues& top = element.top[corner];
    const StressValues& bottom = element.bottom[corner];
    if (surface == Surface::Top)
        return top;
    if (surface == Surface::Bottom)
        return bottom;
    const double sign = surface == Surface::Membrane ? 1.0 : -1.0;
    StressValues combined{};
    for (std::size_t c = 0; c < 6; ++c)
        combined[c] = 0.5 * (top[c] + sign * bottom[c]);
    combined[6] = equivalentStress(combined[0], combined[1], combined[2], combined[3], combined[4],
                                   combined[5]);
    return combined;
}

std::array<double, 4> cornerValues(const ContourModel& model, const ContourModel* unaveraged,
                                   std::size_t element, const DisplayStates& states) {
    const auto column = static_cast<std::size_t>(std::clamp(states.component, 0, 6));
    const bool jump =
        states.averagingJump && unaveraged != nullptr && element < unaveraged->elements.size();
    std::array<double, 4> values{};
    for (std::size_t k = 0; k < 4; ++k) {
        const double averaged = surfaceStress(model.elements[element], k, states.surface)[column];
        values[k] = jump ? std::fabs(surfaceStress(unaveraged->elements[element], k,
                                                   states.surface)[column] -
                                     averaged)
                         : averaged;
    }
    return values;
}

std::pair<double, double> fieldRange(const ContourModel& model, const ContourModel* unaveraged,
                                     const DisplayStates& states) {
    if (model.elements.empty())
        return {0.0, 0.0};
    double low = INFINITY, high = -INFINITY;
    for (std::size_t e = 0; e < model.elements.size(); ++e)
        for (double v : cornerValues(model, unaveraged, e, states)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    return {low, high};
}

std::vector<std::string> fieldTitle(const DisplayStates& states) {
    const std::string name = stressComponentName(states.component);
    const std::string surface = std::string("(") + surfaceName(states.surface) + ")";
    if (states.averagingJump)
        return {"Averaging jump of " + name, surface};
    return {name + " " + surface};
}

Outcome sameMesh(const ContourModel& model, const std::string& modelName, const ContourModel& other,
                 const std::string& otherName) {
    const auto refuse = [](std::string why) {
        return Outcome::failure(Status::Refused, std::move(why));
    };
    const auto counts = [&](std::size_t theirs, std::size_t ours, const char* what) {
        return otherName + " has " + std::to_string(theirs) + " " + what + " where " + modelName +
               " has " + std::to_string(ours);
    };
    if (other.nodes.size() != model.nodes.size())
        return refuse(counts(other.nodes.size(), model.nodes.size(), "nodes"));
    if (other.elements.size() != model.elements.size())
        return refuse(counts(other.elements.size(), model.elements.size(), "elements"));
    double size = 0.0;
    for (const Vec3& p : model.nodes)
        size = std::max({size, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    // Both files are written with six significant digits from the same positions.
    const double tolerance = 1e-5 * size;
    for (std::size_t n = 0; n < model.nodes.size(); ++n)
        if (length(other.nodes[n] - model.nodes[n]) > tolerance)
            return refuse(otherName + " places node " + std::to_string(n) + " elsewhere than " +
                          modelName);
    for (std::size_t e = 0; e < model.elements.size(); ++e)
        if (other.elements[e].nodes != model.elements[e].nodes)
            return refuse(otherName + " gives element " + std::to_string(e) + " other nodes than " +
                          modelName);
    return Outcome::success();
}

} // namespace shellfem::viewer
