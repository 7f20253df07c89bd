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

void ReliefNormals(const float* height, int S, double lean, float* nx_out, float* ny_out,
                   float* nz_out) {
    for (float x = 0; x < S - 1; x += 1) {
        for (float y = 0; y < S - 1; y += 1) {
            const int at = ToInt(x + static_cast<double>(y) * S);
            const double a = height[at];
            double nx = height[ToInt(x + 1 + static_cast<double>(y) * S)] - a;
            double ny = height[ToInt(x + (y + 1.0) * S)] - a;
            double nz = 1;
            const double L = nx * nx + ny * ny;
            if (L != 0) {
                const double root = Sqrt(L);
                nz = lean * Sqrt(1 - root * root);
                const double len = Sqrt(nx * nx + ny * ny + nz * nz);
                nx = nx / len, ny = ny / len, nz = nz / len;
            }
            nx_out[at] = static_cast<float>(nx);
            ny_out[at] = static_cast<float>(ny);
            nz_out[at] = static_cast<float>(nz);
        }
    }
}

}  // namespace gen
