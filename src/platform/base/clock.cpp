// The millisecond clock on the steady system timer.
#include "platform/base/clock.hpp"

#include <chrono>
#include <cstdint>

namespace {
bool g_fixed = false;
int g_fixed_ms = 0;
}  // namespace

int ClockMillis() {
    if (g_fixed) return g_fixed_ms;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<int>(static_cast<uint32_t>(ms));  // wraps like a 32-bit timer
}

void FixClock(int ms) {
    g_fixed = true;
    g_fixed_ms = ms;
}

void UnfixClock() {
    g_fixed = false;
}
