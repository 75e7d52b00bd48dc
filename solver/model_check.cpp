#include "solver/model_check.h"

#include "formats/number_format.h"
#include "formats/value_limits.h"

#include <cmath>

namespace shellfem {

namespace {

std::string materialProblem(const SolvingModel& model, const ElementRecord& e) {
    const Material& m = model.materials[static_cast<std::size_t>(e.material)];
    const double tk = model.thicknesses[static_cast<std::size_t>(e.thickness)];
    const std::string material = "material " + std::to_string(e.material);
    if (!(m.E > 0.0))
        return material + " has E=" + formatGeneral(m.E) + "; E must be positive";
    if (!(m.Mu > -1.0 && m.Mu < 1.0))
        return material + " has Mu=" + formatGeneral(m.Mu) + "; Mu must lie between -1 and 1";
    if (!(tk > 0.0))
        return "thickness " + std::to_string(e.thickness) + " has TK=" + formatGeneral(tk) +
               "; TK must be positive";
    // Membrane and bending stiffness grow as E·TK and E·TK³: beyond the bound the
    // factorisation's products would overflow and look like a missing support.
    if (!withinLargestMagnitude(m.E * tk) || !withinLargestMagnitude(m.E * tk * tk * tk))
        return material + " (E=" + formatGeneral(m.E) + ") with thickness " +
               std::to_string(e.thickness) + " (TK=" + formatGeneral(tk) +
               ") gives a stiffness E*TK^3 or E*TK beyond " + formatGeneral(kLargestMagnitude);
    return {};
}

std::string repeatedNode(const ElementRecord& e) {
    for (std::size_t a = 0; a < 4; ++a)
        for (std::size_t b = a + 1; b < 4; ++b)
            if (e.nodes[a] == e.nodes[b])
                return "node " + std::to_string(e.nodes[a]) + " is both corner " +
                       std::to_string(a) + " and corner " + std::to_string(b);
    return {};
}

} // namespace

Outcome checkElements(const SolvingModel& model, const std::vector<ShellElement>& elements) {
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const ElementRecord& e = model.elements[i];
        std::string problem = repeatedNode(e);
        if (problem.empty())
            problem = materialProblem(model, e);
        if (problem.empty())
            problem = elements[i].geometryProblem();
        if (!problem.empty())
            return Outcome::failure(
                Status::Malformed,
                "Element " + std::to_string(i) + " (nodes " + std::to_string(e.nodes[0]) + "," +
                    std::to_string(e.nodes[1]) + "," + std::to_string(e.nodes[2]) + "," +
                    std::to_string(e.nodes[3]) + "): " + problem + ".");
    }
    return Outcome::success();
}

} // namespace shellfem
