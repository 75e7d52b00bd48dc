#pragma once

#include "common/outcome.h"
#include "formats/stress_file.h"
#include "viewer/contour/display_states.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace shellfem::viewer {

// "top surface", "bottom surface", "membrane", "bending".
const char* surfaceName(Surface surface);

// The stress at one element corner on `surface`: the top or bottom record as read, or the
// membrane part (top + bottom) / 2 or the bending part (top - bottom) / 2 of SX..TYZ, whose
// SE is that of the combined record (not a combination of the two SE values).
StressValues surfaceStress(const ContourElement& element, std::size_t corner, Surface surface);

// The value the contour shows at the element's four corners: the states' component on their
// surface or, with the averaging jump, |unaveraged - averaged| of it. `unaveraged` holds the
// element stresses of the same mesh (see sameMesh); it is only read for the jump.
std::array<double, 4> cornerValues(const ContourModel& model, const ContourModel* unaveraged,
                                   std::size_t element, const DisplayStates& states);

// The smallest and largest corner value of the whole model ((0, 0) without elements).
std::pair<double, double> fieldRange(const ContourModel& model, const ContourModel* unaveraged,
                                     const DisplayStates& states);

// The legend's title lines for what the states show, e.g. "Se (membrane)".
std::vector<std::string> fieldTitle(const DisplayStates& states);

// Refuses, naming the first difference, a model whose node count, element count, element
// nodes or node positions differ from `model`'s. The names say which file is which.
Outcome sameMesh(const ContourModel& model, const std::string& modelName, const ContourModel& other,
                 const std::string& otherName);

} // namespace shellfem::viewer
