#pragma once

#include "solver/equation_solver.h"
#include "solver/skyline_matrix.h"

#include <memory>

namespace shellfem {

// Bytes of the skyline store of `profile`.
double skylineBytes(const SkylineProfile& profile);

// Active-column LDLᵀ on the skyline store of the equations in node order.
// The profile is shared, not owned: it must outlive the solver.
class SkylineSolver : public EquationSolver {
public:
    explicit SkylineSolver(const SkylineProfile& profile);

    const char* methodName() const override { return ""; }
    double storeBytes() const override { return skylineBytes(profile_); }
    SolutionCost cost() const override;
    std::int64_t progressSteps() const override { return profile_.equations(); }

    void allocate() override;
    void addElementMatrix(const std::array<int, kElementDofs>& equations, const double* K) override;
    void setDiagonal(int equation, double value) override;
    std::optional<PivotFailure> factorize(const StepDone& stepDone) override;
    void solve(const std::vector<double>& f, std::vector<double>& u,
               const StepDone& stepDone) override;
    void release() override { matrix_.reset(); }

private:
    const SkylineProfile& profile_;
    std::unique_ptr<SkylineMatrix> matrix_;
};

} // namespace shellfem
