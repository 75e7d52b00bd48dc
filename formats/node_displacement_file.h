#pragma once

#include "common/outcome.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace shellfem {

inline const char* const kNodeDisplacementFileName = "Node_Dis.txt";

// Reads "Node_Dis.txt" as the solver writes it: the header "Node dx dy dz rx ry rz", then one
// line "i: dx dy dz rx ry rz" per node with i = 0, 1, 2, ... in order. `displacements`
// receives six values per node (translations, then rotations, global axes). On failure it is
// left empty and the result names the file, the line and what is wrong there.
Outcome readNodeDisplacementFile(std::istream& in, std::vector<double>& displacements,
                                 const std::string& fileName);
Outcome readNodeDisplacementFile(const std::string& path, std::vector<double>& displacements);

} // namespace shellfem
