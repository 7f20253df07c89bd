// The browser loop's pacing on simulated displays: animation frames at the display's rate
// with jitter, and the pacer deciding at each frame whether a pass runs. Checks 60 passes a
// second on fast displays, one pass per frame near 60 Hz, no catching up after a stall.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/system/detail/present_pacing.hpp"

namespace {
constexpr int64_t kMs = 1000000;

// Frame times of a display at `hz` over [start, end), each moved by up to `jitter_ms` either
// way (never out of order: the jitter is below half a period).
std::vector<int64_t> Frames(double hz, double jitter_ms, int64_t start, int64_t end,
                            unsigned seed = 7) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> jitter(-jitter_ms, jitter_ms);
    std::vector<int64_t> frames;
    const double period = 1e9 / hz;
    for (int k = 0;; ++k) {
        const int64_t ideal = start + std::llround(k * period);
        if (ideal >= end) break;
        frames.push_back(ideal + std::llround(jitter(rng) * kMs));
    }
    return frames;
}

// The frames that ran a pass.
std::vector<int64_t> Passes(TAnimationPacer& pacer, const std::vector<int64_t>& frames) {
    std::vector<int64_t> passes;
    for (int64_t t : frames) {
        if (pacer.Due(t)) passes.push_back(t);
    }
    return passes;
}

int64_t Seconds(double s) {
    return std::llround(s * 1e9);
}
}  // namespace

// 120 and 144 Hz displays (and faster) get 60 passes a second, evenly: a pass comes within
// one display frame of its slot, so two passes are never closer than a slot less a display
// frame, nor further apart than a slot and a display frame.
TEST(AnimationPacing, FastDisplaysGetSixtyPassesASecond) {
    for (double hz : {120.0, 144.0, 165.0, 240.0}) {
        SCOPED_TRACE(hz);
        TAnimationPacer pacer;
        const auto frames = Frames(hz, 0.4, Seconds(5), Seconds(15));
        const auto passes = Passes(pacer, frames);
        EXPECT_NEAR(double(passes.size()), 600.0, 1.0);
        const double period = 1e9 / hz;
        for (size_t i = 1; i < passes.size(); ++i) {
            const int64_t gap = passes[i] - passes[i - 1];
            ASSERT_GE(gap, 1e9 / 60 - period - 0.8 * kMs) << "pass " << i;
            ASSERT_LE(gap, 1e9 / 60 + period + 0.8 * kMs) << "pass " << i;
        }
    }
}

// Within 1 % of 60 Hz, early or late, every frame runs a pass once the rate is known (after
// about a second): a schedule alone would drop a frame whenever the display's phase drifts
// past the slack.
TEST(AnimationPacing, NearSixtyHertzEveryFrameIsAPass) {
    for (double hz : {59.94, 60.0, 60.3}) {
        SCOPED_TRACE(hz);
        TAnimationPacer pacer;
        const auto frames = Frames(hz, 2.0, Seconds(1), Seconds(32));
        size_t later_frames = 0, later_passes = 0;
        for (int64_t t : frames) {
            const bool due = pacer.Due(t);
            if (t < Seconds(2)) continue;
            ++later_frames;
            later_passes += due;
        }
        EXPECT_EQ(later_passes, later_frames);
        EXPECT_EQ(pacer.Mode(), PaceMode::kRetrace);
    }
}

// A display slower than 60 Hz runs a pass at every frame: there is nothing more to give.
TEST(AnimationPacing, SlowDisplayRunsEveryFrame) {
    TAnimationPacer pacer;
    const auto frames = Frames(30.0, 1.0, Seconds(1), Seconds(11));
    EXPECT_EQ(Passes(pacer, frames).size(), frames.size());
    EXPECT_EQ(pacer.Mode(), PaceMode::kSchedule);
}

// After half a second without frames (a hidden tab) a 144 Hz display goes on at 60 passes a
// second; the missed slots are not made up.
TEST(AnimationPacing, StallIsNotCaughtUp) {
    TAnimationPacer pacer;
    Passes(pacer, Frames(144.0, 0.3, Seconds(1), Seconds(3)));
    const auto after = Passes(pacer, Frames(144.0, 0.3, Seconds(3.5), Seconds(4.5), 9));
    EXPECT_NEAR(double(after.size()), 60.0, 1.0);
}

// Moving from a 60 Hz display to a 144 Hz one gives up the frame-per-pass rate once the new
// rate is seen.
TEST(AnimationPacing, RateChangeReturnsToSchedule) {
    TAnimationPacer pacer;
    Passes(pacer, Frames(60.0, 0.5, Seconds(1), Seconds(3)));
    ASSERT_EQ(pacer.Mode(), PaceMode::kRetrace);
    Passes(pacer, Frames(144.0, 0.5, Seconds(3), Seconds(4), 3));
    const auto passes = Passes(pacer, Frames(144.0, 0.5, Seconds(4), Seconds(9), 5));
    EXPECT_NEAR(double(passes.size()), 300.0, 1.0);
}
