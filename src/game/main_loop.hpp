// The main loop: poll events once, present and compute a frame unless paused, stop on
// Escape. The present and frame steps are passed in, so tests and tools can run it without
// a window. Depends on platform events and input, and the game state.
#pragma once

#include <functional>

struct TLoopSteps {
    std::function<void(int sync)> flip;         // presents the back buffer
    std::function<void()> play_frame;           // computes the next frame
    std::function<void(int pass)> before_pass;  // optional: runs before a pass polls
    std::function<void(int pass)> after_pass;   // optional: runs after a pass's frame
    std::function<void()> idle;                 // optional: runs in a paused pass
    int max_passes = 0;                         // 0: until Escape
};

// How long a paused pass waits for platform messages: a paused game sleeps, yet Escape or
// P still act at once (the wait ends when a message arrives).
constexpr int kPausedWaitMs = 5;

// Runs passes until Escape has been hit (or max_passes); returns the passes run.
int RunMainLoop(const TLoopSteps& steps);
// Runs pass `pass` (counted from 0) of the loop; false when it ends the loop. For loops that
// the platform drives, one pass per call (the browser's animation frames).
bool RunMainLoopPass(const TLoopSteps& steps, int pass);
// The game's own steps: Flip, play_frame, and a short wait for messages while paused.
TLoopSteps GameLoopSteps();
