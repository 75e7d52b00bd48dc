#pragma once

#include "formats/stress_file.h"

#include <string>
#include <vector>

namespace shellfem::viewer {

// The files the solver writes beside the averaged stresses that the viewer can use:
// "Node_Dis.txt" for the deformed shape and "Elem_Node_Strs_InContourFormat.txt" (the
// stresses before averaging) for the averaging jump. Each is taken only when it reads and
// fits the mesh; otherwise its note says why it is not.
class CompanionFiles {
public:
    // Reads both from the folder of `stressPath`, checked against `model` read from there.
    void load(const std::string& stressPath, const ContourModel& model);

    // Six per node, or null when there are none.
    const std::vector<double>* displacements() const;
    // The drawing's scale: the largest translation at 5 % of the model size; 0 when
    // nothing moves or there are no displacements.
    double defaultScale() const { return defaultScale_; }
    const std::string& deformationNote() const { return deformationNote_; }

    // The element stresses of the same mesh, or null.
    const ContourModel* unaveraged() const;
    const std::string& jumpNote() const { return jumpNote_; }

    // "Deformed Shape unavailable: ...", "Every translation ... is zero", "Averaging Jump
    // unavailable: ...": what the status line tells, or nothing when all is there.
    std::string notes() const;

private:
    std::string beside(const char* name) const;
    // Why a companion that could not be read is not used; empty when it was read.
    std::string failureNote(const Outcome& read, const std::string& path) const;
    void loadDisplacements(const ContourModel& model);
    void loadUnaveraged(const ContourModel& model);

    std::string stressPath_;
    std::vector<double> displacements_; // empty when unavailable
    double defaultScale_ = 0.0;
    std::string deformationNote_;
    ContourModel unaveraged_;
    bool unaveragedRead_ = false;
    std::string jumpNote_;
};

} // namespace shellfem::viewer
