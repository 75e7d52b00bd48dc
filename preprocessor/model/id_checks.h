#pragma once

#include "preprocessor/model/model_data.h"

#include <string>
#include <vector>

namespace shellfem::preprocessor {

// Empty when every ID lies in 0..count-1; otherwise a message naming the first
// bad ID, e.g. "Point 7 does not exist (there are 5)."
std::string checkIds(const std::vector<int>& ids, std::size_t count, const char* kind);

// Empty when the material and thickness IDs exist in `data`.
std::string checkAttributes(const ModelData& data, int material, int thickness);

// The values a material or thickness must have for the solver to use them.
bool validYoungsModulus(double E);  // finite and greater than 0
bool validPoissonsRatio(double Mu); // between -1 and 0.5, both excluded
bool validThickness(double tk);     // finite and greater than 0

// A flag per record, set for the IDs listed (which must be in range).
std::vector<bool> markIds(const std::vector<int>& ids, std::size_t count);

// The IDs in the order given, each at its first occurrence only.
std::vector<int> withoutRepeats(const std::vector<int>& ids);

} // namespace shellfem::preprocessor
