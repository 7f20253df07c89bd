// orbitrants-soak --passes N [--seed S] [--clock MS] [--max-growth-kib K]
// Runs the real start-up headless, then N passes of the main loop over seeded random input
// (see support/soak.hpp), checking after every pass that every real of the game is finite.
// Prints passes, wall time, peak object counts and resident memory; exits 1 on a failed check
// or when the last quarter's resident memory exceeds the first quarter's by more than K KiB.
// Developer tool; depends on the game and the tools' support library.
#include <chrono>
#include <cstdio>
#include <string>

#include "game/startup.hpp"
#include "platform/draw/draw.hpp"
#include "support/soak.hpp"
#include "support/soak_options.hpp"
#include "support/tool_args.hpp"

namespace {
constexpr const char* kTool = "orbitrants-soak";

[[noreturn]] void Fail(const std::string& message) {
    ToolFail(kTool, message);
}

}  // namespace

int main(int argc, char** argv) {
    const TSoakOptions options = OptionsOrFail(kTool, ParseSoakOptions(ToolArgs(argc, argv)));
    RunHeadless(options.clock);
    if (!StartUp()) Fail("cannot open graphics: " + LastGraphicsError());
    const auto start = std::chrono::steady_clock::now();
    const TSoakReport r = RunSoak(options.passes, static_cast<uint32_t>(options.seed));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ShutDown();
    std::printf("passes %d (seed %d) in %.1f s, %d loop runs, %ld events, %d paused passes\n",
                r.passes, options.seed, seconds, r.loops, r.events, r.paused_passes);
    std::printf("peak live objects: enemies %d, trails %d, holes %d, explodes %d\n", r.peak.enemies,
                r.peak.trails, r.peak.holes, r.peak.explodes);
    std::printf(
        "peak resident memory: first quarter %ld KiB (%d enemies live), last quarter "
        "%ld KiB (%d enemies live)\n",
        r.first_quarter_kib, r.first_quarter_enemies, r.last_quarter_kib, r.last_quarter_enemies);
    if (!r.failure.empty()) Fail(r.failure);
    if (r.last_quarter_kib - r.first_quarter_kib > options.max_growth_kib)
        Fail("resident memory grew by " + std::to_string(r.last_quarter_kib - r.first_quarter_kib) +
             " KiB");
    return 0;
}
