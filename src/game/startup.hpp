// Start-up in its fixed order and the process's run of the game. Depends on the platform
// (graphics, window operations, events, pointer), the game state, hook and loop.
#pragma once

#include <functional>

class TTraceFile;
struct TLoopSteps;

// Runs start-up through content generation: window, caption, drawing defaults, vignette and
// every generated image; false, after telling the player why, when the window cannot open.
// `after_progress_flip`, when given, runs right after each progress frame is presented (the
// browser yields to the page there, so that the frame shows).
bool StartUpThroughGeneration(const std::function<void()>& after_progress_flip = {});
// Steps 9 to 13 on the generated content: the hole, the ship, the first enemy, the pointer
// hidden. Tests restart play with it.
void StartPlay();
// Runs start-up up to the main loop; false, after telling the player why, when the game
// window cannot be opened. `after_progress_flip` as for StartUpThroughGeneration.
bool StartUp(const std::function<void()>& after_progress_flip = {});
// A debugging aid, used by the end-to-end checks: where ORBITRANTS_TRACE names a file, opens
// `trace` on it and has `steps` write the replay tool's trace of the real run there.
void TraceInto(TTraceFile& trace, TLoopSteps& steps);
// Releases the game's objects, state and generated images while their textures' context is
// alive, then closes graphics. For runs that end without the process exiting at once.
void ShutDown();
// Start-up, then the main loop until Escape. Runs once; a second call returns 0 at once.
// Returns the process exit status.
int RunGame();
