#pragma once

#include "solver/equation_solver.h"
#include "solver/node_coupling.h"

#include <memory>

namespace shellfem {

// Models of this many equations and more are factorised on two threads, split
// into two domains by a node separator; smaller ones gain nothing from it.
inline constexpr int kTwoDomainsFromEquations = 20000;

// Supernodal sparse Cholesky K = L·Lᵀ of the upper triangle in compressed
// columns, the equations ordered by nested dissection of the node graph. The
// pattern comes from the element connectivity once; the construction orders and
// analyses it, so that cost() is exact before any value is stored.
class SparseCholeskySolver : public EquationSolver {
public:
    // Throws std::bad_alloc when the pattern or its analysis do not fit in memory.
    SparseCholeskySolver(int nodes, const std::vector<ElementNodes>& elements,
                         int twoDomainsFromEquations = kTwoDomainsFromEquations);
    ~SparseCholeskySolver() override;

    const char* methodName() const override;
    double storeBytes() const override { return cost().bytes; }
    SolutionCost cost() const override;
    // The numeric factorisation, then the substitutions.
    std::int64_t progressSteps() const override { return 2; }

    void allocate() override;
    void addElementMatrix(const std::array<int, kElementDofs>& equations, const double* K) override;
    void setDiagonal(int equation, double value) override;
    std::optional<PivotFailure> factorize(const StepDone& stepDone) override;
    void solve(const std::vector<double>& f, std::vector<double>& u,
               const StepDone& stepDone) override;
    void release() override;

    // Whether the factorisation runs in two domains on two threads.
    bool factorizesInTwoDomains() const;

private:
    struct Kernel;
    std::int64_t address(int row, int column) const;
    std::optional<PivotFailure> firstSmallPivot() const;

    NodeCoupling coupling_;
    std::unique_ptr<Kernel> kernel_;
};

} // namespace shellfem
