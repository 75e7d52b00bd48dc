#pragma once

// What the sparse solution methods share in their use of CHOLMOD.
#include "solver/node_coupling.h"

#include <cholmod.h>

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

// Throws std::bad_alloc when CHOLMOD's last call ran out of memory.
void throwIfOutOfMemory(const cholmod_common& common);

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
