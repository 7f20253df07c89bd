// Slicing a generator's column loop over threads; each slice writes disjoint pixels.
#include "generate/generate_util.hpp"

#include <thread>
#include <vector>

namespace gen {

void ForSlices(int n, int threads, const std::function<void(int, int)>& fn) {
    if (threads <= 1 || n < 2) {
        fn(0, n);
        return;
    }
    if (threads > n) threads = n;
    std::vector<std::thread> workers;
    workers.reserve(threads - 1);
    for (int t = 0; t < threads - 1; ++t) {
        const int begin = n * t / threads, end = n * (t + 1) / threads;
        workers.emplace_back(fn, begin, end);
    }
    fn(n * (threads - 1) / threads, n);
    for (auto& w : workers)
        w.join();
}

}  // namespace gen
