// Frame pacing: presents on a clock schedule t0 + k/60 s, so the long-run rate is exactly 60
// whatever the display does (fast displays, refused swap intervals, minimised windows).
// Depends on nothing.
#pragma once

#include <cstdint>

constexpr int kFrameRate = 60;
constexpr int64_t kNanosPerSecond = 1000000000;

class TFramePacer {
  public:
    // The time (steady nanoseconds) at which the present asked for at `now` may happen, and
    // takes that slot. A present more than one frame late starts a new schedule at `now`, so
    // a stall is never followed by a burst.
    int64_t TakeSlot(int64_t now);
    // Forgets the schedule; the next present starts a new one.
    void Restart() { started_ = false; }

  private:
    int64_t SlotTime(int64_t k) const { return start_ + k * kNanosPerSecond / kFrameRate; }

    bool started_ = false;
    int64_t start_ = 0;
    int64_t next_ = 0;  // index of the next free slot
};

// Steady-clock nanoseconds.
int64_t SteadyNanos();
// Sleeps until the steady clock reaches `when`.
void SleepUntilNanos(int64_t when);
