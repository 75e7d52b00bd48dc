#pragma once

#include "solver/reactions.h"

#include <iosfwd>

namespace shellfem {

inline const char* const kReactionFileName = "Reactions.txt";

// "Reactions.txt": one line per restrained node with its six reactions ("-" at a
// free DOF), in the fields of "Node_Dis.txt"; then the totals of loads and
// reactions, their residuals and a line that says whether equilibrium is met.
void writeReactionFile(std::ostream& out, const ReactionBalance& balance);

} // namespace shellfem
