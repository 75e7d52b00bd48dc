#pragma once

#include "common/outcome.h"
#include "formats/solving_file.h"
#include "preprocessor/model/model.h"

#include <string>

namespace shellfem::preprocessor {

// Derives the solver's records from the model: each element takes its polygon's
// material and thickness, and each polygon load becomes one record per element
// of the polygon. Refuses, with a message naming the record, a model the solver
// cannot solve: no elements, a missing material or thickness, E <= 0, Mu outside
// (-1, 0.5), TK <= 0, no restrained degree of freedom, a load on a polygon that is
// not meshed, or a node of no element that is not fully restrained.
Outcome buildSolvingModel(const ModelData& data, SolvingModel& solving);

// Builds the records and writes the solving file to `path` (replacing it only
// when the whole file was written).
Outcome exportSolvingFile(const std::string& path, const Model& model);

} // namespace shellfem::preprocessor
