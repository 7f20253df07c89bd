// The present-time log: steady-clock microseconds per present, saved as one column of text.
#include "game/frame_log.hpp"

#include <chrono>
#include <cstdio>

namespace {
constexpr std::size_t kHourOfFrames = 60 * 60 * 60;
}

TFrameLog::TFrameLog() {
    times_.reserve(kHourOfFrames);
}

void TFrameLog::Mark() {
    using namespace std::chrono;
    times_.push_back(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

bool TFrameLog::Save(const std::string& path) const {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) return false;
    bool ok = std::fprintf(file, "present_us\n") >= 0;
    for (std::int64_t t : times_)
        ok = ok && std::fprintf(file, "%lld\n", static_cast<long long>(t)) >= 0;
    return std::fclose(file) == 0 && ok;
}
