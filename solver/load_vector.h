#pragma once

#include "formats/solving_file.h"
#include "solver/shell_element.h"

#include <vector>

namespace shellfem {

// The applied loads in global axes, six per node (Fx Fy Fz Mx My Mz): the nodal
// forces plus the distributed loads' equivalent nodal forces, in file order,
// before the restraints act on them. `elements` are the model's elements in order.
std::vector<double> appliedLoads(const SolvingModel& model,
                                 const std::vector<ShellElement>& elements);

} // namespace shellfem
