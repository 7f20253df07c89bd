// The 60 Hz present schedule: an exact long-run rate, no present ahead of its slot,
// catching up after a small slip, and no burst after a stall.
#include <gtest/gtest.h>

#include "platform/system/detail/pacing.hpp"

namespace {
constexpr int64_t kMs = 1000000;
constexpr int64_t kStart = 123456789;

TEST(PacingTest, PresentingOnTimeGivesExactlySixtyPerSecond) {
    TFramePacer pacer;
    int64_t now = kStart;
    for (int k = 0; k < 600; ++k)
        now = pacer.TakeSlot(now);
    EXPECT_EQ(now, kStart + 599 * kNanosPerSecond / 60);
    EXPECT_EQ(pacer.TakeSlot(now), kStart + 10 * kNanosPerSecond);  // slot 600: 10 s later
}

TEST(PacingTest, AFastCallerIsHeldToTheSchedule) {
    // A 1000 Hz display or a refused swap interval: the caller comes back after 1 ms.
    TFramePacer pacer;
    int64_t now = kStart;
    int64_t previous = 0;
    for (int k = 0; k < 120; ++k) {
        const int64_t slot = pacer.TakeSlot(now);
        EXPECT_EQ(slot, kStart + k * kNanosPerSecond / 60) << k;
        if (k > 0) {
            EXPECT_GE(slot - previous, kNanosPerSecond / 60) << k;
        }
        previous = slot;
        now = slot + kMs;
    }
}

TEST(PacingTest, ASmallSlipIsMadeUpSoTheRateStaysSixty) {
    TFramePacer pacer;
    int64_t now = pacer.TakeSlot(kStart);
    now = pacer.TakeSlot(now + 16 * kMs + 10 * kMs);  // slot 1 ten milliseconds late
    EXPECT_EQ(now, kStart + 26 * kMs);
    EXPECT_EQ(pacer.TakeSlot(now), kStart + 2 * kNanosPerSecond / 60);  // slot 2 on schedule
}

TEST(PacingTest, AStallStartsANewScheduleInsteadOfABurst) {
    TFramePacer pacer;
    pacer.TakeSlot(kStart);
    const int64_t after_stall = kStart + 500 * kMs;
    EXPECT_EQ(pacer.TakeSlot(after_stall), after_stall);
    EXPECT_EQ(pacer.TakeSlot(after_stall), after_stall + kNanosPerSecond / 60);
    pacer.Restart();
    EXPECT_EQ(pacer.TakeSlot(after_stall + kMs), after_stall + kMs);
}
}  // namespace
