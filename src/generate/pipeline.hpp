// Start-up's hand-over to content generation on an open graphics context: the drawing
// defaults, the vignette, then the generation phase with its progress frames.
// Depends on the phase (phase.hpp) and the 2D drawing front end.
#pragma once

#include <functional>

#include "generate/content.hpp"

// Threads the game generates with: two, and the bytes are those of one; one in the browser,
// which is built without threads so that any static host can serve it.
#if defined(__EMSCRIPTEN__)
constexpr int kGenerationThreads = 1;
#else
constexpr int kGenerationThreads = 2;
#endif

// Start-up steps 7 and 8, after the drawing defaults: creates `vignette` with frame 0 locked
// as `vignette_pix` and runs the generation phase, presenting each progress frame with
// Flip(0). `after_flip`, when given, runs right after every Flip(0) of the phase (tests
// capture the frames there).
void generate_content(Content& content, int screen_w, int screen_h,
                      int threads = kGenerationThreads,
                      const std::function<void()>& after_flip = {});
// Start-up steps 6 to 8: the drawing defaults (auto mid-handle, BLEND_ALPHA, clear colour
// (52, 84, 145), Cls), then generate_content.
void generate_startup_content(Content& content, int screen_w, int screen_h,
                              int threads = kGenerationThreads,
                              const std::function<void()>& after_flip = {});
