#pragma once

#include "formats/solving_file.h"

#include <iosfwd>
#include <vector>

namespace shellfem {

// A DXF ENTITIES section with one LINE per element edge (shared edges twice),
// each node drawn at its position plus `scale` times its translation when
// `displacements` (six per node) is given.
void writeMeshDxf(std::ostream& out, const SolvingModel& model,
                  const std::vector<double>* displacements = nullptr, double scale = 0.0);

// The scale that draws the largest translation at 5 % of the model's largest
// extent; 0 when nothing moves, so that the undeformed mesh is drawn.
double deformationScale(const SolvingModel& model, const std::vector<double>& displacements);

} // namespace shellfem
