#pragma once

#include "solver/skyline_matrix.h"

#include <functional>
#include <optional>
#include <vector>

namespace shellfem {

// A pivot that shows the matrix is singular or not positive definite.
struct PivotFailure {
    int equation = 0;
    double pivot = 0.0;
    double originalDiagonal = 0.0;
};

// A pivot below this fraction of its column's original diagonal is round-off
// left over from a zero pivot: the structure is a mechanism there.
inline constexpr double kSmallestPivotRatio = 1e-12;

// Factorises K = Lᵀ D L in place, column by column (active-column Crout): the
// strict upper triangle becomes L's entries and the diagonal becomes D.
// `columnDone(j)` is called after each column. Stops at the first pivot that is
// not finite and positive above kSmallestPivotRatio of its original diagonal.
std::optional<PivotFailure> factorizeLDLT(SkylineMatrix& K,
                                          const std::function<void(int)>& columnDone = {});

// Solves Lᵀ D L u = f with the factors: forward reduction of f in place,
// then division by D and back substitution into u.
void forwardReduce(const SkylineMatrix& factors, std::vector<double>& f);
void backSubstitute(const SkylineMatrix& factors, const std::vector<double>& f,
                    std::vector<double>& u);

// Floating-point operations of factorizeLDLT for a profile (multiply and add counted apart).
double factorizationFlops(const SkylineProfile& profile);

} // namespace shellfem
