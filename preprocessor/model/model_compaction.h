#pragma once

#include "preprocessor/model/model_data.h"

#include <string>
#include <vector>

namespace shellfem::preprocessor {

// Index maintenance shared by the edits that remove records. Each function keeps
// every reference in `data` pointing at the same record after the removal.

// Marks the nodes that the removed elements use and no remaining element uses.
std::vector<bool> nodesFreedBy(const ModelData& data, const std::vector<bool>& elementRemoved);

void removeElements(ModelData& data, const std::vector<bool>& elementRemoved);

// Removes the marked nodes. Restraints and forces on them are dropped, and each
// dropped record is described on its own line of `notice`.
void removeNodes(ModelData& data, const std::vector<bool>& nodeRemoved, std::string& notice);

// Renumbers the nodes: node i moves to position newIndexOfOld[i] (a permutation).
void permuteNodes(ModelData& data, const std::vector<int>& newIndexOfOld);

// Removes the marked polygons with their loads; their elements must be gone already.
void removePolygons(ModelData& data, const std::vector<bool>& polygonRemoved);

std::string describePosition(const Vec3& p);

} // namespace shellfem::preprocessor
