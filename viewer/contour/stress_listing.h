#pragma once

#include "formats/stress_file.h"

#include <iosfwd>
#include <vector>

namespace shellfem::viewer {

inline const char* const kSelectedElementStressFile = "SelectedElemStress.txt";
inline const char* const kSelectedNodeStressFile = "SelectedNodeStress.txt";

// For each selected element: its corners with node number and the top and bottom
// values SX SY SZ TXY TXZ TYZ SE, in right-aligned columns under one header line.
void writeSelectedElementStresses(std::ostream& out, const ContourModel& model,
                                  const std::vector<char>& elementFlags);

// For each selected node: every element corner that lies on it, with the element,
// the corner (0..3) and the top and bottom values, in the same columns.
void writeSelectedNodeStresses(std::ostream& out, const ContourModel& model,
                               const std::vector<char>& nodeFlags);

} // namespace shellfem::viewer
