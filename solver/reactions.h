#pragma once

#include "formats/solving_file.h"
#include "solver/shell_element.h"

#include <array>
#include <vector>

namespace shellfem {

// Fx Fy Fz, then Mx My Mz about the origin, in global axes.
using Resultant = std::array<double, 6>;

// A residual above this share of the largest total means the supports do not
// balance the loads.
inline constexpr double kEquilibriumLimit = 1e-6;

// The forces and moments the supports exert on the structure at one node.
struct NodeReaction {
    int node = 0;
    std::array<bool, 6> restrained{}; // UX UY UZ RX RY RZ
    Resultant values{};               // Fx Fy Fz Mx My Mz; 0 where the DOF is free
};

struct ReactionBalance {
    std::vector<NodeReaction> nodes; // every node with a restrained DOF, in node order
    Resultant loads{};               // all applied loads
    Resultant reactions{};           // all reactions
    // |loads + reactions| per component relative to the largest of the totals,
    // moments taken as forces at the distance `momentArm`.
    Resultant residuals{};
    double momentArm = 1.0; // the largest distance of a node from the origin

    // The component with the largest residual (a non-finite one first).
    std::size_t worstComponent() const;
    bool inEquilibrium() const;
};

// Reactions R = Σₑ Kₑuₑ − f at the restrained DOFs, from the unrestrained
// element matrices, where f holds the applied loads before the restraints act
// and u the displacements with the restrained DOFs at their prescribed zero.
// (The penalty leaves a restrained DOF a small motion; taking it as zero makes a
// penalty too weak for the model's stiffness show up as an out-of-balance.)
// Independent of how the system was solved.
ReactionBalance computeReactions(const SolvingModel& model,
                                 const std::vector<ShellElement>& elements,
                                 const std::vector<double>& displacements);

} // namespace shellfem
