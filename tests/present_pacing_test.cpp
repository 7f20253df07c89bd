// Retrace pacing against the 60 Hz schedule on simulated displays: a fake clock, swaps that
// return at the display's next retrace (or at once when the interval is refused or ignored),
// and a game frame of fixed cost. Checks which pacing is chosen, that a display within 1 % of
// 60 Hz shows every frame on its own retrace, and that every other display keeps 60 a second.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/system/detail/present_pacing.hpp"

namespace {
constexpr int64_t kUs = 1000;
constexpr int64_t kMs = 1000 * kUs;
constexpr int64_t kFrameCost = 5 * kMs;   // the game's own work between two presents
constexpr int64_t kSleepLate = 80 * kUs;  // a sleep returns a little after its target

struct FakeDisplay {
    double hz = 60;
    bool blocks = true;  // false: the swap interval is refused or ignored
    int64_t phase = 3 * kMs;

    int64_t Period() const { return std::llround(1e9 / hz); }
    // When a swap called at `t` returns: at the next retrace after t, or at once.
    int64_t Swap(int64_t t) const {
        if (!blocks) return t + 300 * kUs;
        const int64_t k = (t - phase) / Period() + 1;
        return phase + k * Period();
    }
};

struct Trace {
    std::vector<int64_t> shown;  // when each game frame reached the display
    int presents = 0;            // every swap, repeats included
};

// Runs the game loop for `seconds` of simulated time; `change` may alter the display.
template <typename Change>
Trace Simulate(TPresentPacer& pacer, FakeDisplay& display, TDisplayState state, double seconds,
               Change change) {
    Trace run;
    int64_t now = 1000 * kMs;
    const int64_t end = now + static_cast<int64_t>(seconds * 1e9);
    while (now < end) {
        change(now, display, state);
        const TPresentPacer::Plan plan = pacer.Before(now, state);
        if (plan.sleep_until > now) now = plan.sleep_until + kSleepLate;
        int64_t ends[TPresentPacer::kProbePresents];
        for (int i = 0; i < plan.presents; ++i)
            ends[i] = now = display.Swap(now);
        pacer.After(ends, plan.presents);
        run.presents += plan.presents;
        run.shown.push_back(now);
        now += kFrameCost;
    }
    return run;
}

Trace Simulate(TPresentPacer& pacer, FakeDisplay& display, TDisplayState state, double seconds) {
    return Simulate(pacer, display, state, seconds, [](int64_t, FakeDisplay&, TDisplayState&) {});
}

TDisplayState Accepted(int hz) {
    TDisplayState state;
    state.interval_accepted = true;
    state.refresh_hz = hz;
    return state;
}

double Rate(const Trace& run) {
    const double span = static_cast<double>(run.shown.back() - run.shown.front());
    return (run.shown.size() - 1) * 1e9 / span;
}

// Game frames after the first `skip` that waited more than one retrace for the one before.
int FramesShownTwice(const Trace& run, const FakeDisplay& display, size_t skip = 1) {
    int twice = 0;
    for (size_t i = skip + 1; i < run.shown.size(); ++i) {
        if (run.shown[i] - run.shown[i - 1] > display.Period() * 3 / 2) ++twice;
    }
    return twice;
}

TEST(PresentPacingTest, TheScheduleAloneShowsAFrameTwiceOnASixtyPointZeroFiveHertzDisplay) {
    // The fault being mended: a t0 + k/60 schedule slowly slips against a faster retrace.
    FakeDisplay display{60.05};
    TFramePacer schedule;
    int64_t now = 1000 * kMs;
    std::vector<int64_t> shown;
    for (int k = 0; k < 60 * 60; ++k) {
        const int64_t slot = schedule.TakeSlot(now);
        if (slot > now) now = slot + kSleepLate;
        now = display.Swap(now);
        shown.push_back(now);
        now += kFrameCost;
    }
    int twice = 0;
    for (size_t i = 1; i < shown.size(); ++i)
        twice += shown[i] - shown[i - 1] > display.Period() * 3 / 2;
    EXPECT_GE(twice, 1);
}

TEST(PresentPacingTest, DisplaysWithinOnePercentOfSixtyHertzArePacedByTheRetraceAlone) {
    for (double hz : {60.05, 59.94, 60.0, 60.5}) {
        FakeDisplay display{hz};
        TPresentPacer pacer;
        const Trace run = Simulate(pacer, display, Accepted(60), 60);
        EXPECT_EQ(pacer.Mode(), PaceMode::kRetrace) << hz;
        EXPECT_EQ(FramesShownTwice(run, display), 0) << hz;
        EXPECT_NEAR(Rate(run), hz, 0.01) << hz;
        // Only the first present measured the retrace, with three repeats of the same frame.
        EXPECT_EQ(run.presents, static_cast<int>(run.shown.size()) + 3) << hz;
    }
}

TEST(PresentPacingTest, FasterDisplaysKeepTheScheduleAtSixtyFramesASecond) {
    for (double hz : {144.0, 240.0, 120.0, 75.0}) {
        for (int reported : {static_cast<int>(hz), 0}) {  // also when the rate is unknown
            FakeDisplay display{hz};
            TPresentPacer pacer;
            const Trace run = Simulate(pacer, display, Accepted(reported), 30);
            EXPECT_EQ(pacer.Mode(), PaceMode::kSchedule) << hz << " " << reported;
            EXPECT_NEAR(Rate(run), 60.0, 0.05) << hz << " " << reported;
        }
    }
}

TEST(PresentPacingTest, RefusedOrIgnoredSwapIntervalsKeepTheSchedule) {
    FakeDisplay display{60.0, false};
    TDisplayState refused;
    refused.refresh_hz = 60;
    TPresentPacer pacer;
    Trace run = Simulate(pacer, display, refused, 20);
    EXPECT_EQ(pacer.Mode(), PaceMode::kSchedule);
    EXPECT_EQ(run.presents, static_cast<int>(run.shown.size()));  // nothing measured
    EXPECT_NEAR(Rate(run), 60.0, 0.05);

    TPresentPacer ignored;  // accepted, but the swaps never wait (a virtual display)
    run = Simulate(ignored, display, Accepted(60), 20);
    EXPECT_EQ(ignored.Mode(), PaceMode::kSchedule);
    EXPECT_NEAR(Rate(run), 60.0, 0.05);
}

TEST(PresentPacingTest, AMinimisedWindowUsesTheScheduleAndMeasuresAgainWhenRestored) {
    FakeDisplay display{60.05};
    TPresentPacer pacer;
    Simulate(pacer, display, Accepted(60), 1);
    ASSERT_EQ(pacer.Mode(), PaceMode::kRetrace);

    // Minimised, the swaps stop waiting; the schedule holds the rate.
    TDisplayState minimised = Accepted(60);
    minimised.minimised = true;
    display.blocks = false;
    Trace run = Simulate(pacer, display, minimised, 10);
    EXPECT_EQ(pacer.Mode(), PaceMode::kSchedule);
    EXPECT_NEAR(Rate(run), 60.0, 0.05);

    display.blocks = true;
    run = Simulate(pacer, display, Accepted(60), 10);
    EXPECT_EQ(pacer.Mode(), PaceMode::kRetrace);
    EXPECT_EQ(FramesShownTwice(run, display), 0);
}

TEST(PresentPacingTest, SwapsThatStopWaitingHandThePacingBackToTheSchedule) {
    FakeDisplay display{60.0};
    TPresentPacer pacer;
    const int64_t stop_at = 1000 * kMs + 5 * kNanosPerSecond;
    const Trace run = Simulate(pacer, display, Accepted(60), 20,
                               [&](int64_t now, FakeDisplay& d, TDisplayState&) {
                                   if (now >= stop_at) d.blocks = false;
                               });
    EXPECT_EQ(pacer.Mode(), PaceMode::kSchedule);
    // At most the watched presents ran unpaced before the schedule took over.
    int fast = 0;
    for (size_t i = 1; i < run.shown.size(); ++i)
        fast += run.shown[i] - run.shown[i - 1] < 10 * kMs;
    EXPECT_LE(fast, TPresentPacer::kWatched);
    Trace after;  // from a second after the change on, the schedule holds 60 a second
    for (int64_t t : run.shown)
        if (t > stop_at + kNanosPerSecond) after.shown.push_back(t);
    EXPECT_NEAR(Rate(after), 60.0, 0.05);
}

TEST(PresentPacingTest, TheMedianPeriodDecides) {
    const int64_t frame = kNanosPerSecond / 60;
    const int64_t within[] = {frame + frame / 200, frame - frame / 200, 0};
    EXPECT_TRUE(IsSixtyHertzPeriod(within, 3));  // one outlier does not decide
    const int64_t fast[] = {frame * 98 / 100, frame * 98 / 100, frame};
    EXPECT_FALSE(IsSixtyHertzPeriod(fast, 3));
    EXPECT_FALSE(IsSixtyHertzPeriod(fast, 0));
}
}  // namespace
