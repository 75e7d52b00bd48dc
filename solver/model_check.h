#pragma once

#include "formats/solving_file.h"
#include "solver/shell_element.h"

#include <string>
#include <vector>

namespace shellfem {

// Finds the first element that cannot be integrated: a node used twice, a
// material or thickness that makes the element matrices meaningless, or a shape
// without a valid mapping. Returns a message naming the element, or "".
std::string checkElements(const SolvingModel& model, const std::vector<ShellElement>& elements);

} // namespace shellfem
