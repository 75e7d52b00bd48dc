#pragma once

#include <array>

namespace shellfem {

// Weights of the four corners of a bilinear quadrilateral at (s, t) in [0, 1]^2:
// corner 0 at (0, 0), 1 at (1, 0), 2 at (1, 1), 3 at (0, 1).
inline std::array<double, 4> bilinearWeights(double s, double t) {
    return {(1 - s) * (1 - t), s * (1 - t), s * t, (1 - s) * t};
}

} // namespace shellfem
