// How sync presents are paced: by the display's retrace alone where the swap interval is
// honoured and the display runs within 1 % of 60 Hz, by the 60 Hz clock schedule everywhere
// else (faster displays, refused or ignored intervals, minimised windows). A pure decision
// over the times the caller reports, so a fake clock and fake swaps can drive it.
// Depends on pacing.hpp.
#pragma once

#include <array>
#include <cstdint>

#include "platform/system/detail/pacing.hpp"

// What the window reports about its display before a present.
struct TDisplayState {
    bool interval_accepted = false;  // the swap interval 1 was accepted
    int refresh_hz = 0;              // the display's refresh rate; 0 when unknown
    bool minimised = false;          // minimised or hidden: swaps stop blocking
};

enum class PaceMode { kSchedule, kRetrace };

class TPresentPacer {
  public:
    // Presents back to back that measure the retrace; the first only starts the clock.
    static constexpr int kProbePresents = 4;
    // Recent intervals watched while the retrace paces.
    static constexpr int kWatched = 8;

    // What a sync present asked for at `now` must do: sleep until `sleep_until` (no sleep when
    // it is not after now), then present `presents` times in a row (more than once only while
    // the retrace is measured; the repeats show the same frame).
    struct Plan {
        int64_t sleep_until = 0;
        int presents = 1;
    };
    Plan Before(int64_t now, const TDisplayState& display);
    // Reports when each present of the last plan returned, in order.
    void After(const int64_t* ends, int count);
    PaceMode Mode() const { return mode_; }

  private:
    bool Eligible(const TDisplayState& display) const;
    void Judge(const int64_t* ends, int count);
    void Watch(int64_t end);
    void UseSchedule();

    PaceMode mode_ = PaceMode::kSchedule;
    bool judged_ = false;   // the retrace was measured since the display last changed
    bool probing_ = false;  // the last plan measures the retrace
    TFramePacer schedule_;
    int64_t last_end_ = 0;
    std::array<int64_t, kWatched> watched_{};
    int watched_count_ = 0;
};

// Passes of a loop that the display's animation frames call (the browser's
// requestAnimationFrame), which cannot wait: it decides at each frame whether a pass is due.
// Where the frames come within 1 % of 60 Hz every frame is a pass; elsewhere (120 or 144 Hz,
// or before the rate is known) a pass is due once per slot of the 60 Hz schedule, so there are
// 60 a second. A frame more than one slot late starts the schedule again: a stall is not
// followed by passes that catch up.
class TAnimationPacer {
  public:
    // How early before its slot a frame still takes the pass: display frames jitter.
    static constexpr int64_t kEarly = kNanosPerSecond / 250;
    // Frames whose mean interval tells the display's rate: enough that a few milliseconds of
    // jitter at either end move it by well under 1 %.
    static constexpr int kWatched = 64;

    // Whether the frame that began at `now` (steady nanoseconds) runs a pass.
    bool Due(int64_t now);
    PaceMode Mode() const { return mode_; }

  private:
    bool SixtyHertz() const;
    bool OnSchedule(int64_t now);

    PaceMode mode_ = PaceMode::kSchedule;
    std::array<int64_t, kWatched + 1> frames_{};  // the last frame times, a ring
    int frame_count_ = 0;
    int64_t next_slot_ = 0;
    bool scheduled_ = false;  // next_slot_ holds a slot
};

// True when the median of `intervals` (nanoseconds) lies within 1 % of one 60 Hz frame.
bool IsSixtyHertzPeriod(const int64_t* intervals, int count);
