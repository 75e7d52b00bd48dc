#pragma once

#include "formats/solving_file.h"
#include "formats/stress_file.h"
#include "solver/static_analysis.h"

#include <iosfwd>
#include <vector>

namespace shellfem {

// "Node_Dis.txt": a header and one line per node with its six displacements.
void writeNodeDisplacements(std::ostream& out, const std::vector<double>& displacements);

// "Elem_Node_Stress.txt" / "Elem_Node_AverageStress.txt": per element, the top and
// bottom stresses and SE of each corner, in fields of width 15.
void writeStressTable(std::ostream& out, const SolvingModel& model,
                      const std::vector<ElementStresses>& stresses);

// The mesh with corner stresses and their SE, ready for the contour format.
ContourModel contourModel(const SolvingModel& model, const std::vector<ElementStresses>& stresses);

} // namespace shellfem
