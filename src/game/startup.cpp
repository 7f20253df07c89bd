// Start-up steps in the order the game depends on (generation consumes random numbers and
// draws progress screens; the window must exist before its caption goes), and the run.
#include "game/startup.hpp"

#include <malloc.h>

#include <cstdio>
#include <cstdlib>

#include "game/event_hook.hpp"
#include "game/frame_log.hpp"
#include "game/game_state.hpp"
#include "game/game_trace.hpp"
#include "game/main_loop.hpp"
#include "game/play_frame.hpp"
#include "game/window_title.hpp"
#include "generate/content.hpp"
#include "generate/pipeline.hpp"
#include "objects/object_state.hpp"
#include "platform/base/base.hpp"
#include "platform/draw/draw.hpp"
#include "platform/system/system.hpp"

namespace {
// Blocks from this size on (screen copies, texture uploads) get pages of their own. Left to
// itself glibc raises this threshold after the first such block is freed and then carves
// them from the heap, which a long run of pauses fragments: resident memory kept growing.
constexpr int kOwnPagesFrom = 1 << 20;
// Fixing that threshold also fixes the heap's trim threshold at 128 KiB, and software
// rendering frees tens of MiB at the heap's top every frame: each frame would fault them all
// back in (5 million page faults over the frame benchmark). Keep what glibc would have kept.
constexpr int kKeepHeapTop = 64 << 20;
constexpr int kBackBuffered = 2;

// Steps 2-5: driver, title, window, caption.
bool OpenGameWindow(TGameState& g) {
    SelectGraphicsDriver(CreateGLDriver(), kBackBuffered);
    g.app_title = "Orbitrants";
    SetAppTitle(g.app_title);
    g.half_w = FloatToInt(g.screen_w * 0.5);
    g.half_h = FloatToInt(g.screen_h * 0.5);
    if (!OpenGraphics(g.screen_w, g.screen_h, 0, 60, 0)) {
        ShowFatalMessage(g.app_title, "cannot open the game window: " + LastGraphicsError());
        return false;
    }
    g.window_handle = ActiveWindow();
    strip_caption();
    set_window_title(g.window_handle);
    return true;
}

// Steps 10 and 11: the hole and the ship in their places.
void PlaceShipAndHole(TGameState& g) {
    g.goal_y = static_cast<float>(g.half_h);
    g.the_hole_y = static_cast<float>(g.half_h);
    g.the_hole = hole::Create(FloatToInt(g.the_hole_x), FloatToInt(g.the_hole_y));
    g.ship_x = static_cast<float>(g.half_w);
    g.ship_y = static_cast<float>(g.half_h);
    g.last_mouse_x = static_cast<float>(PointerX());
}
}  // namespace

bool StartUpThroughGeneration(const std::function<void()>& after_progress_flip) {
    TGameState& g = Game();
    mallopt(M_MMAP_THRESHOLD, kOwnPagesFrom);
    mallopt(M_TRIM_THRESHOLD, kKeepHeapTop);
    // Step 1: the object lists, empty, and the trail tuning at its defaults.
    ResetObjects();
    if (!OpenGameWindow(g)) return false;
    // Steps 6-8: drawing defaults, vignette, generation. Nothing before them draws a random
    // number, so the vignette is the same on every run.
    generate_startup_content(Generated(), g.screen_w, g.screen_h, kGenerationThreads,
                             after_progress_flip);
    return true;
}

void StartPlay() {
    TGameState& g = Game();
    // Step 9: `trails` is part of the object state, empty until the first particle.
    PlaceShipAndHole(g);
    // Step 12: the first enemy (it reseeds the random generator from the clock).
    enemy::Create(0, 0, 0, 0, 170, 210, 255, 0);
    HidePointer();  // step 13
}

bool StartUp(const std::function<void()>& after_progress_flip) {
    if (!StartUpThroughGeneration(after_progress_flip)) return false;
    StartPlay();
    // Step 14, after the polled-input entry of the same priority: the hook sees the state
    // already updated for the event.
    AddHook(EventEmitHook(), event_hook, nullptr, 0);
    return true;
}

void TraceInto(TTraceFile& trace, TLoopSteps& steps) {
    const char* path = std::getenv("ORBITRANTS_TRACE");
    if (!path || !*path) return;
    if (trace.Open(path)) {
        steps.after_pass = [&trace](int pass) { trace.Write(pass); };
    } else {
        std::fprintf(stderr, "orbitrants: cannot write the trace %s\n", path);
    }
}

namespace {
// A measuring aid (bench/frametime_xvfb.sh): the time each present returned; the path, or
// null when not asked for.
const char* LogPresentsInto(TFrameLog& frames, TLoopSteps& steps) {
    const char* path = std::getenv("ORBITRANTS_FRAMES");
    if (!path || !*path) return nullptr;
    steps.flip = [&frames](int sync) {
        Flip(sync);
        frames.Mark();
    };
    return path;
}
}  // namespace

void ShutDown() {
    // Every texture is deleted by its owner while the context that made it is current.
    ResetObjects();
    ResetGame();
    ResetGenerated();
    CloseGraphics();
}

int RunGame() {
    static bool ran = false;
    if (ran) return 0;
    ran = true;
    if (!StartUp()) return 1;
    TLoopSteps steps = GameLoopSteps();
    TTraceFile trace;
    TraceInto(trace, steps);
    TFrameLog frames;
    const char* frames_path = LogPresentsInto(frames, steps);
    RunMainLoop(steps);
    if (frames_path && !frames.Save(frames_path)) {
        std::fprintf(stderr, "orbitrants: cannot write the frame times %s\n", frames_path);
    }
    return 0;
}
