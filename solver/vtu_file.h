#pragma once

#include "formats/solving_file.h"
#include "solver/static_analysis.h"
#include "solver/stress_recovery.h"

#include <iosfwd>
#include <vector>

namespace shellfem {

inline const char* const kVtuFileName = "Shell_Results.vtu";

// What "Shell_Results.vtu" shows; everything is referenced, nothing copied.
struct VtuResults {
    const SolvingModel& model;
    const std::vector<double>& displacements;                // six per node
    const std::vector<ElementStresses>& averagedStresses;    // per element corner
    const std::vector<CentreEquivalentStress>& centreStress; // per element
};

// A VTK XML UnstructuredGrid in ASCII, numbers as "%g": the nodes, the quads
// (cell type 9); point data "Displacement", "Rotation", "TopStress", "TopSe",
// "BottomStress", "BottomSe"; cell data "Material", "Thickness", "TopSeCentre",
// "BottomSeCentre". Stress tensors are in VTK's order XX YY ZZ XY YZ XZ. A
// node's stresses are the averaged ones of the first element corner at the node
// (elements in order), the values "Shell_AverageStrs.txt" holds there; a node
// of no element gets zeros. Written as it is produced, a block at a time.
void writeResultsVtu(std::ostream& out, const VtuResults& results);

} // namespace shellfem
