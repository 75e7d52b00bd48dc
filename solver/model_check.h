#pragma once

#include "formats/solving_file.h"
#include "solver/shell_element.h"

#include "common/outcome.h"

#include <string>
#include <vector>

namespace shellfem {

// Finds the first element that cannot be integrated: a node used twice, a
// material or thickness that makes the element matrices meaningless, or a shape
// without a valid mapping. The failure names the element.
Outcome checkElements(const SolvingModel& model, const std::vector<ShellElement>& elements);

} // namespace shellfem
