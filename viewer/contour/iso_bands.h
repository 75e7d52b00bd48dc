#pragma once

#include "platform/canvas.h"

#include <array>
#include <vector>

namespace shellfem::viewer {

// A convex piece of a filled polygon whose interpolated values all lie in one band.
struct BandPiece {
    int band = 0;
    std::vector<platform::PixelPoint> polygon;
};

// A corner of a polygon to be banded: its window position and its value there.
struct ValuedPoint {
    platform::PixelPoint at;
    double value = 0;
};

// Cuts a triangle with linearly interpolated corner values along every limit into
// convex pieces, each lying between two consecutive limits (band b between limits[b]
// and limits[b+1]). Values outside [limits.front(), limits.back()] belong to the end
// bands. `limits` must be increasing with at least two entries.
void splitTriangleIntoBands(const ValuedPoint& a, const ValuedPoint& b, const ValuedPoint& c,
                            const std::vector<double>& limits, std::vector<BandPiece>& pieces);

// Splits a quadrilateral (corners in order) into four triangles about its centre, which
// takes the mean position and value, and bands each triangle. The pieces tile the quad.
std::vector<BandPiece> splitQuadIntoBands(const std::array<ValuedPoint, 4>& corners,
                                          const std::vector<double>& limits);

} // namespace shellfem::viewer
