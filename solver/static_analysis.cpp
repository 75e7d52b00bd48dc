#include "solver/static_analysis.h"

#include "formats/number_format.h"
#include "solver/ldlt_solver.h"
#include "solver/load_vector.h"
#include "solver/model_check.h"
#include "solver/stress_recovery.h"

#include <limits>
#include <new>

namespace shellfem {

namespace {

constexpr double kRestraintPenalty = 1e20;
const char* const kDofNames[kDofsPerNode] = {"UX", "UY", "UZ", "RX", "RY", "RZ"};

} // namespace

std::array<int, kElementDofs> elementEquations(const ElementRecord& element) {
    std::array<int, kElementDofs> equations;
    for (std::size_t j = 0; j < kNodesPerElement; ++j)
        for (std::size_t d = 0; d < kDofsPerNode; ++d)
            equations[kDofsPerNode * j + d] = kDofsPerNode * element.nodes[j] + static_cast<int>(d);
    return equations;
}

StaticAnalysis::StaticAnalysis(const SolvingModel& model) : model_(model) {}
StaticAnalysis::~StaticAnalysis() = default;

Outcome StaticAnalysis::setUp() {
    if (model_.nodes.size() >
        static_cast<std::size_t>(std::numeric_limits<int>::max() / kDofsPerNode))
        return Outcome::failure(Status::Refused,
                                "The model has " + std::to_string(model_.nodes.size()) +
                                    " nodes; at most " +
                                    std::to_string(std::numeric_limits<int>::max() / kDofsPerNode) +
                                    " can be numbered.");
    elements_.clear();
    elements_.reserve(model_.elements.size());
    for (const ElementRecord& e : model_.elements) {
        std::array<Vec3, 4> corners;
        for (std::size_t k = 0; k < 4; ++k)
            corners[k] = model_.nodes[static_cast<std::size_t>(e.nodes[k])];
        const Material& m = model_.materials[static_cast<std::size_t>(e.material)];
        elements_.emplace_back(corners, m.E, m.Mu,
                               model_.thicknesses[static_cast<std::size_t>(e.thickness)]);
    }
    if (Outcome check = checkElements(model_, elements_); !check.ok())
        return check;

    profile_ = SkylineProfile(kDofsPerNode * static_cast<int>(model_.nodes.size()));
    for (const ElementRecord& e : model_.elements)
        profile_.addCoupling(elementEquations(e));
    profile_.finish();
    return Outcome::success();
}

void StaticAnalysis::allocateMatrix() {
    matrix_ = std::make_unique<SkylineMatrix>(profile_);
}

void StaticAnalysis::assemble(const std::function<void(int)>& elementDone) {
    ElementMatrix K;
    for (std::size_t e = 0; e < elements_.size(); ++e) {
        elements_[e].stiffness(K);
        matrix_->addElementMatrix(elementEquations(model_.elements[e]), K.data());
        if (elementDone)
            elementDone(static_cast<int>(e));
    }
}

void StaticAnalysis::formLoads() {
    loads_ = appliedLoads(model_, elements_);
    for (const RestraintRecord& r : model_.restraints)
        for (std::size_t d = 0; d < kDofsPerNode; ++d)
            if (r.flags[d] == 1) {
                const int equation = kDofsPerNode * r.node + static_cast<int>(d);
                matrix_->diagonal(equation) = kRestraintPenalty;
                loads_[static_cast<std::size_t>(equation)] = 0.0;
            }
}

Outcome StaticAnalysis::solve(const std::function<void(int)>& columnDone) {
    Outcome factorized = factorize(columnDone);
    if (factorized.ok())
        substitute();
    return factorized;
}

Outcome StaticAnalysis::factorize(const std::function<void(int)>& columnDone) {
    const auto failure = factorizeLDLT(*matrix_, columnDone);
    if (!failure)
        return Outcome::success();
    const int node = failure->equation / kDofsPerNode;
    const char* dof = kDofNames[failure->equation % kDofsPerNode];
    return Outcome::failure(
        Status::Failed,
        "The structure is not restrained enough: the stiffness matrix is singular at node " +
            std::to_string(node) + ", degree of freedom " + dof + " (pivot " +
            formatGeneral(failure->pivot) + ", diagonal " +
            formatGeneral(failure->originalDiagonal) +
            "). Restrain the structure against rigid-body motion and check that every node "
            "belongs to an element or is fully restrained.");
}

void StaticAnalysis::substitute() {
    std::vector<double> f = loads_;
    forwardReduce(*matrix_, f);
    backSubstitute(*matrix_, f, displacements_);
}

void StaticAnalysis::recoverStresses() {
    elementStresses_ = computeElementStresses(model_, elements_, displacements_);
    averagedStresses_ = averageNodalStresses(model_, elements_, elementStresses_);
}

void StaticAnalysis::releaseMatrix() {
    matrix_.reset();
}

Outcome solveDisplacements(const SolvingModel& model, std::vector<double>& displacements) {
    StaticAnalysis analysis(model);
    if (Outcome set = analysis.setUp(); !set.ok())
        return set;
    try {
        analysis.allocateMatrix();
    } catch (const std::bad_alloc&) {
        return Outcome::failure(Status::Failed,
                                "Not enough memory for the global stiffness matrix.");
    }
    analysis.assemble();
    analysis.formLoads();
    if (Outcome solved = analysis.solve(); !solved.ok())
        return solved;
    displacements = analysis.displacements();
    return Outcome::success();
}

} // namespace shellfem
