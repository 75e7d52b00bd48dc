#pragma once

// What the sparse solution methods share in their use of CHOLMOD.
#include "solver/node_coupling.h"

#include <cholmod.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace shellfem {

using CholmodIndex = SuiteSparse_long;

// A CHOLMOD workspace set up for supernodal factors in an order given by the
// caller, kept as given when `postorder` is false. Failures come back as
// statuses, never as printed messages.
class CholmodSession {
public:
    explicit CholmodSession(bool postorder);
    ~CholmodSession();
    CholmodSession(const CholmodSession&) = delete;
    CholmodSession& operator=(const CholmodSession&) = delete;

    cholmod_common* operator->() { return &common_; }
    cholmod_common& get() { return common_; }

private:
    cholmod_common common_;
};

// CHOLMOD's own OpenMP loops, inactive on the calling thread while this lives.
// They start more threads than there are cores, beside the BLAS's own, and on
// this machine's two cores halved the factorisation's speed.
class CholmodOnCallingThread {
public:
    CholmodOnCallingThread();
    ~CholmodOnCallingThread();
    CholmodOnCallingThread(const CholmodOnCallingThread&) = delete;
    CholmodOnCallingThread& operator=(const CholmodOnCallingThread&) = delete;

private:
    int previousLevels_;
};

// Calls visit(j, l, rows, count) for the columns j = first, first + 1, ... of a
// supernodal factor in order, until visit returns false: l points at column j's
// `count` values from its diagonal down, `rows` at their rows.
template <class Visit>
void forEachFactorColumn(const cholmod_factor& L, std::size_t first, Visit visit) {
    const auto* super = static_cast<const CholmodIndex*>(L.super);
    const auto* rowStarts = static_cast<const CholmodIndex*>(L.pi);
    const auto* valueStarts = static_cast<const CholmodIndex*>(L.px);
    const auto* rowIndices = static_cast<const CholmodIndex*>(L.s);
    const auto* x = static_cast<const double*>(L.x);
    for (std::size_t s = 0; s < L.nsuper; ++s) {
        const CholmodIndex height = rowStarts[s + 1] - rowStarts[s];
        for (CholmodIndex j = std::max(super[s], static_cast<CholmodIndex>(first));
             j < super[s + 1]; ++j) {
            const CholmodIndex offset = j - super[s];
            if (!visit(static_cast<std::size_t>(j), x + valueStarts[s] + offset * (height + 1),
                       rowIndices + rowStarts[s] + offset, height - offset))
                return;
        }
    }
}

// Throws std::bad_alloc when CHOLMOD's last call ran out of memory.
void throwIfOutOfMemory(const cholmod_common& common);

// A square pattern-only matrix of `order` columns with room for `entries`
// entries of its upper triangle, sorted and packed; throws std::bad_alloc when
// it cannot be had.
cholmod_sparse* allocateUpperPattern(std::size_t order, std::size_t entries,
                                     cholmod_common& common);

// The node graph as a pattern-only symmetric matrix (its upper triangle) over
// the nodes n with local[n] >= 0, node n numbered local[n]; `local` is ascending
// over those nodes. An empty `local` takes every node as it is numbered.
cholmod_sparse* nodeGraph(const NodeCoupling& coupling, const std::vector<CholmodIndex>& local,
                          cholmod_common& common);

// A nested-dissection order of the node graph over `local` as for nodeGraph (an
// approximate minimum degree order where that cannot be had, the numbering
// itself where neither can): order[k] is the local node eliminated k-th.
std::vector<CholmodIndex> nestedDissectionOrder(const NodeCoupling& coupling,
                                                const std::vector<CholmodIndex>& local,
                                                cholmod_common& common);

} // namespace shellfem
