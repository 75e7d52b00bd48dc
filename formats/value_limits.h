#pragma once

#include <cmath>

namespace shellfem {

// The largest magnitude a model or result file may hold. The analysis multiplies
// coordinates, moduli, thicknesses and loads with each other; below this bound
// such products stay finite in double precision.
inline constexpr double kLargestMagnitude = 1e150;

inline bool withinLargestMagnitude(double value) {
    return std::abs(value) <= kLargestMagnitude;
}

} // namespace shellfem
