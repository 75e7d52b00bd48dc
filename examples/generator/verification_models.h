#pragma once

#include "formats/solving_file.h"

#include <string>
#include <vector>

namespace shellfem {

// One displacement of a solution, weighted: the compared value of a case is
// Σ factor · u[6·node + dof] over its terms.
struct ProbeTerm {
    int node = 0;
    int dof = 0; // 0..5: dx dy dz rx ry rz
    double factor = 1.0;
};

// A standard shell test problem at one mesh. `problem` names its row in
// examples/verification/references.txt (the published value and its source).
struct VerificationCase {
    std::string problem;
    std::string mesh; // elements along the model's two sides, e.g. "8x8"
    SolvingModel model;
    std::vector<ProbeTerm> probe;
};

// The whole set, in the order the verification table lists it: square plates
// simply supported and clamped under pressure, the Scordelis–Lo roof, the
// pinched cylinder with end diaphragms, the pinched hemisphere with an 18° hole
// and the straight cantilever under four tip loads, each at three or four meshes.
std::vector<VerificationCase> verificationCases();

// The solving file's name of a case: "<problem>_<mesh>.txt".
std::string solvingFileName(const VerificationCase& c);

// "cases.txt": per case its problem, mesh, solving file and probe terms
// "node:dof:factor" separated by commas, after two comment lines.
std::string casesTable(const std::vector<VerificationCase>& cases);

} // namespace shellfem
