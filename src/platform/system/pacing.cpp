// The present schedule and the steady clock it runs on.
#include "platform/system/detail/pacing.hpp"

#include <chrono>
#include <thread>

int64_t TFramePacer::TakeSlot(int64_t now) {
    const int64_t frame = kNanosPerSecond / kFrameRate;
    if (!started_ || now > SlotTime(next_) + frame) {
        started_ = true;
        start_ = now;
        next_ = 0;
    }
    const int64_t slot = SlotTime(next_++);
    return slot > now ? slot : now;
}

int64_t SteadyNanos() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
}

void SleepUntilNanos(int64_t when) {
    const auto target = std::chrono::steady_clock::time_point(std::chrono::nanoseconds(when));
    std::this_thread::sleep_until(target);
}
