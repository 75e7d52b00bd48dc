#include "preprocessor/mesh/node_numbering.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace shellfem::preprocessor {

namespace {

using Adjacency = std::vector<std::vector<int>>;

Adjacency adjacencyOf(std::size_t nodeCount, const std::vector<std::array<int, 4>>& elements) {
    Adjacency neighbours(nodeCount);
    for (const auto& e : elements)
        for (int a : e)
            for (int b : e)
                if (a != b)
                    neighbours[static_cast<std::size_t>(a)].push_back(b);
    for (auto& list : neighbours) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }
    return neighbours;
}

// Breadth-first levels from `start`; returns the nodes in visiting order and
// fills `level` for them (other entries keep -1).
std::vector<int> levelStructure(const Adjacency& neighbours, int start, std::vector<int>& level) {
    std::fill(level.begin(), level.end(), -1);
    std::vector<int> order{start};
    level[static_cast<std::size_t>(start)] = 0;
    for (std::size_t head = 0; head < order.size(); ++head) {
        int node = order[head];
        for (int next : neighbours[static_cast<std::size_t>(node)])
            if (level[static_cast<std::size_t>(next)] < 0) {
                level[static_cast<std::size_t>(next)] = level[static_cast<std::size_t>(node)] + 1;
                order.push_back(next);
            }
    }
    return order;
}

// George and Liu's search: move to a node of least degree in the last level until
// the number of levels stops growing.
int pseudoPeripheralNode(const Adjacency& neighbours, int start) {
    std::vector<int> level(neighbours.size(), -1);
    int current = start;
    int depth = -1;
    while (true) {
        std::vector<int> order = levelStructure(neighbours, current, level);
        int lastLevel = level[static_cast<std::size_t>(order.back())];
        if (lastLevel <= depth)
            return current;
        depth = lastLevel;
        int best = order.back();
        for (int node : order)
            if (level[static_cast<std::size_t>(node)] == lastLevel &&
                neighbours[static_cast<std::size_t>(node)].size() <
                    neighbours[static_cast<std::size_t>(best)].size())
                best = node;
        current = best;
    }
}

} // namespace

long long skylineEntries(std::size_t nodeCount, const std::vector<std::array<int, 4>>& elements) {
    const int unset = -1;
    std::vector<int> lowestNeighbour(nodeCount, unset);
    for (const auto& e : elements) {
        int lowest = *std::min_element(e.begin(), e.end());
        for (int node : e) {
            int& low = lowestNeighbour[static_cast<std::size_t>(node)];
            low = low == unset ? lowest : std::min(low, lowest);
        }
    }
    // Column 6n+d reaches up to equation 6m (m the lowest node sharing an element
    // with n): height 6(n-m)+d+1, summed over d = 0..5.
    long long total = 0;
    for (std::size_t n = 0; n < nodeCount; ++n) {
        if (lowestNeighbour[n] == unset)
            total += 6;
        else
            total += 36LL * (static_cast<long long>(n) - lowestNeighbour[n]) + 21;
    }
    return total;
}

std::vector<int> reverseCuthillMcKee(std::size_t nodeCount,
                                     const std::vector<std::array<int, 4>>& elements) {
    Adjacency neighbours = adjacencyOf(nodeCount, elements);
    std::vector<bool> numbered(nodeCount, false);
    std::vector<int> order;
    order.reserve(nodeCount);
    auto byDegree = [&](int a, int b) {
        std::size_t da = neighbours[static_cast<std::size_t>(a)].size();
        std::size_t db = neighbours[static_cast<std::size_t>(b)].size();
        return da != db ? da < db : a < b;
    };
    for (std::size_t seed = 0; seed < nodeCount; ++seed) {
        if (numbered[seed] || neighbours[seed].empty())
            continue;
        int start = pseudoPeripheralNode(neighbours, static_cast<int>(seed));
        std::size_t partBegin = order.size();
        order.push_back(start);
        numbered[static_cast<std::size_t>(start)] = true;
        for (std::size_t head = partBegin; head < order.size(); ++head) {
            std::vector<int> next;
            for (int candidate : neighbours[static_cast<std::size_t>(order[head])])
                if (!numbered[static_cast<std::size_t>(candidate)]) {
                    numbered[static_cast<std::size_t>(candidate)] = true;
                    next.push_back(candidate);
                }
            std::sort(next.begin(), next.end(), byDegree);
            order.insert(order.end(), next.begin(), next.end());
        }
        std::reverse(order.begin() + static_cast<std::ptrdiff_t>(partBegin), order.end());
    }
    for (std::size_t n = 0; n < nodeCount; ++n)
        if (!numbered[n])
            order.push_back(static_cast<int>(n));
    std::vector<int> newIndexOfOld(nodeCount);
    for (std::size_t position = 0; position < order.size(); ++position)
        newIndexOfOld[static_cast<std::size_t>(order[position])] = static_cast<int>(position);
    return newIndexOfOld;
}

std::vector<int> sweepAlongLongestAxis(const std::vector<Vec3>& positions,
                                       const std::vector<std::array<int, 4>>& elements,
                                       double tolerance) {
    std::vector<bool> inElement(positions.size(), false);
    for (const auto& e : elements)
        for (int node : e)
            inElement[static_cast<std::size_t>(node)] = true;
    const double inf = std::numeric_limits<double>::infinity();
    std::array<double, 3> low{inf, inf, inf};
    std::array<double, 3> high{-inf, -inf, -inf};
    auto coordinates = [](const Vec3& p) { return std::array<double, 3>{p.x, p.y, p.z}; };
    for (std::size_t n = 0; n < positions.size(); ++n)
        if (inElement[n]) {
            auto c = coordinates(positions[n]);
            for (std::size_t a = 0; a < 3; ++a) {
                low[a] = std::min(low[a], c[a]);
                high[a] = std::max(high[a], c[a]);
            }
        }
    std::array<std::size_t, 3> axes{0, 1, 2};
    std::stable_sort(axes.begin(), axes.end(), [&](std::size_t a, std::size_t b) {
        return high[a] - low[a] > high[b] - low[b];
    });
    // Coordinates in units of the tolerance, so that roundoff does not split a row.
    auto key = [&](int node) {
        auto c = coordinates(positions[static_cast<std::size_t>(node)]);
        std::array<long long, 3> k{};
        for (std::size_t i = 0; i < 3; ++i)
            k[i] = std::llround((c[axes[i]] - low[axes[i]]) / tolerance);
        return k;
    };
    std::vector<int> order;
    for (std::size_t n = 0; n < positions.size(); ++n)
        if (inElement[n])
            order.push_back(static_cast<int>(n));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    for (std::size_t n = 0; n < positions.size(); ++n)
        if (!inElement[n])
            order.push_back(static_cast<int>(n));
    std::vector<int> newIndexOfOld(positions.size());
    for (std::size_t position = 0; position < order.size(); ++position)
        newIndexOfOld[static_cast<std::size_t>(order[position])] = static_cast<int>(position);
    return newIndexOfOld;
}

} // namespace shellfem::preprocessor
