#pragma once

#include "common/outcome.h"
#include "solver/equation_solver.h"

#include <optional>
#include <string>

namespace shellfem {

enum class SolutionMethod { Skyline, Sparse };

// Which method the analysis uses: the faster of the two that fits, or one forced.
enum class MethodRequest { Automatic, Skyline, Sparse };

// Sustained factorisation rates on this package's reference machine (two cores):
// the blocked skyline kernel, and the supernodal sparse kernel on OpenBLAS as
// measured on the clamped plates of the solver benchmark.
inline constexpr double kSkylineFlopsPerSecond = 22e9;
inline constexpr double kSparseFlopsPerSecond = 20e9;
// What the sparse path costs beyond its flops: ordering, analysis and the pattern, per equation.
inline constexpr double kSparseSecondsPerEquation = 1.5e-6;
// The share of physical memory a store may take; the rest is the model, its
// results and everybody else.
inline constexpr double kUsableMemoryShare = 0.75;

// Predicted seconds of a factorisation.
double predictedSeconds(SolutionMethod method, const SolutionCost& cost, int equations);

// The faster method whose store fits in `memoryBytes`; when neither fits, the
// smaller one. A skyline cost with infinite flops was not worth counting.
SolutionMethod chooseMethod(const SolutionCost& skyline, const SolutionCost& sparse, int equations,
                            double memoryBytes);

// The memory the stores may use: kUsableMemoryShare of the physical memory.
double usableMemoryBytes();

// The value of TREVAMIC_SOLVER, unset or empty for the automatic choice; any
// other value than "skyline" or "sparse" is refused with a message that says so.
Outcome parseMethodRequest(const std::optional<std::string>& value, MethodRequest& request);

} // namespace shellfem
