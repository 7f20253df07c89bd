// The SDL2 window and OpenGL 3.3 core context behind TGraphics, with present pacing.
// Refuses SDL's headless video drivers unless SDL_VIDEODRIVER asks for one.
#include <SDL2/SDL.h>
#include <epoxy/gl.h>

#include <cctype>
#include <string>
#include <vector>

#include "platform/system/detail/present_pacing.hpp"
#include "platform/system/detail/sdl_system.hpp"
#include "platform/system/detail/wayland_seat.hpp"
#include "platform/system/detail/x11_frame.hpp"
#include "platform/system/input.hpp"
#include "platform/system/window_graphics.hpp"
#include "platform/system/window_ops.hpp"

namespace {
// Open windows, oldest first; the newest one feeds the pump. Windows may close in any order.
std::vector<TSystemDriver*> g_open_systems;

void Register(TSystemDriver* system) {
    g_open_systems.push_back(system);
    SetSystemDriver(system);
}

void Unregister(TSystemDriver* system) {
    std::erase(g_open_systems, system);
    if (CurrentSystemDriver() != system) return;
    SetSystemDriver(g_open_systems.empty() ? nullptr : g_open_systems.back());
}

class SdlGraphics : public TGraphics {
  public:
    SdlGraphics(SDL_Window* window, SDL_GLContext context, bool headless)
        : window_(window), context_(context), headless_(headless), system_(window, headless) {
        Register(&system_);
    }
    ~SdlGraphics() override {
        Unregister(&system_);
        SDL_SetRelativeMouseMode(SDL_FALSE);
        SDL_GL_DeleteContext(context_);
        SDL_DestroyWindow(window_);
    }
    void GetDrawableSize(int* w, int* h) const override { SDL_GL_GetDrawableSize(window_, w, h); }
    void Present(int sync, const std::function<void()>& draw_frame) override {
        SetInterval(sync && !headless_ ? 1 : 0);
        if (!sync || headless_) {
            Show(draw_frame);
            return;
        }
        const TPresentPacer::Plan plan = pacer_.Before(SteadyNanos(), Display());
        SleepUntilNanos(plan.sleep_until);
        int64_t ends[TPresentPacer::kProbePresents];
        for (int i = 0; i < plan.presents; ++i) {
            Show(draw_frame);
            ends[i] = SteadyNanos();
        }
        pacer_.After(ends, plan.presents);
    }
    bool Unseen() const override {
        const Uint32 unseen = SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN;
        return (SDL_GetWindowFlags(window_) & unseen) != 0;
    }

  private:
    // A software renderer would copy every frame of a minimised window to the display for
    // nothing; a swap that shows nothing is left out (the pacer's sleep still paces it).
    void Show(const std::function<void()>& draw_frame) {
        if (Unseen()) return;
        draw_frame();
        SDL_GL_SwapWindow(window_);
    }

    void SetInterval(int interval) {
        if (interval == interval_) return;
        interval_ = interval;
        interval_accepted_ = SDL_GL_SetSwapInterval(interval) == 0;
    }

    // What the pacing needs to know of the display the window is on.
    TDisplayState Display() const {
        TDisplayState display;
        display.interval_accepted = interval_accepted_;
        SDL_DisplayMode mode;
        if (SDL_GetWindowDisplayMode(window_, &mode) == 0) display.refresh_hz = mode.refresh_rate;
        display.minimised = Unseen();
        return display;
    }

    SDL_Window* window_;
    SDL_GLContext context_;
    bool headless_;
    SdlSystem system_;
    TPresentPacer pacer_;
    int interval_ = -1;
    bool interval_accepted_ = false;
};

bool SameName(const char* a, const char* b) {
    return a && b && SDL_strcasecmp(a, b) == 0;
}

// True when `list` (SDL_VIDEODRIVER, possibly comma-separated) names `driver`.
bool Names(const char* list, const char* driver) {
    if (!list || !driver) return false;
    std::string item;
    for (const char* p = list;; ++p) {
        if (*p == ',' || *p == '\0') {
            if (SameName(item.c_str(), driver)) return true;
            if (*p == '\0') return false;
            item.clear();
        } else if (!std::isspace(static_cast<unsigned char>(*p))) {
            item += *p;
        }
    }
}

// What a player can act on, without the window system's own words.
constexpr const char* kNoDisplay =
    "there is no display to open it on; start the game from a desktop session (X11 or "
    "Wayland), or check that DISPLAY or WAYLAND_DISPLAY names a running one";
constexpr const char* kNoOpenGL = "the graphics driver offers no OpenGL 3.3 core context";
constexpr const char* kOpenGLFix =
    "; install Mesa's drivers (the package libgl1-mesa-dri on Debian and Ubuntu) or update the "
    "graphics driver";

bool HeadlessDriver(const char* driver) {
    return SameName(driver, "offscreen") || SameName(driver, "dummy");
}

// Without a display SDL silently falls back to an invisible driver; a player would get a
// game nobody can see, spinning a core. Only an explicit request gets one.
bool RefuseHeadless(std::string* error) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!HeadlessDriver(driver) || Names(SDL_getenv("SDL_VIDEODRIVER"), driver)) return false;
    *error = kNoDisplay;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return true;
}

void AskForCoreContexts() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

// Starts SDL's video. libwayland prints its own complaint ("XDG_RUNTIME_DIR is invalid") when
// SDL tries a Wayland driver that has no compositor to reach; the game's message says it better.
bool InitVideoQuietly() {
    HoldWaylandLog(true);
    const bool started = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    HoldWaylandLog(false);
    return started;
}

// Starts the window system once; later windows reuse it. The OpenGL library is loaded with it
// and held until the window system shuts down, so the driver stack is not unloaded and
// reloaded as windows close and open, and its modules stay mapped until exit, where the leak
// checker can still name their allocations.
bool StartVideo(std::string* error) {
    // Ctrl-C and kill must still end the game: SDL would turn them into ignored quit events.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The click that gives the window the focus is the player's too; SDL's X11 back end would
    // drop a press that comes within a few milliseconds of the focus.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    const bool fresh = !SDL_WasInit(SDL_INIT_VIDEO);
    // SDL's Wayland driver crashes in SDL_Init on a compositor without an input seat.
    std::string wayland_note;
    if (fresh && !AvoidSeatlessWayland(&wayland_note)) {
        *error = wayland_note;
        return false;
    }
    if (fresh && !InitVideoQuietly()) {
        *error = kNoDisplay + wayland_note;
        return false;
    }
    if (RefuseHeadless(error)) return false;
    AskForCoreContexts();
    static bool held = false;
    if (fresh) held = false;
    // A failure here shows again, named, when the context is created.
    if (!held) held = SDL_GL_LoadLibrary(nullptr) == 0;
    return true;
}

// The client area's top-left when centred on the desktop: half the desktop less half the
// window, each halved with truncation.
SDL_Point CentredClient(int width, int height) {
    SDL_Rect desktop{0, 0, width, height};
    SDL_GetDisplayBounds(0, &desktop);
    return {desktop.x + desktop.w / 2 - width / 2, desktop.y + desktop.h / 2 - height / 2};
}

// A window manager frames the window once it is mapped, placing the frame, not the client,
// where the window was asked to be; once the frame is known the client goes where it belongs.
void KeepClientAt(SDL_Window* window, SDL_Point at) {
    AwaitFrameExtents(window, TFrameExtents{});
    int x, y;
    SDL_GetWindowPosition(window, &x, &y);
    if (x != at.x || y != at.y) SDL_SetWindowPosition(window, at.x, at.y);
}

SDL_Window* OpenWindow(int width, int height, std::string* error) {
    AskForCoreContexts();
    const SDL_Point at = CentredClient(width, height);
    SDL_Window* window =
        SDL_CreateWindow(AppTitle().c_str(), at.x, at.y, width, height,
                         SDL_WINDOW_OPENGL | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_SHOWN);
    if (window) {
        KeepClientAt(window, at);
    } else {
        *error = "the window system gives no window that OpenGL can draw in";
    }
    return window;
}

SDL_GLContext OpenContext(SDL_Window* window, std::string* error) {
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        *error = std::string(kNoOpenGL) + kOpenGLFix;
    } else if (epoxy_gl_version() < 33) {
        *error = std::string(kNoOpenGL) + " (only " + std::to_string(epoxy_gl_version() / 10) +
                 "." + std::to_string(epoxy_gl_version() % 10) + ")" + kOpenGLFix;
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    return context;
}
}  // namespace

std::unique_ptr<TGraphics> CreateWindowGraphics(int width, int height, int depth, int hertz,
                                                int flags, std::string* error) {
    std::string ignored;
    if (!error) error = &ignored;
    if (!StartVideo(error)) return nullptr;
    SDL_Window* window = OpenWindow(width, height, error);
    if (!window) return nullptr;
    SDL_GLContext context = OpenContext(window, error);
    if (!context) {
        SDL_DestroyWindow(window);
        return nullptr;
    }
    SDL_StopTextInput();  // no input method popping up over the game
    auto graphics =
        std::make_unique<SdlGraphics>(window, context, HeadlessDriver(SDL_GetCurrentVideoDriver()));
    graphics->SetMode(width, height, depth, hertz, flags);
    return graphics;
}

bool WindowSystemRunning() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

void OnGraphicsOpened() {
    EnablePolledInput();
}
