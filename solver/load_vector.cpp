#include "solver/load_vector.h"

#include "solver/static_analysis.h"

namespace shellfem {

std::vector<double> appliedLoads(const SolvingModel& model,
                                 const std::vector<ShellElement>& elements) {
    std::vector<double> loads(kDofsPerNode * model.nodes.size(), 0.0);
    for (const ForceRecord& f : model.forces)
        for (std::size_t d = 0; d < kDofsPerNode; ++d)
            loads[static_cast<std::size_t>(kDofsPerNode * f.node) + d] += f.values[d];
    ElementVector fe;
    for (const DistributedLoadRecord& l : model.loads) {
        const auto e = static_cast<std::size_t>(l.element);
        elements[e].pressureLoad(l.q, fe);
        const auto equations = elementEquations(model.elements[e]);
        for (std::size_t j = 0; j < kElementDofs; ++j)
            loads[static_cast<std::size_t>(equations[j])] += fe[j];
    }
    return loads;
}

} // namespace shellfem
