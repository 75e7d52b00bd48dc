#pragma once

#include "common/outcome.h"
#include "formats/solving_file.h"
#include "solver/equation_solver.h"
#include "solver/shell_element.h"
#include "solver/skyline_profile.h"
#include "solver/solution_method.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace shellfem {

// Top and bottom surface stresses at the four corners of one element.
struct ElementStresses {
    CornerStresses top{};
    CornerStresses bottom{};
};

// Linear static analysis of a shell model, step by step:
//   setUp → allocateMatrix → assemble → formLoads → solve → recoverStresses.
// Equation 6·node + d is DOF d (u, v, w, θx, θy, θz) of that node. The model is
// referenced, not copied: it must outlive the analysis.
class StaticAnalysis {
public:
    explicit StaticAnalysis(const SolvingModel& model);
    ~StaticAnalysis();

    // Builds the elements and the skyline profile and picks the solution method;
    // fails with what makes the model unusable (element shape, material, model size).
    Outcome setUp(MethodRequest request = MethodRequest::Automatic);
    std::int64_t skylineEntries() const { return profile_.entries(); }
    int equations() const { return profile_.equations(); }
    const SkylineProfile& profile() const { return profile_; }
    SolutionMethod method() const { return method_; }
    const EquationSolver& solver() const { return *solver_; }

    // Throws std::bad_alloc when the store does not fit in memory.
    void allocateMatrix();
    // Element matrices are computed on two threads and added in element order,
    // so that the sums do not depend on the threads.
    void assemble(const std::function<void(int)>& elementDone = {});
    // Nodal forces and distributed loads, then the restraint penalty.
    void formLoads();
    // Factorises and solves; fails with a message naming the node and DOF where
    // the structure is unrestrained. `stepDone` counts solver().progressSteps().
    Outcome solve(const StepDone& stepDone = {});
    // The two halves of solve: the factorisation, then the substitutions.
    Outcome factorize(const StepDone& stepDone = {});
    void substitute(const StepDone& stepDone = {});
    void recoverStresses();
    // Frees the stiffness matrix and its factors.
    void releaseMatrix();

    const std::vector<ShellElement>& elements() const { return elements_; }
    // Six per node in global axes: dx, dy, dz, rx, ry, rz.
    const std::vector<double>& displacements() const { return displacements_; }
    const std::vector<double>& loads() const { return loads_; }
    const std::vector<ElementStresses>& elementStresses() const { return elementStresses_; }
    const std::vector<ElementStresses>& averagedStresses() const { return averagedStresses_; }

private:
    Outcome chooseSolver(MethodRequest request);
    void imposeRestraints();
    std::optional<PivotFailure> confirmOnSkyline(const PivotFailure& sparseFailure);

    const SolvingModel& model_;
    std::vector<ShellElement> elements_;
    SkylineProfile profile_;
    SolutionMethod method_ = SolutionMethod::Skyline;
    std::unique_ptr<EquationSolver> solver_;
    std::vector<double> loads_;
    std::vector<double> displacements_;
    std::vector<ElementStresses> elementStresses_;
    std::vector<ElementStresses> averagedStresses_;
};

// The equations of an element's 24 DOFs in element order.
std::array<int, kElementDofs> elementEquations(const ElementRecord& element);

// Runs the whole analysis without output; `displacements` gets six values per node.
Outcome solveDisplacements(const SolvingModel& model, std::vector<double>& displacements,
                           MethodRequest request = MethodRequest::Automatic);

} // namespace shellfem
