#include "solver/node_coupling.h"

#include <algorithm>

namespace shellfem {

NodeCoupling::NodeCoupling(int nodes, const std::vector<ElementNodes>& elements)
    : starts_(static_cast<std::size_t>(nodes) + 1, 0) {
    // Room for every corner pair and the node itself, then sorted and made unique in place.
    std::vector<std::int64_t> room(static_cast<std::size_t>(nodes) + 1, 1);
    for (const ElementNodes& e : elements)
        for (int upper : e)
            room[static_cast<std::size_t>(upper)] += kNodesPerElement;
    std::vector<std::int64_t> fill(static_cast<std::size_t>(nodes) + 1, 0);
    for (int n = 0; n < nodes; ++n)
        fill[static_cast<std::size_t>(n) + 1] = fill[static_cast<std::size_t>(n)] + room[n];
    std::vector<int> candidates(static_cast<std::size_t>(fill[static_cast<std::size_t>(nodes)]));
    std::vector<std::int64_t> end(fill.begin(), fill.end() - 1);
    for (int n = 0; n < nodes; ++n)
        candidates[static_cast<std::size_t>(end[static_cast<std::size_t>(n)]++)] = n;
    for (const ElementNodes& e : elements)
        for (int upper : e)
            for (int lower : e)
                if (lower <= upper)
                    candidates[static_cast<std::size_t>(end[static_cast<std::size_t>(upper)]++)] =
                        lower;

    partners_.reserve(candidates.size());
    for (int n = 0; n < nodes; ++n) {
        const auto first = candidates.begin() + fill[static_cast<std::size_t>(n)];
        const auto last = candidates.begin() + end[static_cast<std::size_t>(n)];
        std::sort(first, last);
        const auto unique = std::unique(first, last);
        partners_.insert(partners_.end(), first, unique);
        starts_[static_cast<std::size_t>(n) + 1] = static_cast<std::int64_t>(partners_.size());
    }
    partners_.shrink_to_fit();
}

int NodeCoupling::partnerIndex(int lower, int upper) const {
    const auto first = partners_.begin() + start(upper);
    const auto last = partners_.begin() + start(upper + 1);
    return static_cast<int>(std::lower_bound(first, last, lower) - first);
}

} // namespace shellfem
