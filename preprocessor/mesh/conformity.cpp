#include "preprocessor/mesh/conformity.h"

#include <algorithm>
#include <map>
#include <utility>

namespace shellfem::preprocessor {

namespace {

struct FreeEdge {
    int from = 0;
    int to = 0;
    int element = 0;
};

} // namespace

bool findHangingNode(const std::vector<Vec3>& nodes,
                     const std::vector<std::array<int, 4>>& elements,
                     const std::vector<bool>& isNew, double tolerance, HangingNode& found) {
    std::map<std::pair<int, int>, std::vector<int>> elementsOfEdge;
    for (std::size_t e = 0; e < elements.size(); ++e)
        for (std::size_t k = 0; k < 4; ++k) {
            int a = elements[e][k];
            int b = elements[e][(k + 1) % 4];
            elementsOfEdge[{std::min(a, b), std::max(a, b)}].push_back(static_cast<int>(e));
        }
    // A hanging node is always an end of a free edge on the finer side, so only
    // ends of free edges need testing.
    std::vector<FreeEdge> freeEdges;
    std::vector<bool> freeEnd(nodes.size(), false);
    std::vector<bool> newEnd(nodes.size(), false);
    for (const auto& [edge, owners] : elementsOfEdge) {
        if (owners.size() != 1)
            continue;
        freeEdges.push_back({edge.first, edge.second, owners.front()});
        for (int node : {edge.first, edge.second}) {
            freeEnd[static_cast<std::size_t>(node)] = true;
            if (isNew[static_cast<std::size_t>(owners.front())])
                newEnd[static_cast<std::size_t>(node)] = true;
        }
    }
    std::vector<int> ends;
    for (std::size_t n = 0; n < nodes.size(); ++n)
        if (freeEnd[n])
            ends.push_back(static_cast<int>(n));
    for (const FreeEdge& edge : freeEdges) {
        const Vec3& a = nodes[static_cast<std::size_t>(edge.from)];
        Vec3 along = nodes[static_cast<std::size_t>(edge.to)] - a;
        double edgeLength = length(along);
        if (edgeLength <= tolerance)
            continue;
        bool edgeIsNew = isNew[static_cast<std::size_t>(edge.element)];
        for (int n : ends) {
            if (n == edge.from || n == edge.to ||
                !(edgeIsNew || newEnd[static_cast<std::size_t>(n)]))
                continue;
            Vec3 offset = nodes[static_cast<std::size_t>(n)] - a;
            double distanceAlong = dot(offset, along) / edgeLength;
            if (distanceAlong <= tolerance || distanceAlong >= edgeLength - tolerance)
                continue;
            if (length(offset - (distanceAlong / edgeLength) * along) <= tolerance) {
                found = {n, edge.element};
                return true;
            }
        }
    }
    return false;
}

} // namespace shellfem::preprocessor
