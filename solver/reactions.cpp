#include "solver/reactions.h"

#include "solver/load_vector.h"
#include "solver/static_analysis.h"

#include <algorithm>
#include <cmath>

namespace shellfem {

namespace {

using RestraintMask = std::array<bool, kDofsPerNode>;

// Per node, which DOFs carry a flag of 1 in some restraint record.
std::vector<RestraintMask> restrainedDofs(const SolvingModel& model) {
    std::vector<RestraintMask> mask(model.nodes.size(), RestraintMask{});
    for (const RestraintRecord& r : model.restraints)
        for (std::size_t d = 0; d < kDofsPerNode; ++d)
            if (r.flags[d] == 1)
                mask[static_cast<std::size_t>(r.node)][d] = true;
    return mask;
}

bool any(const RestraintMask& m) {
    return std::find(m.begin(), m.end(), true) != m.end();
}

// Adds the force and moment of one node's six values about the origin.
void addAbout(Resultant& total, const Vec3& x, const double* f) {
    const Vec3 force{f[0], f[1], f[2]};
    const Vec3 moment = cross(x, force);
    total[0] += f[0];
    total[1] += f[1];
    total[2] += f[2];
    total[3] += moment.x + f[3];
    total[4] += moment.y + f[4];
    total[5] += moment.z + f[5];
}

void computeResiduals(ReactionBalance& b, const std::vector<Vec3>& nodes) {
    b.momentArm = 0.0;
    for (const Vec3& x : nodes)
        b.momentArm = std::max(b.momentArm, length(x));
    if (b.momentArm == 0.0)
        b.momentArm = 1.0;
    double largest = 0.0;
    for (std::size_t c = 0; c < 6; ++c) {
        const double arm = c < 3 ? 1.0 : b.momentArm;
        largest = std::max({largest, std::fabs(b.loads[c]) / arm, std::fabs(b.reactions[c]) / arm});
    }
    for (std::size_t c = 0; c < 6; ++c) {
        const double arm = c < 3 ? 1.0 : b.momentArm;
        const double imbalance = std::fabs(b.loads[c] + b.reactions[c]) / arm;
        b.residuals[c] = largest > 0.0 ? imbalance / largest : imbalance;
    }
}

} // namespace

std::size_t ReactionBalance::worstComponent() const {
    std::size_t worst = 0;
    for (std::size_t c = 0; c < 6; ++c) {
        if (!std::isfinite(residuals[c]))
            return c;
        if (residuals[c] > residuals[worst])
            worst = c;
    }
    return worst;
}

bool ReactionBalance::inEquilibrium() const {
    return residuals[worstComponent()] <= kEquilibriumLimit;
}

ReactionBalance computeReactions(const SolvingModel& model,
                                 const std::vector<ShellElement>& elements,
                                 const std::vector<double>& displacements) {
    const std::vector<RestraintMask> mask = restrainedDofs(model);
    const std::vector<double> f = appliedLoads(model, elements);

    // Internal forces Σₑ Kₑuₑ, needed only at restrained DOFs, so only from the
    // elements that touch a restrained node.
    std::vector<double> internal(f.size(), 0.0);
    ElementMatrix K;
    ElementVector u;
    for (std::size_t e = 0; e < elements.size(); ++e) {
        const ElementRecord& record = model.elements[e];
        if (std::none_of(record.nodes.begin(), record.nodes.end(),
                         [&](int n) { return any(mask[static_cast<std::size_t>(n)]); }))
            continue;
        const auto equations = elementEquations(record);
        for (std::size_t j = 0; j < kElementDofs; ++j) {
            const auto equation = static_cast<std::size_t>(equations[j]);
            const bool fixed = mask[equation / kDofsPerNode][equation % kDofsPerNode];
            u[j] = fixed ? 0.0 : displacements[equation];
        }
        elements[e].stiffness(K);
        for (std::size_t i = 0; i < kElementDofs; ++i) {
            double sum = 0.0;
            for (std::size_t j = 0; j < kElementDofs; ++j)
                sum += K[kElementDofs * i + j] * u[j];
            internal[static_cast<std::size_t>(equations[i])] += sum;
        }
    }

    ReactionBalance balance;
    for (std::size_t n = 0; n < model.nodes.size(); ++n) {
        const std::size_t first = kDofsPerNode * n;
        addAbout(balance.loads, model.nodes[n], &f[first]);
        if (!any(mask[n]))
            continue;
        NodeReaction r;
        r.node = static_cast<int>(n);
        r.restrained = mask[n];
        for (std::size_t d = 0; d < kDofsPerNode; ++d)
            if (mask[n][d])
                r.values[d] = internal[first + d] - f[first + d];
        addAbout(balance.reactions, model.nodes[n], r.values.data());
        balance.nodes.push_back(r);
    }
    computeResiduals(balance, model.nodes);
    return balance;
}

} // namespace shellfem
