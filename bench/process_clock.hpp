// Timing helpers of the start-up benchmarks: when this process started and the time now, both
// in milliseconds of CLOCK_BOOTTIME.
#pragma once

#include <unistd.h>

#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

// Milliseconds of CLOCK_BOOTTIME at which this process started (from /proc/self/stat).
inline double ProcessStartMs() {
    std::ifstream in("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field;  // field 22: start time in clock ticks since boot
    return std::stod(field) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Milliseconds of CLOCK_BOOTTIME now.
inline double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_BOOTTIME, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}
