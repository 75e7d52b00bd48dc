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

// The blocked factorisation's two kernels: panels worked in place in the
// skyline store, for any profile; a sliding dense band window on the threaded
// BLAS, for profiles close to a band. Automatic takes the window where it pays.
enum class SkylineKernel { Automatic, Panels, BandWindow };

// How the blocked factorisation divides its work.
struct FactorizationOptions {
    // Columns factorised together as one panel of the panel kernel.
    int panelWidth = 48;
    // Threads sharing each panel's work, the calling thread among them.
    int threads = 2;
    SkylineKernel kernel = SkylineKernel::Automatic;
    // Columns per panel of the band window.
    int windowPanelWidth = 192;
};

// Factorises K = Lᵀ D L in place: the strict upper triangle becomes L's entries
// and the diagonal becomes D. `columnDone(j)` is called from the calling thread
// for every column in increasing order once column j is final. Stops at the
// first pivot that is not finite and positive above kSmallestPivotRatio of its
// original diagonal. Works in panels of columns on `options.threads` threads,
// by the kernel that `options.kernel` names.
std::optional<PivotFailure> factorizeLDLT(SkylineMatrix& K,
                                          const std::function<void(int)>& columnDone = {});
std::optional<PivotFailure> factorizeLDLT(SkylineMatrix& K, const FactorizationOptions& options,
                                          const std::function<void(int)>& columnDone = {});

// The same factorisation column by column on one thread (active-column Crout):
// the reference the blocked one is measured and checked against.
std::optional<PivotFailure>
factorizeLDLTColumnwise(SkylineMatrix& K, const std::function<void(int)>& columnDone = {});

// The pivot test of both factorisations for column `column`.
std::optional<PivotFailure> testPivot(int column, double pivot, double originalDiagonal);

// Solves Lᵀ D L u = f with the factors: forward reduction of f in place,
// then division by D and back substitution into u.
void forwardReduce(const SkylineMatrix& factors, std::vector<double>& f);
void backSubstitute(const SkylineMatrix& factors, const std::vector<double>& f,
                    std::vector<double>& u);

// Floating-point operations of factorizeLDLT for a profile (multiply and add counted apart).
double factorizationFlops(const SkylineProfile& profile);

} // namespace shellfem
