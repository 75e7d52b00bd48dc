#pragma once

#include "formats/solving_file.h"
#include "solver/shell_element.h"
#include "solver/static_analysis.h"

#include <vector>

namespace shellfem {

// Corner stresses of every element from the global displacements (six per node).
std::vector<ElementStresses> computeElementStresses(const SolvingModel& model,
                                                    const std::vector<ShellElement>& elements,
                                                    const std::vector<double>& displacements);

// The equivalent stress Se of each element's own top and bottom surface at its centre.
struct CentreEquivalentStress {
    double top = 0.0;
    double bottom = 0.0;
};
std::vector<CentreEquivalentStress>
centreEquivalentStresses(const SolvingModel& model, const std::vector<ShellElement>& elements,
                         const std::vector<double>& displacements);

// Averages each element corner with the corners of the other elements at that
// node whose surfaces continue it: nearly the same plane and thickness, within a
// tenth of the thickness. An element with the opposite normal contributes with
// its top and bottom exchanged.
std::vector<ElementStresses> averageNodalStresses(const SolvingModel& model,
                                                  const std::vector<ShellElement>& elements,
                                                  const std::vector<ElementStresses>& stresses);

} // namespace shellfem
