// The per-pass trace of the game state that the replay tool writes (and the game too, when
// ORBITRANTS_TRACE names a file): one CSV row per pass, reals printed with %.9g. Checks read
// these columns by name and number format, so both stay as they are. Depends on the game and
// object state.
#pragma once

#include <cstdio>
#include <string>

// The state one row shows.
struct TTraceRow {
    int pass = 0;
    float ship_x = 0, ship_y = 0, ship_vx = 0, ship_vy = 0, ship_thrust = 0;
    int heading = 0;
    int carrying = 0;
    int deliveries = 0;
    int wave_size = 0;
    float wave_time = 0;
    int relocate_clock = 0;
    float the_hole_x = 0, the_hole_y = 0;
    int enemies = 0;
    int trails = 0;
    int paused = 0;
};

// The header line's columns, without the line end.
std::string trace_header();
// The current state as the row of `pass`.
TTraceRow trace_row(int pass);
// The row as CSV, without the line end.
std::string format_trace_row(const TTraceRow& row);

// Writes a trace to a file: the header at once, then one line per Write, each flushed so a
// reader may follow the file while the game runs.
class TTraceFile {
  public:
    TTraceFile() = default;
    TTraceFile(const TTraceFile&) = delete;
    TTraceFile& operator=(const TTraceFile&) = delete;
    ~TTraceFile() { Close(); }
    // Creates the file and writes the header; false when it cannot be written.
    bool Open(const std::string& path);
    // Appends the current state as the row of `pass`; false once a write has failed.
    bool Write(int pass);
    // Closes the file; false when any write or the close failed.
    bool Close();

  private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};
