#pragma once

#include "common/outcome.h"
#include "formats/solving_file.h"
#include "solver/shell_element.h"
#include "solver/skyline_matrix.h"

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

    // Builds the elements and the skyline profile; fails with what makes the
    // model unusable (element shape, material, model size).
    Outcome setUp();
    std::int64_t skylineEntries() const { return profile_.entries(); }
    int equations() const { return profile_.equations(); }
    const SkylineProfile& profile() const { return profile_; }

    // Throws std::bad_alloc when the store does not fit in memory.
    void allocateMatrix();
    void assemble(const std::function<void(int)>& elementDone = {});
    // Nodal forces and distributed loads, then the restraint penalty.
    void formLoads();
    // Factorises and solves; fails with a message naming the node and DOF where
    // the structure is unrestrained.
    Outcome solve(const std::function<void(int)>& columnDone = {});
    // The two halves of solve: the factorisation, then forward reduction and back substitution.
    Outcome factorize(const std::function<void(int)>& columnDone = {});
    void substitute();
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
    const SolvingModel& model_;
    std::vector<ShellElement> elements_;
    SkylineProfile profile_;
    std::unique_ptr<SkylineMatrix> matrix_;
    std::vector<double> loads_;
    std::vector<double> displacements_;
    std::vector<ElementStresses> elementStresses_;
    std::vector<ElementStresses> averagedStresses_;
};

// The equations of an element's 24 DOFs in element order.
std::array<int, kElementDofs> elementEquations(const ElementRecord& element);

// Runs the whole analysis without output; `displacements` gets six values per node.
Outcome solveDisplacements(const SolvingModel& model, std::vector<double>& displacements);

} // namespace shellfem
