// The main loop. There is no timer: Flip(1) paces it, and every motion is per frame.
#include "game/main_loop.hpp"

#include "game/game_state.hpp"
#include "game/play_frame.hpp"
#include "platform/draw/draw.hpp"
#include "platform/system/system.hpp"

namespace {
constexpr int kEscape = 27;
}

int RunMainLoop(const TLoopSteps& steps) {
    int passes = 0;
    for (;;) {
        if (steps.before_pass) steps.before_pass(passes);
        NextEvent();  // pumps the platform, so the hooks see every message
        if (!Game().pause_image) {
            steps.flip(1);
            steps.play_frame();
        } else if (steps.idle) {
            steps.idle();
        }
        if (steps.after_pass) steps.after_pass(passes);
        ++passes;
        if (TakeKeyHits(kEscape) != 0) break;
        if (steps.max_passes > 0 && passes >= steps.max_passes) break;
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
