#pragma once

#include "solver/ldlt_solver.h"
#include "solver/shell_element.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace shellfem {

// What a solution method will cost, known before its store is allocated.
struct SolutionCost {
    double bytes = 0.0; // the stiffness matrix and its factors
    double flops = 0.0; // the factorisation
};

// Reports that step `done` (0-based) of a method's progressSteps() has finished.
using StepDone = std::function<void(std::int64_t done)>;

// One way of solving K·u = f for the global stiffness matrix: a store that the
// element matrices are added into, a factorisation and a solution with its factors.
// Call in this order: allocate, addElementMatrix and setDiagonal, factorize, solve.
class EquationSolver {
public:
    virtual ~EquationSolver() = default;

    // The console's name of the method, or empty for the skyline, which the
    // console has always taken for granted.
    virtual const char* methodName() const = 0;
    // The stiffness matrix and its factors in bytes, which cost() holds as well
    // but without counting the flops.
    virtual double storeBytes() const = 0;
    virtual SolutionCost cost() const = 0;
    // Steps that factorize and solve report together, for the percentage display.
    virtual std::int64_t progressSteps() const = 0;

    // Allocates the zeroed store; throws std::bad_alloc when memory is short.
    virtual void allocate() = 0;
    // Adds a full symmetric element matrix (24 × 24, row-major) whose local index
    // j is equation `equations[j]`; each pair j <= k is added once.
    virtual void addElementMatrix(const std::array<int, kElementDofs>& equations,
                                  const double* K) = 0;
    // Sets (does not add to) a diagonal entry.
    virtual void setDiagonal(int equation, double value) = 0;
    // Stops at the first pivot that is not finite and positive above
    // kSmallestPivotRatio of its column's diagonal; `equation` is in the original
    // numbering. A pivot the method could not compute is NaN.
    virtual std::optional<PivotFailure> factorize(const StepDone& stepDone) = 0;
    virtual void solve(const std::vector<double>& f, std::vector<double>& u,
                       const StepDone& stepDone) = 0;
    // Frees the store and the factors.
    virtual void release() = 0;
};

} // namespace shellfem
