// The generation phase: every generator in the game's order, with the two clock seedings,
// and the hooks where the progress screen draws. Depends on the generators only; the drawn
// progress screen lives in pipeline.hpp.
#pragma once

#include "generate/content.hpp"

// What the phase shows while it works. The base draws nothing (the CPU-only run).
class ProgressScreen {
  public:
    virtual ~ProgressScreen() = default;
    // The darkened clear colour with text 1 (after the vignette and the first seeding).
    virtual void FirstFrame(Content&) {}
    // Tinted maze and lattice over the clear colour, presented and grabbed into `backdrop`.
    virtual void Composite(Content&) {}
    // The composite under the darkening vignette, with text 2.
    virtual void BackdropFrame(Content&) {}
    // Progress text n (3 to 7) over what the back buffer shows.
    virtual void Text(int) {}
};

// Runs the phase on a `vignette` already created and locked (create_vignette): steps 1 to 17.
void run_generation_phase(Content& content, int screen_w, int screen_h, ProgressScreen& screen,
                          int threads);
// The whole phase without drawing: turns automatic mid-handling on, creates the vignette,
// then runs every generator in order. The backdrop keeps the white lattice, as there is no
// composite to grab.
void generate_content_cpu(Content& content, int screen_w, int screen_h, int threads = 1);
