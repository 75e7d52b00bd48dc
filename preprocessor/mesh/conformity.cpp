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

SegmentOffset offsetFromSegment(const Vec3& p, const Vec3& a, const Vec3& b) {
    SegmentOffset o;
    Vec3 along = b - a;
    Vec3 offset = p - a;
    o.length = length(along);
    o.along = dot(offset, along) / o.length;
    o.across = length(offset - (o.along / o.length) * along);
    return o;
}

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
        const Vec3& b = nodes[static_cast<std::size_t>(edge.to)];
        if (length(b - a) <= tolerance)
            continue;
        bool edgeIsNew = isNew[static_cast<std::size_t>(edge.element)];
        for (int n : ends) {
            if (n == edge.from || n == edge.to ||
                !(edgeIsNew || newEnd[static_cast<std::size_t>(n)]))
                continue;
            SegmentOffset o = offsetFromSegment(nodes[static_cast<std::size_t>(n)], a, b);
            if (o.along <= tolerance || o.along >= o.length - tolerance)
                continue;
            if (o.across <= tolerance) {
                found = {n, edge.element};
                return true;
            }
        }
    }
    return false;
}

} // namespace shellfem::preprocessor
