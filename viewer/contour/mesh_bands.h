#pragma once

#include "formats/stress_file.h"
#include "view3d/view.h"
#include "viewer/contour/iso_bands.h"

#include <array>
#include <cstddef>
#include <vector>

namespace shellfem::viewer {

// One element as the plot draws it: its place in the model, its projected corners with
// their mean depth, and the contour's values at the corners.
struct DrawnElement {
    std::size_t index = 0;
    double depth = 0.0;
    std::array<view3d::ScreenPoint, 4> corners;
    std::array<double, 4> values{};
};

// Elements meeting at a node carry values there that the file rounded to six digits after
// summing in different orders: values alike to that precision become one value (the one of
// the lowest-numbered element), so that the band limits cross shared edges at one point.
void joinRoundedValues(const ContourModel& model, std::vector<DrawnElement>& drawn);

// The band pieces of every drawn element, in the order of `drawn`. Each element takes as
// corners of its pieces the limit crossings its neighbours have on their shared edges too:
// where the values differ across an edge (at a fold, where the stresses are not averaged)
// both sides still meet in the same points, and the fill leaves no gap between them.
std::vector<std::vector<BandPiece>> meshBandPieces(const ContourModel& model,
                                                   const std::vector<DrawnElement>& drawn,
                                                   const std::vector<double>& limits);

} // namespace shellfem::viewer
