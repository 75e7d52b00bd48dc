#pragma once

#include "formats/stress_file.h"

namespace shellfem::viewer::testing {

// A curved shell for the viewer's tests: a quarter cylinder of radius 10 along
// y (nx x ny quadrilaterals), with stresses that vary smoothly over it, so
// that the contour shows many bands. Corner values are averaged per node like
// the solver's "Shell_AverageStrs.txt".
ContourModel cylinderPanel(int nx = 12, int ny = 8);

// A flat nx x ny plate of unit squares in the x-y plane with Sx growing along x.
ContourModel flatPlate(int nx, int ny);

} // namespace shellfem::viewer::testing
