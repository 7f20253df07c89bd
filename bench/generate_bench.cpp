// Timing of the content generation: the whole CPU phase (no window, no composite grab) and
// each generator alone, single-threaded and on two threads. Prints milliseconds.
#include <benchmark/benchmark.h>

#include "generate/blur.hpp"
#include "generate/generators.hpp"
#include "generate/phase.hpp"
#include "platform/base/base.hpp"

namespace {
constexpr int kW = 1280, kH = 500;

// Content with the start values the pipeline sets before the generators that need them.
Content Prepared() {
    Content c;
    c.hole_half = c.hole_size * 0.5f;
    c.ring_half = c.ring_size * 0.5f;
    return c;
}

void BM_WholePhase(benchmark::State& state) {
    FixClock(1234);
    for (auto _ : state) {
        SeedRandom(kRandomStartState);
        Content c;
        generate_content_cpu(c, kW, kH, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(c.glow_white_pix);
    }
}

// Runs one generator on fresh content each iteration.
template <typename Fn>
void RunGenerator(benchmark::State& state, Fn fn) {
    FixClock(1234);
    const int threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        SeedRandom(kRandomStartState);
        Content c = Prepared();
        fn(c, threads);
        benchmark::ClobberMemory();
    }
}

void BM_Vignette(benchmark::State& s) {
    RunGenerator(s, [](Content& c, int t) {
        create_vignette(c, kW, kH);
        generate_vignette(c, t);
    });
}
void BM_Lattice(benchmark::State& s) {
    RunGenerator(s, [](Content& c, int t) { generate_lattice(c, kW, kH, t); });
}
void BM_Maze(benchmark::State& s) {
    RunGenerator(s, [](Content& c, int t) { generate_maze(c, kW, kH, t); });
}
void BM_PlayerShip(benchmark::State& s) {
    RunGenerator(s, [](Content& c, int) { generate_player_ship(c); });
}
void BM_HoleFrames(benchmark::State& s) {
    RunGenerator(s, [](Content& c, int t) { generate_hole_frames(c, t); });
}
void BM_Glows(benchmark::State& s) {
    RunGenerator(s, [](Content& c, int t) {
        generate_glow_blue(c, t);
        generate_glow_red(c, t);
        generate_ring(c, t);
        generate_hole_glow(c, t);
        generate_glow_white(c, t);
    });
}
void BM_RingSegments(benchmark::State& s) {
    RunGenerator(s, [](Content& c, int t) { generate_ring_segments(c, t); });
}
void BM_BlurWalkMap(benchmark::State& state) {
    FloatField field(kW * kH, 0.0f), scratch(kW * kH, 0.0f);
    for (int i = 0; i < kW * kH; i += 7)
        field[i] = 1.0f;
    for (auto _ : state)
        blur_threads(4, field.data(), scratch.data(), kW, kH, static_cast<int>(state.range(0)));
}

// Arg: threads. Wall time is what counts; the CPU column sums every thread of the process.
#define ORB_GEN_BENCH(fn)               \
    BENCHMARK(fn)                       \
        ->Arg(1)                        \
        ->Arg(2)                        \
        ->Unit(benchmark::kMillisecond) \
        ->UseRealTime()                 \
        ->MeasureProcessCPUTime()
ORB_GEN_BENCH(BM_WholePhase)->Repetitions(5)->ReportAggregatesOnly(true);
ORB_GEN_BENCH(BM_Vignette);
ORB_GEN_BENCH(BM_Lattice);
ORB_GEN_BENCH(BM_Maze);
ORB_GEN_BENCH(BM_PlayerShip);
ORB_GEN_BENCH(BM_HoleFrames);
ORB_GEN_BENCH(BM_Glows);
ORB_GEN_BENCH(BM_RingSegments);
ORB_GEN_BENCH(BM_BlurWalkMap);
}  // namespace

BENCHMARK_MAIN();
