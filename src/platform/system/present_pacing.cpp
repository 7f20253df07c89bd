// The choice between retrace pacing and the 60 Hz schedule, and the measurement behind it, for
// presents that wait and for animation frames that cannot.
#include "platform/system/detail/present_pacing.hpp"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int64_t kFrame = kNanosPerSecond / kFrameRate;

int64_t Median(const int64_t* values, int count) {
    std::array<int64_t, TPresentPacer::kWatched> sorted{};
    const size_t n = std::min<size_t>(static_cast<size_t>(count), sorted.size());
    for (size_t i = 0; i < n; ++i)
        sorted[i] = values[i];
    std::sort(sorted.data(), sorted.data() + n);
    return sorted[n / 2];
}
}  // namespace

bool IsSixtyHertzPeriod(const int64_t* intervals, int count) {
    if (count <= 0) return false;
    const int64_t median = Median(intervals, count);
    return std::llabs(median - kFrame) * 100 <= kFrame;
}

bool TPresentPacer::Eligible(const TDisplayState& display) const {
    // A rate the system rounds to a whole number: 59 and 61 are already 1.7 % away.
    const bool near_sixty = display.refresh_hz == 0 || display.refresh_hz == kFrameRate;
    return display.interval_accepted && !display.minimised && near_sixty;
}

TPresentPacer::Plan TPresentPacer::Before(int64_t now, const TDisplayState& display) {
    probing_ = false;
    if (!Eligible(display)) {
        judged_ = false;  // measure again once the display is back
        if (mode_ == PaceMode::kRetrace) UseSchedule();
    } else if (!judged_) {
        probing_ = true;
        return {now, kProbePresents};
    }
    if (mode_ == PaceMode::kRetrace) return {now, 1};
    return {schedule_.TakeSlot(now), 1};
}

void TPresentPacer::After(const int64_t* ends, int count) {
    if (probing_) {
        Judge(ends, count);
    } else if (mode_ == PaceMode::kRetrace && count > 0) {
        Watch(ends[count - 1]);
    }
}

// Back-to-back presents that each wait about one 60 Hz frame: the retrace paces them.
void TPresentPacer::Judge(const int64_t* ends, int count) {
    judged_ = true;
    std::array<int64_t, kProbePresents> intervals{};
    int n = 0;
    for (int i = 1; i < count && n < kProbePresents; ++i)
        intervals[n++] = ends[i] - ends[i - 1];
    if (!IsSixtyHertzPeriod(intervals.data(), n)) {
        UseSchedule();
        return;
    }
    mode_ = PaceMode::kRetrace;
    last_end_ = ends[count - 1];
    watched_count_ = 0;
}

// Presents that stop waiting for the retrace (a compositor that no longer blocks, a display
// that became faster) hand the pacing back to the schedule.
void TPresentPacer::Watch(int64_t end) {
    watched_[watched_count_ % kWatched] = end - last_end_;
    last_end_ = end;
    if (++watched_count_ < kWatched) return;
    if (Median(watched_.data(), kWatched) * 10 < kFrame * 9) UseSchedule();
}

void TPresentPacer::UseSchedule() {
    mode_ = PaceMode::kSchedule;
    schedule_.Restart();
}

bool TAnimationPacer::Due(int64_t now) {
    frames_[frame_count_ % frames_.size()] = now;
    ++frame_count_;
    const bool sixty = SixtyHertz();
    mode_ = sixty ? PaceMode::kRetrace : PaceMode::kSchedule;
    if (sixty) {
        scheduled_ = false;  // the schedule starts afresh if the rate changes
        return true;
    }
    return OnSchedule(now);
}

// The mean frame interval over the watched frames within 1 % of 60 Hz, and no frame among
// them late by a whole frame (a stall would pull the mean up from a faster display's).
bool TAnimationPacer::SixtyHertz() const {
    const int n = static_cast<int>(frames_.size());
    if (frame_count_ < n) return false;
    const int newest = (frame_count_ - 1) % n, oldest = frame_count_ % n;
    for (int i = 1; i < n; ++i) {
        const int64_t gap = frames_[(oldest + i) % n] - frames_[(oldest + i - 1) % n];
        if (gap > 2 * kFrame) return false;
    }
    const int64_t span = frames_[newest] - frames_[oldest];
    return std::llabs(span - int64_t{kWatched} * kFrame) * 100 <= int64_t{kWatched} * kFrame;
}

bool TAnimationPacer::OnSchedule(int64_t now) {
    if (!scheduled_ || now - next_slot_ > kFrame) {
        scheduled_ = true;
        next_slot_ = now;
    }
    if (now < next_slot_ - kEarly) return false;
    next_slot_ += kFrame;
    return true;
}
