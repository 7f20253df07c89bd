// Throughput of the random generator's readings and of the event path (emit, queue, poll),
// the calls the game makes most per pixel and per frame.
#include <benchmark/benchmark.h>

#include "platform/base/base.hpp"
#include "platform/system/system.hpp"

namespace {
void BM_RandomFloat(benchmark::State& state) {
    SeedRandom(kRandomStartState);
    for (auto _ : state)
        benchmark::DoNotOptimize(RandomFloat());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomFloat);

void BM_RandomDouble(benchmark::State& state) {
    SeedRandom(kRandomStartState);
    for (auto _ : state)
        benchmark::DoNotOptimize(RandomDouble());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomDouble);

void BM_RandomInt(benchmark::State& state) {
    SeedRandom(kRandomStartState);
    for (auto _ : state)
        benchmark::DoNotOptimize(RandomInt(0, 500));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomInt);

// One pointer motion through the pump, the polled-input and queue entries, and NextEvent.
void BM_EventRoundTrip(benchmark::State& state) {
    ResetEvents();
    EnablePolledInput();
    TEvent move;
    move.id = EVENT_MOUSE_MOVE;
    for (auto _ : state) {
        move.x = static_cast<int>(state.iterations() & 1023);
        InjectEvent(move);
        benchmark::DoNotOptimize(NextEvent());
    }
    state.SetItemsProcessed(state.iterations());
    ResetEvents();
}
BENCHMARK(BM_EventRoundTrip);
}  // namespace

BENCHMARK_MAIN();
