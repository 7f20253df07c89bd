// The present-time log for frame-time measurement (ORBITRANTS_FRAMES=file): one steady-clock
// time per present, in microseconds, kept in memory and written when the game ends so the
// file never costs a frame its time. Depends only on the standard library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TFrameLog {
  public:
    // Reserves room for an hour of frames at 60 Hz, so recording never allocates mid-run.
    TFrameLog();
    // Records the steady clock now, as the time of a present that has just returned.
    void Mark();
    // The recorded times, microseconds on the steady clock.
    const std::vector<std::int64_t>& Times() const { return times_; }
    // Writes "present_us" then one time a line; false when the file cannot be written.
    bool Save(const std::string& path) const;

  private:
    std::vector<std::int64_t> times_;
};
