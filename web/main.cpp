// The game's entry in the browser. Start-up runs as on the desktop, yielding to the page after
// each progress frame so that it shows (ASYNCIFY: the browser build cannot block, and the
// generation code stays one straight path); then the page's animation frames run the main
// loop, one pass each time the pacer finds one due. Browser build only.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "game/game_trace.hpp"
#include "game/main_loop.hpp"
#include "game/startup.hpp"
#include "platform/base/base.hpp"
#include "platform/system/detail/present_pacing.hpp"
#include "platform/system/system.hpp"

namespace {
TLoopSteps g_steps;
int g_pass = 0;
TAnimationPacer g_pacer;
bool g_context_lost = false;
TTraceFile g_trace;

// The run is over: the pointer and the keys go back to the page (the canvas's listeners go
// with the graphics), which offers another run.
void EndRun() {
    ShowPointer();
    emscripten_exit_pointerlock();
    ShutDown();
    EM_ASM({
        if (Module.orbEnded) Module.orbEnded();
    });
}

EM_BOOL OnAnimationFrame(double now_ms, void*) {
    if (g_context_lost) return EM_FALSE;  // the page says what happened
    if (!g_pacer.Due(static_cast<int64_t>(now_ms * 1e6))) return EM_TRUE;
    const int pass = g_pass++;
    const bool go_on = RunMainLoopPass(g_steps, pass);
    // Passes run so far, for tests and figures; the first play frame is the page's to time.
    EM_ASM(
        {
            Module.orbPasses = $0;
            if ($0 == 1 && Module.orbPlaying) Module.orbPlaying();
        },
        pass + 1);
    if (go_on) return EM_TRUE;
    EndRun();
    return EM_FALSE;
}

EM_BOOL OnContextLost(int, const void*, void*) {
    g_context_lost = true;
    return EM_FALSE;
}

// Called right after a progress frame is presented: the page sees it (tests read it there,
// while the canvas still holds it), then the browser gets to show it.
void ShowProgressFrame() {
    EM_ASM({
        if (Module.orbProgress) Module.orbProgress();
    });
    emscripten_sleep(0);
}

// `--clock MS` (the page passes ?clock=MS) fixes the clock, as the tools' option does, so that
// a run repeats.
void ReadArguments(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--clock") == 0) FixClock(std::atoi(argv[i + 1]));
    }
}
}  // namespace

int main(int argc, char** argv) {
    ReadArguments(argc, argv);
    if (!StartUp(ShowProgressFrame)) return 1;
    emscripten_set_webglcontextlost_callback("#canvas", nullptr, EM_FALSE, OnContextLost);
    g_steps = GameLoopSteps();
    TraceInto(g_trace, g_steps);  // the page sets ORBITRANTS_TRACE only for ?trace
    emscripten_request_animation_frame_loop(OnAnimationFrame, nullptr);
    return 0;
}
