#pragma once

#include "common/outcome.h"
#include "geometry/vec3.h"

#include <array>
#include <iosfwd>
#include <string>
#include <vector>

namespace shellfem {

// One surface's stress at one element corner, global axes: SX SY SZ TXY TXZ TYZ, then SE.
using StressValues = std::array<double, 7>;

struct ContourElement {
    std::array<int, 4> nodes{};
    std::array<StressValues, 4> top{};    // positive side of the element normal
    std::array<StressValues, 4> bottom{}; // negative side
};

// The contour format shared by "Elem_Node_Strs_InContourFormat.txt",
// "Elem_Node_AverageStrs_InContourFormat.txt" and the viewer's "Shell_AverageStrs.txt".
struct ContourModel {
    std::vector<Vec3> nodes;
    std::vector<ContourElement> elements;
};

inline const char* const kAverageStressFileName = "Shell_AverageStrs.txt";
// The element stresses before averaging, in the same format.
inline const char* const kElementStressFileName = "Elem_Node_Strs_InContourFormat.txt";

// The equivalent (von Mises) stress of SX SY SZ TXY TXZ TYZ.
double equivalentStress(double sx, double sy, double sz, double txy, double txz, double tyz);

// Writes 2 + NPOIN + 9·NELEM lines, numbers as "%g".
void writeContourFile(std::ostream& out, const ContourModel& model);

// Reads the layout back; on failure `model` is left empty and the result names
// the line. Counts must fit the file and node numbers must lie in 0..NPOIN-1.
Outcome readContourFile(std::istream& in, ContourModel& model, const std::string& fileName);
Outcome readContourFile(const std::string& path, ContourModel& model);

} // namespace shellfem
