#pragma once

#include "preprocessor/model/model_data.h"

#include <string>
#include <vector>

namespace shellfem::preprocessor::app {

// A geometric point as the dialogs list it: its ID, then x, y and z as the
// preprocessing file holds them ("3", "10.00000", "0.00000", "2.50000").
std::vector<std::string> pointRow(const ModelData& data, int point);

} // namespace shellfem::preprocessor::app
