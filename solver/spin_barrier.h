#pragma once

#include <atomic>
#include <thread>

namespace shellfem {

// A reusable barrier for a few threads that meet thousands of times a second:
// waiting spins briefly, then yields so that a busy machine is not starved.
// Everything a thread wrote before wait() is visible to all after it.
class SpinBarrier {
public:
    explicit SpinBarrier(int parties) : parties_(parties) {}

    void wait() {
        const unsigned generation = generation_.load(std::memory_order_acquire);
        if (arrived_.fetch_add(1, std::memory_order_acq_rel) + 1 == parties_) {
            arrived_.store(0, std::memory_order_relaxed);
            generation_.fetch_add(1, std::memory_order_release);
            return;
        }
        for (int spins = 0; generation_.load(std::memory_order_acquire) == generation; ++spins)
            if (spins > kSpinsBeforeYield)
                std::this_thread::yield();
    }

private:
    static constexpr int kSpinsBeforeYield = 4000;

    const int parties_;
    std::atomic<int> arrived_{0};
    std::atomic<unsigned> generation_{0};
};

} // namespace shellfem
