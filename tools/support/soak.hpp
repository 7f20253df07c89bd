// The soak: the started game's main loop over seeded random input of every kind a window can
// deliver and some it cannot (huge moves, extra and unknown buttons, wheel steps of any size,
// unknown keys, storms of presses, pauses, Q floods, focus and pointer changes), with the game
// state checked after every pass.
// Depends on the replay engine and the soak checks.
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "support/replay_script.hpp"
#include "support/soak_check.hpp"

// Q presses stop while this many enemies are live, so a flood stays in the hundreds.
constexpr int kSoakEnemyCap = 300;

// Seeded random input, pass by pass.
class TSoakInput {
  public:
    explicit TSoakInput(uint32_t seed) : rng_(seed) {}
    // The actions for the next pass, given the live enemies and whether the game is paused.
    TReplayScript Next(int live_enemies, bool paused);

  private:
    uint32_t Below(uint32_t n) { return rng_() % n; }
    int AnyInt();
    void Move(TReplayScript& out);
    int Button();
    void ButtonStorm(TReplayScript& out);
    void Wheel(TReplayScript& out);
    void KeyStorm(TReplayScript& out);
    void Key(TReplayScript& out, TReplayKind kind, int key);
    void Flood(TReplayScript& out, int count);

    std::mt19937 rng_;
    int q_budget_ = 0;  // Q presses still allowed this pass
};

struct TSoakReport {
    int passes = 0;
    int loops = 0;    // main-loop runs (Escape ends one; the next starts)
    long events = 0;  // actions injected
    int paused_passes = 0;
    TObjectCounts peak;             // highest live counts seen after any pass
    long first_quarter_kib = 0;     // peak resident memory over the first quarter of the passes
    long last_quarter_kib = 0;      // and over the last quarter
    int first_quarter_enemies = 0;  // live enemies at each of those peaks
    int last_quarter_enemies = 0;
    std::string failure;  // empty when every check held
};

// Runs `passes` passes of the started game's main loop over random input from `seed`,
// restarting the loop whenever Escape ends it; stops at the first failed check.
TSoakReport RunSoak(int passes, uint32_t seed);
