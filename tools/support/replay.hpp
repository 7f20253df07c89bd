// The replay engine: the game's own main loop on the started game, with a script's events
// delivered through the platform pump before each pass polls. Shared by orbitrants-replay and
// the tests that run scripts in-process. Depends on the game and the platform's events.
#pragma once

#include <functional>

#include "support/replay_script.hpp"

// Turns script actions into platform events, as the window would translate them.
class TReplayInput {
  public:
    explicit TReplayInput(TReplayScript script);
    // Injects every action of `pass` and pumps them through the hooks.
    void Deliver(int pass);
    // Injects `actions` in order, whatever passes they name, and pumps them through the hooks.
    void DeliverNow(const TReplayScript& actions);

  private:
    void Inject(int id, int data) const;
    void Apply(const TReplayAction& action);

    TReplayScript script_;
    size_t next_ = 0;
    bool inside_ = true;  // the pointer starts over the window
    int x_ = 0, y_ = 0;   // the pointer as the window last reported it
};

// Runs up to `passes` passes of the main loop (fewer when Escape ends it), presenting without
// waiting and never idling while paused; `after_pass` runs after each pass's play frame.
// Returns the passes run. The game must have been started (StartUp).
int RunReplay(const TReplayScript& script, int passes,
              const std::function<void(int pass)>& after_pass);
