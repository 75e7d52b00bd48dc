#pragma once

#include "preprocessor/model/model_data.h"

#include <string>
#include <utility>
#include <vector>

namespace shellfem::preprocessor {

// Index maintenance shared by the edits that remove records. Each function keeps
// every reference in `data` pointing at the same record after the removal.

// New positions of the kept records, -1 for the removed ones.
std::vector<int> keptIndices(const std::vector<bool>& removed);

// Removes the marked records of `list`, keeping the order of the others.
template <class T> void eraseMarked(std::vector<T>& list, const std::vector<bool>& removed) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (!removed[i])
            list[next++] = std::move(list[i]);
    list.resize(next);
}

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
