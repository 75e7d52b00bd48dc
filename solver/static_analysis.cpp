#include "solver/static_analysis.h"

#include "formats/number_format.h"
#include "solver/ldlt_solver.h"
#include "solver/load_vector.h"
#include "solver/model_check.h"
#include "solver/skyline_solver.h"
#include "solver/sparse_cholesky_solver.h"
#include "solver/stress_recovery.h"

#include <cmath>
#include <limits>
#include <new>
#include <thread>

namespace shellfem {

namespace {

constexpr double kRestraintPenalty = 1e20;
const char* const kDofNames[kDofsPerNode] = {"UX", "UY", "UZ", "RX", "RY", "RZ"};
// Elements whose matrices are computed while the previous batch is added.
constexpr std::size_t kAssemblyBatch = 1024;

std::vector<ElementNodes> elementNodes(const SolvingModel& model) {
    std::vector<ElementNodes> nodes;
    nodes.reserve(model.elements.size());
    for (const ElementRecord& e : model.elements)
        nodes.push_back(e.nodes);
    return nodes;
}

void computeStiffness(const std::vector<ShellElement>& elements, std::size_t first,
                      std::size_t count, std::vector<ElementMatrix>& K) {
    for (std::size_t i = 0; i < count; ++i)
        elements[first + i].stiffness(K[i]);
}

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

Outcome StaticAnalysis::setUp(MethodRequest request) {
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
    return chooseSolver(request);
}

Outcome StaticAnalysis::chooseSolver(MethodRequest request) {
    method_ = SolutionMethod::Skyline;
    solver_ = std::make_unique<SkylineSolver>(profile_);
    if (request == MethodRequest::Skyline)
        return Outcome::success();
    const double memory = usableMemoryBytes();
    // Counting the skyline's flops takes a pass over its profile, only worth it
    // when the store fits; it runs beside the ordering of the sparse path.
    SolutionCost skyline{skylineBytes(profile_), std::numeric_limits<double>::infinity()};
    std::thread flopCounter;
    if (request == MethodRequest::Automatic && skyline.bytes <= memory)
        flopCounter = std::thread([&] { skyline.flops = factorizationFlops(profile_); });
    std::unique_ptr<SparseCholeskySolver> sparse;
    try {
        sparse = std::make_unique<SparseCholeskySolver>(static_cast<int>(model_.nodes.size()),
                                                        elementNodes(model_));
    } catch (const std::bad_alloc&) {
    }
    if (flopCounter.joinable())
        flopCounter.join();
    if (!sparse) {
        if (request == MethodRequest::Sparse)
            return Outcome::failure(Status::Failed,
                                    "Not enough memory to order the sparse stiffness matrix.");
        return Outcome::success();
    }
    if (request == MethodRequest::Sparse ||
        chooseMethod(skyline, sparse->cost(), equations(), memory) == SolutionMethod::Sparse) {
        method_ = SolutionMethod::Sparse;
        solver_ = std::move(sparse);
    }
    return Outcome::success();
}

void StaticAnalysis::allocateMatrix() {
    solver_->allocate();
}

void StaticAnalysis::assemble(const std::function<void(int)>& elementDone) {
    const std::size_t count = elements_.size();
    std::vector<ElementMatrix> ready(std::min(count, kAssemblyBatch));
    std::vector<ElementMatrix> next(ready.size());
    computeStiffness(elements_, 0, ready.size(), ready);
    for (std::size_t first = 0; first < count; first += kAssemblyBatch) {
        const std::size_t batch = std::min(kAssemblyBatch, count - first);
        const std::size_t following = first + batch;
        const std::size_t followingCount = std::min(kAssemblyBatch, count - following);
        std::thread worker;
        if (followingCount > 0)
            worker = std::thread(computeStiffness, std::cref(elements_), following, followingCount,
                                 std::ref(next));
        for (std::size_t i = 0; i < batch; ++i) {
            solver_->addElementMatrix(elementEquations(model_.elements[first + i]),
                                      ready[i].data());
            if (elementDone)
                elementDone(static_cast<int>(first + i));
        }
        if (worker.joinable())
            worker.join();
        ready.swap(next);
    }
}

void StaticAnalysis::formLoads() {
    loads_ = appliedLoads(model_, elements_);
    for (const RestraintRecord& r : model_.restraints)
        for (std::size_t d = 0; d < kDofsPerNode; ++d)
            if (r.flags[d] == 1)
                loads_[static_cast<std::size_t>(kDofsPerNode * r.node + static_cast<int>(d))] = 0.0;
    imposeRestraints();
}

void StaticAnalysis::imposeRestraints() {
    for (const RestraintRecord& r : model_.restraints)
        for (std::size_t d = 0; d < kDofsPerNode; ++d)
            if (r.flags[d] == 1)
                solver_->setDiagonal(kDofsPerNode * r.node + static_cast<int>(d),
                                     kRestraintPenalty);
}

Outcome StaticAnalysis::solve(const StepDone& stepDone) {
    Outcome factorized = factorize(stepDone);
    if (factorized.ok())
        substitute(stepDone);
    return factorized;
}

Outcome StaticAnalysis::factorize(const StepDone& stepDone) {
    auto failure = solver_->factorize(stepDone);
    if (failure && method_ == SolutionMethod::Sparse)
        failure = confirmOnSkyline(*failure);
    if (!failure)
        return Outcome::success();
    const int node = failure->equation / kDofsPerNode;
    const char* dof = kDofNames[failure->equation % kDofsPerNode];
    // A kernel that stops at a negative pivot may leave it uncomputed.
    const std::string pivot =
        std::isnan(failure->pivot) ? "not positive" : formatGeneral(failure->pivot);
    return Outcome::failure(
        Status::Failed,
        "The structure is not restrained enough: the stiffness matrix is singular at node " +
            std::to_string(node) + ", degree of freedom " + dof + " (pivot " + pivot +
            ", diagonal " + formatGeneral(failure->originalDiagonal) +
            "). Restrain the structure against rigid-body motion and check that every node "
            "belongs to an element or is fully restrained.");
}

// Where a pivot fails depends on the order of elimination. The skyline's node
// order is the one the user can follow, so when its store fits, the sparse
// path's failure is located again by the skyline; should that one pass after
// all, its factors are kept and the solution goes on. Otherwise the sparse
// path's own failing equation stands.
std::optional<PivotFailure> StaticAnalysis::confirmOnSkyline(const PivotFailure& sparseFailure) {
    if (skylineBytes(profile_) > usableMemoryBytes())
        return sparseFailure;
    solver_->release();
    auto skyline = std::make_unique<SkylineSolver>(profile_);
    try {
        skyline->allocate();
    } catch (const std::bad_alloc&) {
        return sparseFailure;
    }
    solver_ = std::move(skyline);
    method_ = SolutionMethod::Skyline;
    assemble();
    imposeRestraints();
    return solver_->factorize({});
}

void StaticAnalysis::substitute(const StepDone& stepDone) {
    solver_->solve(loads_, displacements_, stepDone);
}

void StaticAnalysis::recoverStresses() {
    elementStresses_ = computeElementStresses(model_, elements_, displacements_);
    averagedStresses_ = averageNodalStresses(model_, elements_, elementStresses_);
}

void StaticAnalysis::releaseMatrix() {
    solver_->release();
}

Outcome solveDisplacements(const SolvingModel& model, std::vector<double>& displacements,
                           MethodRequest request) {
    StaticAnalysis analysis(model);
    if (Outcome set = analysis.setUp(request); !set.ok())
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
