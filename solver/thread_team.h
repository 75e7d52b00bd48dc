#pragma once

#include "solver/spin_barrier.h"

#include <functional>

namespace shellfem {

// Threads that share one piece of work, meeting at a barrier between its steps.
struct ThreadTeam {
    explicit ThreadTeam(int size) : size(size), barrier(size) {}
    const int size;
    SpinBarrier barrier;
};

// Runs work(t, team) for t = 0..threads−1, t = 0 on the calling thread, and
// returns when all have ended. When the system refuses a thread, before any
// work was done, the calling thread runs work(0, team) alone (team.size 1).
void runOnTeam(int threads, const std::function<void(int, ThreadTeam&)>& work);

} // namespace shellfem
