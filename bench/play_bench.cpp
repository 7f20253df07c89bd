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
    std::vector<double> frame_ms, whole_ms;
    for (int i = 0; i < kFrames; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        play_frame();
        const auto t1 = std::chrono::steady_clock::now();
        Flip(1);
        const auto t2 = std::chrono::steady_clock::now();
        frame_ms.push_back(Ms(t1 - t0));
        whole_ms.push_back(Ms(t2 - t0));
    }
    double m1, p1, m2, p2;
    Summary(frame_ms, &m1, &p1);
    Summary(whole_ms, &m2, &p2);
    std::printf(
        "%3d enemies (%3d at the end, %4d trail particles): play_frame median %.3f ms, p99 %.3f "
        "ms; with its present median %.3f ms, p99 %.3f ms\n",
        enemies, Objects().enemies.Count(), Objects().trails.Count(), m1, p1, m2, p2);
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
