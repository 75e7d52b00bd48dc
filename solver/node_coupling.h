#pragma once

#include "solver/shell_element.h"

#include <array>
#include <cstdint>
#include <vector>

namespace shellfem {

using ElementNodes = std::array<int, kNodesPerElement>;

// Which nodes share an element, as the lower triangle of the node adjacency:
// for each node, the nodes numbered up to and including itself that an element
// couples it to, ascending, so that the last partner of a node is the node itself.
// A node in no element is coupled to itself only.
class NodeCoupling {
public:
    NodeCoupling(int nodes, const std::vector<ElementNodes>& elements);

    int nodes() const { return static_cast<int>(starts_.size()) - 1; }
    // Partners of `node`: partners()[start(node)] .. partners()[start(node + 1) − 1].
    std::int64_t start(int node) const { return starts_[static_cast<std::size_t>(node)]; }
    const std::vector<int>& partners() const { return partners_; }
    int partnerCount(int node) const { return static_cast<int>(start(node + 1) - start(node)); }
    // Position of `lower` among the partners of `upper` (lower <= upper, coupled).
    int partnerIndex(int lower, int upper) const;

private:
    std::vector<std::int64_t> starts_;
    std::vector<int> partners_;
};

} // namespace shellfem
