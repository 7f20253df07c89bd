// The millisecond clock. Tools and tests may fix its value so that runs repeat.
#pragma once

// Milliseconds of the system timer, 32-bit, wrapping; the fixed value when one is set.
int ClockMillis();
// Makes every later ClockMillis() return `ms`.
void FixClock(int ms);
// Returns ClockMillis() to the system timer.
void UnfixClock();
