// The random walk across the window and the maze: the walk's trace blurred into a soft glow
// with a bright core. Depends on the blur, the clock and the game's random generator.
#include <memory>
#include <vector>

#include "generate/blur.hpp"
#include "generate/generate_util.hpp"
#include "generate/generators.hpp"
#include "platform/base/base.hpp"

using namespace gen;

namespace {
constexpr int kWalkSteps = 80000;  // the counter runs 0 .. 80,000 inclusive
constexpr int kBlurRadius = 4;
constexpr int kBlurPasses = 4;

// Alpha of a maze pixel from its blurred density `m` and its trace value `t` (0 or 1).
int MazeAlpha(float m, double t) {
    // Pow of a zero density is +0; skipping it saves most of the calls.
    const double gamma = m == 0 ? 0.0 : Pow(m, 1.5);
    double v = gamma + t * Single(0.1f) + static_cast<double>(m) * t;
    if (v > 1) v = 1;
    if (!(v >= 0)) v = 0;  // also zeroes a NaN from a slightly negative density
    return ToInt(v * 255);
}

// Writes columns [x0, x1) of the maze; the last column and row stay transparent.
void MazeColumns(TPixmap& pix, const float* blurred, const uint8_t* trace, int x0, int x1) {
    const int w = pix.width, h = pix.height;
    for (float x = x0; x < x1 && x < w - 1; x += 1) {
        for (float y = 0; y < h - 1; y += 1) {
            const int i = ToInt(x + static_cast<double>(y) * w);
            const int a = MazeAlpha(blurred[i], trace[i]);
            PutPixel(pix, ToInt(x), ToInt(y), Argb(a, 0xFFFFFF));
        }
    }
}
}  // namespace

void walk_step(WalkState& s, float r, float* walk_map, int w, int h) {
    if (r < Single(0.01f)) s.dx = 1, s.dy = 0;
    if (r > Single(0.99f)) s.dx = -1, s.dy = 0;
    if (Single(0.2f) < r && r < Single(0.21f)) s.dx = 0, s.dy = 1;
    if (Single(0.5f) < r && r < Single(0.51f)) s.dx = 0, s.dy = -1;
    s.px += s.dx;
    s.py += s.dy;
    if (s.px > w - 1) s.dx = -1, s.px = w - 1;
    if (s.px < 0) s.dx = 1, s.px = 0;
    if (s.py > h - 1) s.dy = -1, s.py = h - 1;
    if (s.py < 0) s.dy = 1, s.py = 0;
    float& cell = walk_map[s.px + s.py * w];
    if (cell == 1.0f) {
        s.dx = -s.dx, s.dy = -s.dy;
    } else {
        cell = 1.0f;
    }
}

void random_walk(float* walk_map, int w, int h) {
    WalkState walker;
    walker.px = ToInt(w * Single(0.5f));
    walker.py = ToInt(h * Single(0.5f));
    for (int step = 0; step <= kWalkSteps; ++step)
        walk_step(walker, RandomFloat(), walk_map, w, h);
}

void generate_maze(Content& content, int w, int h, int threads) {
    const size_t n = static_cast<size_t>(w) * h;
    content.walk_map.assign(n, 0.0f);
    SeedRandom(ClockMillis());
    random_walk(content.walk_map.data(), w, h);
    // The unblurred walk: every cell is 0 or 1, so a byte holds it exactly.
    std::vector<uint8_t> trace(n);
    for (size_t i = 0; i < n; ++i)
        trace[i] = content.walk_map[i] == 1.0f;
    // The blur writes every sample of its scratch field before reading it.
    const std::unique_ptr<float, FreeLargeDeleter> scratch(
        static_cast<float*>(AllocateLarge(n * sizeof(float))));
    for (int pass = 0; pass < kBlurPasses; ++pass)
        blur_threads(kBlurRadius, content.walk_map.data(), scratch.get(), w, h, threads);
    content.maze = CreateImage(w, h, 1, 11);
    TPixmap& pix = *LockImage(content.maze, 0, 1, 1);
    ForSlices(w, threads, [&](int x0, int x1) {
        MazeColumns(pix, content.walk_map.data(), trace.data(), x0, x1);
    });
    UnlockImage(content.maze, 0);
}
