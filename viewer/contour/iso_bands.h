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

// Where the inner limits (the edges between bands) cross the segment a-b along which the
// value varies linearly, as the splits below compute them: the same two ends, in either
// order, give the very same points.
std::vector<platform::PixelPoint> limitCrossings(const ValuedPoint& a, const ValuedPoint& b,
                                                 const std::vector<double>& limits);

// Cuts a triangle with linearly interpolated corner values along every limit into
// convex pieces, each lying between two consecutive limits (band b between limits[b]
// and limits[b+1]). Values outside [limits.front(), limits.back()] belong to the end
// bands. `limits` must be increasing with at least two entries. `onFirstEdge` are extra
// points on the edge a-b that the pieces take as corners there (see splitQuadIntoBands).
void splitTriangleIntoBands(const ValuedPoint& a, const ValuedPoint& b, const ValuedPoint& c,
                            const std::vector<double>& limits, std::vector<BandPiece>& pieces,
                            const std::vector<platform::PixelPoint>& onFirstEdge = {});

// Points on each edge k of a quadrilateral (corner k to corner k+1) that its pieces take as
// corners: a neighbour's limit crossings on the shared edge. Where the neighbour's values
// differ (a fold), both then run their piece boundaries through the same points, and the
// fill leaves no sliver between them.
using EdgePoints = std::array<std::vector<platform::PixelPoint>, 4>;

// Splits a quadrilateral (corners in order) into four triangles about its centre, which
// takes the mean position and value, and bands each triangle. The pieces tile the quad.
std::vector<BandPiece> splitQuadIntoBands(const std::array<ValuedPoint, 4>& corners,
                                          const std::vector<double>& limits,
                                          const EdgePoints& shared = {});

} // namespace shellfem::viewer
