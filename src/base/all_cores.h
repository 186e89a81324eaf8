#pragma once

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace tormel {

// Runs work(i) for every i below `count` on the cores, at most `threadCap`
// threads; the caller's thread is one of them. Each i is taken once.
template <typename Work>
void onAllCores(int count, int threadCap, Work work)
{
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, std::max(1, threadCap));
    std::atomic<int> next{0};
    const auto run = [&] {
        for (int i = next++; i < count; i = next++)
            work(i);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(run);
    run();
    for (std::thread& t : pool)
        t.join();
}

}  // namespace tormel
