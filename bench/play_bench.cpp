// The play frame's cost at 1, 10 and 100 enemies in steady state, and the time from process
// start to the first play frame. Headless unless SDL_VIDEODRIVER names another driver.
//   play_bench            per-frame milliseconds (median, 99th percentile) of play_frame alone
//                         and with its present; run with GALLIUM_NOOP=1 for the game's own
//                         work (Mesa discards the pixel work), and without for llvmpipe
//   play_bench --startup  milliseconds from process start to the first play frame and to its
//                         present (SDL_VIDEODRIVER=x11 under Xvfb for the windowed figure)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "game/game_state.hpp"
#include "game/play_frame.hpp"
#include "game/play_rules.hpp"
#include "game/startup.hpp"
#include "objects/object_state.hpp"
#include "platform/draw/draw.hpp"
#include "process_clock.hpp"

namespace {
constexpr int kWarmUp = 300;  // frames before measuring: trails and the token settle
constexpr int kFrames = 1000;

double Ms(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// This thread's CPU time in milliseconds: unlike the wall clock it leaves out the time other
// processes hold the core, which on a shared machine dominates the slow percentile.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// Median and 99th percentile of `ms`.
void Summary(std::vector<double> ms, double* median, double* p99) {
    std::sort(ms.begin(), ms.end());
    *median = ms[ms.size() / 2];
    *p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
}

void MeasureAt(int enemies) {
    Objects().enemies.Clear();
    spawn_enemies(Game(), enemies);
    for (int i = 0; i < kWarmUp; ++i) {
        Flip(1);
        play_frame();
    }
    std::vector<double> frame_ms, cpu_ms, whole_ms;
    for (int i = 0; i < kFrames; ++i) {
        const double c0 = ThreadCpuMs();
        const auto t0 = std::chrono::steady_clock::now();
        play_frame();
        const auto t1 = std::chrono::steady_clock::now();
        const double c1 = ThreadCpuMs();
        Flip(1);
        const auto t2 = std::chrono::steady_clock::now();
        frame_ms.push_back(Ms(t1 - t0));
        cpu_ms.push_back(c1 - c0);
        whole_ms.push_back(Ms(t2 - t0));
    }
    double m1, p1, mc, pc, m2, p2;
    Summary(frame_ms, &m1, &p1);
    Summary(cpu_ms, &mc, &pc);
    Summary(whole_ms, &m2, &p2);
    std::printf(
        "%3d enemies (%3d at the end, %4d trail particles), ms per frame, median / p99:\n"
        "    play_frame %.3f / %.3f (its thread's CPU %.3f / %.3f); with its present %.3f / %.3f\n",
        enemies, Objects().enemies.Count(), Objects().trails.Count(), m1, p1, mc, pc, m2, p2);
}

int Startup() {
    const double start = ProcessStartMs();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!StartUp()) return 1;
    const double started = NowMs();
    Flip(1);
    play_frame();
    const double played = NowMs();
    Flip(1);
    const double shown = NowMs();
    std::printf(
        "driver %s: start-up done %.1f ms, first play frame computed %.1f ms, presented "
        "%.1f ms after process start\n",
        std::getenv("SDL_VIDEODRIVER"), started - start, played - start, shown - start);
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--startup") == 0) return Startup();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (!StartUp()) return 1;
    const char* noop = std::getenv("GALLIUM_NOOP");
    std::printf("GALLIUM_NOOP=%s\n", noop ? noop : "(unset: llvmpipe draws every pixel)");
    for (int enemies : {1, 10, 100})
        MeasureAt(enemies);
    return 0;
}
