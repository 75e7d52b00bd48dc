#pragma once

#include "common/outcome.h"
#include "geometry/vec3.h"

#include <array>
#include <iosfwd>
#include <string>
#include <vector>

namespace shellfem {

// The solver's input "shell_fem_solving.txt". All indices are 0-based positions.
struct Material {
    double E = 0.0;  // Young's modulus
    double Mu = 0.0; // Poisson's ratio
};

struct ElementRecord {
    std::array<int, 4> nodes{}; // corner order 0..3 fixes the element's local axes
    int material = 0;
    int thickness = 0;
};

struct RestraintRecord {
    int node = 0;
    std::array<int, 6>
        flags{}; // UX UY UZ RX RY RZ; 1 fixes the DOF, any other value leaves it free
};

struct ForceRecord {
    int node = 0;
    std::array<double, 6> values{}; // Fx Fy Fz Mx My Mz in global axes
};

struct DistributedLoadRecord {
    int element = 0;
    std::array<double, 4> q{}; // pressure at corners 0..3, positive along the element normal
};

struct SolvingModel {
    std::vector<Material> materials;
    std::vector<double> thicknesses;
    std::vector<Vec3> nodes;
    std::vector<ElementRecord> elements;
    std::vector<RestraintRecord> restraints;
    std::vector<ForceRecord> forces;
    std::vector<DistributedLoadRecord> loads;
};

inline const char* const kSolvingFileName = "shell_fem_solving.txt";

// Reads the whole file; on failure `model` is left empty and the result names
// the line and record. Counts and indices are checked against the lists they refer to.
Outcome readSolvingFile(std::istream& in, SolvingModel& model,
                        const std::string& fileName = kSolvingFileName);
Outcome readSolvingFile(const std::string& path, SolvingModel& model);

// Refuses, naming the record and field ("node 3: x=1e+200 ..."), a model with a
// value that is not finite or lies beyond kLargestMagnitude: the reader would
// refuse it, and the analysis could not keep its products finite.
Outcome checkMagnitudes(const SolvingModel& model);

// Writes every value so that it reads back exactly.
void writeSolvingFile(std::ostream& out, const SolvingModel& model);
bool writeSolvingFile(const std::string& path, const SolvingModel& model);

} // namespace shellfem
