// The millisecond clock: fixed values for repeatable runs, and a running clock that
// advances in milliseconds.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/base/clock.hpp"

namespace {
TEST(ClockTest, AFixedClockReturnsItsValueUntilReleased) {
    FixClock(-5);
    EXPECT_EQ(ClockMillis(), -5);
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    EXPECT_EQ(ClockMillis(), -5);
    UnfixClock();
    const int start = ClockMillis();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const int elapsed = ClockMillis() - start;
    EXPECT_GE(elapsed, 5);
    EXPECT_LT(elapsed, 5000);
}
}  // namespace
