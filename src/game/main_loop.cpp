// The main loop. There is no timer: Flip(1) paces it, and every motion is per frame.
#include "game/main_loop.hpp"

#include "game/game_state.hpp"
#include "game/play_frame.hpp"
#include "platform/draw/draw.hpp"
#include "platform/system/system.hpp"

namespace {
constexpr int kEscape = 27;
}

bool RunMainLoopPass(const TLoopSteps& steps, int pass) {
    if (steps.before_pass) steps.before_pass(pass);
    NextEvent();  // pumps the platform, so the hooks see every message
    if (!Game().pause_image) {
        steps.flip(1);
        steps.play_frame();
    } else if (steps.idle) {
        steps.idle();
    }
    if (steps.after_pass) steps.after_pass(pass);
    if (TakeKeyHits(kEscape) != 0) return false;
    return steps.max_passes <= 0 || pass + 1 < steps.max_passes;
}

int RunMainLoop(const TLoopSteps& steps) {
    int passes = 0;
    while (RunMainLoopPass(steps, passes++)) {
    }
    return passes;
}

TLoopSteps GameLoopSteps() {
    TLoopSteps steps;
    steps.flip = Flip;
    steps.play_frame = play_frame;
    steps.idle = [] { WaitForMessages(kPausedWaitMs); };
    return steps;
}
