#pragma once

#include "common/outcome.h"
#include "formats/solving_file.h"
#include "formats/stress_file.h"
#include "solver/static_analysis.h"

#include <iosfwd>
#include <vector>

namespace shellfem {

// Fails, naming the node and component, when a displacement is not finite or lies
// beyond kLargestMagnitude (loads far too large for the stiffness): such a result
// cannot be written as a number that the programs read back.
Outcome checkDisplacements(const std::vector<double>& displacements);
// The same for the corner stresses of every element and their SE.
Outcome checkStresses(const SolvingModel& model, const std::vector<ElementStresses>& stresses);

// "Node_Dis.txt": a header and one line per node with its six displacements.
void writeNodeDisplacements(std::ostream& out, const std::vector<double>& displacements);

// "Elem_Node_Stress.txt" / "Elem_Node_AverageStress.txt": per element, the top and
// bottom stresses and SE of each corner, in fields of width 15.
void writeStressTable(std::ostream& out, const SolvingModel& model,
                      const std::vector<ElementStresses>& stresses);

// The mesh with corner stresses and their SE, ready for the contour format.
ContourModel contourModel(const SolvingModel& model, const std::vector<ElementStresses>& stresses);

} // namespace shellfem
