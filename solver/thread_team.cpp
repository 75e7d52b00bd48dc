#include "solver/thread_team.h"

#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace shellfem {

void runOnTeam(int threads, const std::function<void(int, ThreadTeam&)>& work) {
    if (threads > 1) {
        std::atomic<int> start{0}; // 0 wait, 1 work, −1 give up
        ThreadTeam team(threads);
        std::vector<std::thread> helpers;
        try {
            for (int t = 1; t < threads; ++t)
                helpers.emplace_back([t, &start, &team, &work] {
                    while (start.load(std::memory_order_acquire) == 0)
                        std::this_thread::yield();
                    if (start.load(std::memory_order_acquire) > 0)
                        work(t, team);
                });
        } catch (const std::system_error&) {
            start.store(-1, std::memory_order_release);
            for (std::thread& helper : helpers)
                helper.join();
            helpers.clear();
        }
        if (!helpers.empty()) {
            start.store(1, std::memory_order_release);
            work(0, team);
            for (std::thread& helper : helpers)
                helper.join();
            return;
        }
    }
    ThreadTeam alone(1);
    work(0, alone);
}

} // namespace shellfem
